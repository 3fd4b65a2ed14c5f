// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/rtffiller.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"

#include "filebytes.h"
#include "sanitizers.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

using namespace velmora;

namespace {

using Tags = QList<QPair<QString, QString>>;

} // namespace

class TestRtfFiller : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // The template's bytes filled with the tags, one copy of the body.
    QByteArray fill(const QByteArray &templ, const Tags &tags, int copies = 1) {
        putBytes(path(QStringLiteral("t.rtf")), templ);
        RtfFiller filler;
        filler.setSource(path(QStringLiteral("t.rtf")));
        filler.setDestination(path(QStringLiteral("out.rtf")));
        if (!filler.startRtf())
            return "<start failed>";
        for (const auto &[tag, value] : tags)
            filler.addTag(tag, value);
        filler.writeBody(copies);
        filler.endRtf();
        return bytesOf(path(QStringLiteral("out.rtf")));
    }

    // One line of the template, its body, filled: what the filler wrote for it.
    QByteArray fillLine(const QByteArray &line, const Tags &tags) {
        const QByteArray out = fill("{\\rtf1\r\n\\pard\r\n" + line + "\r\n}\r\n", tags);
        const QByteArray head = "{\\rtf1\r\n\\pard\r\n";
        if (!out.startsWith(head) || !out.endsWith("\r\n}\r\n"))
            return "<not a printout: " + out.left(100) + ">";
        return out.mid(head.size(), out.size() - head.size() - 5);
    }

    // Many placeholders on one long line, as a big template has them: count copies of
    // "[SOF1]" on one line, each followed by filler text of the given length, filled with
    // value, which is written as written.
    void checkLongLine(qsizetype count, qsizetype filler, const QString &value,
                       const QByteArray &written) {
        const QByteArray gap(filler, 'x');
        QByteArray line;
        line.reserve(count * (6 + filler));
        for (qsizetype i = 0; i < count; ++i)
            line += "[SOF1]" + gap;
        const QByteArray body = fillLine(line, {{QStringLiteral("[SOF1]"), value}});
        QCOMPARE(body.size(), count * (written.size() + filler));
        QCOMPARE(body.count(written + gap), count);
    }

    // The limit on the address space of a child that fills the big templates: enough for
    // every copy a fill in proportion to the template makes, far less than a fill whose
    // memory grows with the square of a line's placeholders needs.
    static constexpr rlim_t kHeadroom = 512u << 20;

    static rlim_t addressSpaceNow() {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return 0;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmSize:"))
                return rlim_t(line.mid(7).trimmed().split(' ').first().toULongLong()) << 10;
        }
        return 0;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // What a value holds is shown as it is: the characters RTF uses for its own structure
    // are escaped, the code page's letters stay the bytes they were, and line breaks and
    // tabs become RTF's own.
    void valuesAreEscaped_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("opening brace") << "a{b" << QByteArray("a\\{b");
        QTest::newRow("closing brace") << "a}b" << QByteArray("a\\}b");
        QTest::newRow("backslash") << "C:\\x\\" << QByteArray("C:\\\\x\\\\");
        QTest::newRow("a control word typed as text")
            << "\\par}{\\b x" << QByteArray("\\\\par\\}\\{\\\\b x");
        QTest::newRow("Romanian letters as bytes")
            << "\u015Ftefan \u0162\u0103\u00EE\u00E2 \u0219\u021B"
            << QByteArray("\xBAtefan \xDE\xE3\xEE\xE2 \xBA\xFE");
        QTest::newRow("tab") << "a\tb" << QByteArray("a\\tab b");
        QTest::newRow("line breaks") << "a\nb\r\nc\rd" << QByteArray("a\\line b\\line c\\line d");
        QTest::newRow("other control characters") << QStringLiteral("a\x01"
                                                                    "b\x1F"
                                                                    "c\x7F")
                                                  << QByteArray("a b c ");
        QTest::newRow("empty: ten dots") << "" << QByteArray("..........");
    }

    void valuesAreEscaped() {
        QFETCH(QString, value);
        QFETCH(QByteArray, written);
        QCOMPARE(fillLine("<[V]>", {{QStringLiteral("[V]"), value}}), "<" + written + ">");
    }

    void escapedAfterTheCaseChange() {
        QCOMPARE(
            fillLine("[SOF1] [sof1]", {{QStringLiteral("[SOF1]"), QStringLiteral("a\tb{\\c}")}}),
            QByteArray("A\\tab B\\{\\\\C\\} a\\tab b\\{\\\\c\\}"));
    }

    // One placeholder many times on one line: each occurrence replaced, in one pass.
    void manyPlaceholdersOnOneLine() {
        checkLongLine(2000, 3, QStringLiteral("a{b}"), QByteArray("A\\{B\\}"));
    }

    // The templates that took all memory: 20,000 placeholders on one line of 120 KB, and a
    // template of 5 MB. Filled in a child process whose address space is limited to what
    // it uses at the start plus kHeadroom; under AddressSanitizer, whose shadow memory no
    // such limit allows, the heap the fill holds at once stays under kHeadroom instead.
    void memoryGrowsWithTheTemplate() {
#ifdef VELMORA_ASAN
        const HeapPeak peak;
        checkLongLine(20000, 0, QStringLiteral("b12abc"), QByteArray("B12ABC"));
        checkLongLine(100000, 46, QStringLiteral("b12abc"), QByteArray("B12ABC"));
        QVERIFY2(peak.bytes() > 5'000'000, QByteArray::number(peak.bytes()).constData());
        QVERIFY2(peak.bytes() < static_cast<long long>(kHeadroom),
                 QByteArray::number(peak.bytes()).constData());
        return;
#endif
        if (qEnvironmentVariableIsSet("VELMORA_LIMITED_CHILD")) {
            const rlim_t now = addressSpaceNow();
            QVERIFY(now > 0);
            const rlimit limit{now + kHeadroom, now + kHeadroom};
            QCOMPARE(setrlimit(RLIMIT_AS, &limit), 0);
            checkLongLine(20000, 0, QStringLiteral("b12abc"), QByteArray("B12ABC"));
            checkLongLine(100000, 46, QStringLiteral("b12abc"), QByteArray("B12ABC"));
            return;
        }
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELMORA_LIMITED_CHILD"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("memoryGrowsWithTheTemplate")});
        QVERIFY(child.waitForFinished(100000));
        const QByteArray said = child.readAll();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 said.right(2000).constData());
        QVERIFY2(said.contains("PASS   : TestRtfFiller::memoryGrowsWithTheTemplate()"),
                 said.right(2000).constData());
    }

    void replaceLine_data() {
        QTest::addColumn<Tags>("tags");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        const Tags driver{{QStringLiteral("[SOF1]"), QStringLiteral("Ion Pop")}};
        QTest::newRow("capitals give capitals") << driver << "Sofer: [SOF1]."
                                                << "Sofer: ION POP.";
        QTest::newRow("small letters give small letters") << driver << "[sof1]"
                                                          << "ion pop";
        QTest::newRow("mixed case leaves the value") << driver << "[Sof1]"
                                                     << "Ion Pop";
        QTest::newRow("short tag leaves the value")
            << Tags{{QStringLiteral("[C]"), QStringLiteral("Abc")}} << "[c] [C]"
            << "Abc Abc";
        QTest::newRow("no letters: small letters")
            << Tags{{QStringLiteral("[12]"), QStringLiteral("AbC")}} << "[12]"
            << "abc";
        QTest::newRow("closing bracket belongs to the tag")
            << Tags{{QStringLiteral("[C]"), QStringLiteral("7.5")},
                    {QStringLiteral("[P1]"), QStringLiteral("X")}}
            << "[C1] [C] [P10] [P1]"
            << "[C1] 7.5 [P10] X";
        QTest::newRow("empty value: ten dots")
            << Tags{{QStringLiteral("[SOF2]"), QString()}} << "2: [SOF2]!"
            << "2: ..........!";
        QTest::newRow("unknown placeholder stays") << driver << "[NRMAS] [SOF1] [SOF"
                                                   << "[NRMAS] ION POP [SOF";
        QTest::newRow("tag not in the line") << driver << "nimic"
                                             << "nimic";
        QTest::newRow("every occurrence")
            << Tags{{QStringLiteral("[NRMAS]"), QStringLiteral("b12abc")}}
            << "[NRMAS]-[nrmas]-[NRMAS]"
            << "B12ABC-b12abc-B12ABC";
        QTest::newRow("broken by formatting stays")
            << Tags{{QStringLiteral("[NRMAS]"), QStringLiteral("B1")}} << "[NR{\\b MAS]}"
            << "[NR{\\b MAS]}";
        QTest::newRow("value holding its own tag")
            << Tags{{QStringLiteral("[X1]"), QStringLiteral("a[X1]b")}} << "[X1][X1]"
            << "A[X1]BA[X1]B";
        QTest::newRow("value holding a later tag is left as it is")
            << Tags{{QStringLiteral("[X]"), QStringLiteral("[Y]")},
                    {QStringLiteral("[Y]"), QStringLiteral("2")}}
            << "[X][Y]"
            << "[Y]2";
        QTest::newRow("empty tag is ignored") << Tags{{QString(), QStringLiteral("z")}} << "abc"
                                              << "abc";
        QTest::newRow("Romanian letters change case")
            << Tags{{QStringLiteral("[SOF1]"), QStringLiteral("\u015Ftefan \u0103")}} << "[SOF1]"
            << "\u015ETEFAN \u0102";
        QTest::newRow("no capital in the code page: kept")
            << Tags{{QStringLiteral("[SOF1]"), QStringLiteral("\u00B5m")}} << "[SOF1]"
            << "\u00B5M";
        QTest::newRow("only ASCII letters fold")
            << Tags{{QStringLiteral("[\u015E]"), QStringLiteral("v")}} << "[\u015F] [\u015E]"
            << "[\u015F] v";
    }

    void replaceLine() {
        QFETCH(Tags, tags);
        QFETCH(QString, line);
        QFETCH(QString, expected);
        RtfFiller filler;
        for (const auto &[tag, value] : tags)
            filler.addTag(tag, value);
        QCOMPARE(filler.replaceLine(line), expected);
        QCOMPARE(filler.cursor(), -1);
    }

    void braceBalance_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("balance");
        QTest::newRow("none") << "\\pard text\\par" << 0;
        QTest::newRow("group") << "{\\b bold}" << 0;
        QTest::newRow("opening") << "{\\rtf1{\\fonttbl" << 2;
        QTest::newRow("closing") << "}}" << -2;
        QTest::newRow("escaped braces count too") << "\\{ \\}\\}" << -1;
    }

    void braceBalance() {
        QFETCH(QString, line);
        QFETCH(int, balance);
        QCOMPARE(RtfFiller::braceBalance(line), balance);
    }

    // A line holding a repeated tag is written once per value; successive occurrences in one
    // line take successive values, the last value repeating.
    void repeatedTag_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("one occurrence") << "r [X] [C]" << QByteArray("r a 7\r\nr b 7\r\nr c 7\r\n");
        QTest::newRow("two occurrences") << "[X]/[X]" << QByteArray("a/b\r\nc/c\r\n");
    }

    void repeatedTag() {
        QFETCH(QString, line);
        QFETCH(QByteArray, body);
        const Tags tags{{QStringLiteral("[C]"), QStringLiteral("7")},
                        {QStringLiteral("[X]"), QStringLiteral("a")},
                        {QStringLiteral("[X]"), QStringLiteral("b")},
                        {QStringLiteral("[X]"), QStringLiteral("c")}};
        const QByteArray out = fill("{\\rtf1\r\n\\pard\r\n" + line.toLatin1() + "\r\n}\r\n", tags);
        QCOMPARE(out, "{\\rtf1\r\n\\pard\r\n" + body + "}\r\n");
    }

    void twoRepeatedTagsOnOneLineEnd() {
        const Tags tags{{QStringLiteral("[X]"), QStringLiteral("a")},
                        {QStringLiteral("[X]"), QStringLiteral("b")},
                        {QStringLiteral("[Y]"), QStringLiteral("1")},
                        {QStringLiteral("[Y]"), QStringLiteral("2")}};
        const QByteArray out = fill("{\\rtf1\r\n\\pard\r\n[X][Y]\r\nnext\r\n}\r\n", tags);
        QVERIFY(out.startsWith("{\\rtf1\r\n\\pard\r\na1\r\n"));
        QVERIFY(out.endsWith("next\r\n}\r\n"));
        // Never more copies of a line than there are tags.
        QVERIFY(out.count("\r\n") <= 4 + 4);
    }

    void startClearsACursorLeftByAnEarlierPrintout() {
        putBytes(path(QStringLiteral("c.rtf")), "{\\rtf1\r\n\\pard [N]\r\n}\r\n");
        RtfFiller filler;
        filler.addTag(QStringLiteral("[Q]"), QStringLiteral("1"));
        filler.addTag(QStringLiteral("[Q]"), QStringLiteral("2"));
        filler.replaceLine(u"[Q]");
        QCOMPARE(filler.cursor(), 1);
        filler.setSource(path(QStringLiteral("c.rtf")));
        filler.setDestination(path(QStringLiteral("c.out")));
        QVERIFY(filler.startRtf());
        QCOMPARE(filler.cursor(), -1);
        QVERIFY(filler.tags().isEmpty());
        filler.addTag(QStringLiteral("[N]"), QStringLiteral("7"));
        filler.writeBody(1);
        filler.endRtf();
        QCOMPARE(bytesOf(path(QStringLiteral("c.out"))), "{\\rtf1\r\n\\pard 7\r\n}\r\n");
    }

    void wholePrintout_data() {
        QTest::addColumn<QByteArray>("templ");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray head = "{\\rtf1\\ansi\\ansicpg1250\r\n{\\fonttbl{\\f0 Arial;}}\r\n";
        QTest::newRow("header as it is, body filled, lines after the end dropped")
            << head + "\\margl1134\r\n\\pard\\plain [NRMAS]\\par\r\n\r\n{\\b [nrmas]}\\par\r\n}\r\n"
                      "after the end [NRMAS]\r\n"
            << 1 << head + "\\margl1134\r\n\\pard\\plain B12ABC\\par\r\n{\\b b12abc}\\par\r\n}\r\n";
        QTest::newRow("text before \\pard goes to the header")
            << QByteArray("{\\rtf1\r\n  \\deff0 \\pard x[C]\r\n}") << 1
            << QByteArray("{\\rtf1\r\n\\deff0\r\n\\pard x7.5\r\n}\r\n");
        QTest::newRow("a single line is split into header and body")
            << QByteArray("{\\rtf1{\\fonttbl x} \\pard Hello [NRMAS]}") << 1
            << QByteArray("{\\rtf1{\\fonttbl x}\r\n\\pard Hello B12ABC\r\n}\r\n");
        QTest::newRow("no \\pard: the whole document, closed once")
            << QByteArray("{\\rtf1\\ansi\r\n{\\b Hello} [NRMAS]\r\n}\r\ntrailer\r\n") << 1
            << QByteArray("{\\rtf1\\ansi\r\n{\\b Hello} [NRMAS]\r\n}\r\n");
        QTest::newRow("no \\pard, one line")
            << QByteArray("{\\rtf1 Hello}") << 1 << QByteArray("{\\rtf1 Hello\r\n}\r\n");
        QTest::newRow("two copies with a page break")
            << QByteArray("{\\rtf1\n\\pard [C]\\par\n}\n") << 2
            << QByteArray("{\\rtf1\r\n\\pard 7.5\\par\r\n\\page\r\n\\pard 7.5\\par\r\n}\r\n");
        QTest::newRow("no copies: header and closing brace")
            << QByteArray("{\\rtf1\r\n\\pard [C]\r\n}\r\n") << 0 << QByteArray("{\\rtf1\r\n}\r\n");
        QTest::newRow("only the closing brace leaves the last line")
            << QByteArray("{\\rtf1\r\n\\pard a\r\n{\\b b}} junk }\r\n") << 1
            << QByteArray("{\\rtf1\r\n\\pard a\r\n{\\b b}\r\n}\r\n");
        QTest::newRow("lone CR and LF line ends become CR LF")
            << QByteArray("{\\rtf1\r\\pard a\nb\r\n}") << 1
            << QByteArray("{\\rtf1\r\n\\pard a\r\nb\r\n}\r\n");
        QTest::newRow("a document that never closes still ends")
            << QByteArray("{\\rtf1\r\n\\pard a\r\n{b [C]\r\n") << 1
            << QByteArray("{\\rtf1\r\n\\pard a\r\n{b 7.5\r\n}\r\n");
        QTest::newRow("code page bytes pass through")
            << QByteArray("{\\rtf1\r\n\\pard \xBA\xFE [SOF1]\r\n}\r\n") << 1
            << QByteArray("{\\rtf1\r\n\\pard \xBA\xFE \xAATEFAN\r\n}\r\n");
    }

    void wholePrintout() {
        QFETCH(QByteArray, templ);
        QFETCH(int, copies);
        QFETCH(QByteArray, expected);
        const Tags tags{{QStringLiteral("[NRMAS]"), QStringLiteral("B12abc")},
                        {QStringLiteral("[C]"), QStringLiteral("7.5")},
                        {QStringLiteral("[SOF1]"), QStringLiteral("\u015Etefan")}};
        QCOMPARE(fill(templ, tags, copies), expected);
    }

    // A table made for fewer rows than there are values for grows: the row holding the
    // last number is written again for each further row, renumbered, in the same columns.
    void furtherRowsRepeatTheLastRow_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray row1 =
            "\\trowd\\cellx500\\cellx900\r\n\\pard\\intbl 1\\cell [P1]\\cell\\row\r\n";
        const QByteArray row2 =
            "\\trowd\\cellx500\\cellx900\r\n\\pard\\intbl 2\\cell [P2]\\cell\\row\r\n";
        const QByteArray end = "\\pard end\\par\r\n";
        const auto filled = [](const char *number, const char *value) {
            return "\\trowd\\cellx500\\cellx900\r\n\\pard\\intbl " + QByteArray(number) +
                   "\\cell " + value + "\\cell\\row\r\n";
        };
        QTest::newRow("row definition on a line of its own")
            << row1 + row2 + end << 4
            << filled("1", "A") + filled("2", "B") + filled("3", "C") + filled("4", "D") + end;
        QTest::newRow("the form twice: its first table grows")
            << row1 + row2 + end + row1 + row2 + end << 3
            << filled("1", "A") + filled("2", "B") + filled("3", "C") + end + filled("1", "A") +
                   filled("2", "B") + end;
        QTest::newRow("room enough: as it is")
            << row1 + row2 + end << 2 << filled("1", "A") + filled("2", "B") + end;
        QTest::newRow("fewer rows than the template: as it is")
            << row1 + row2 + end << 1 << filled("1", "A") + filled("2", "B") + end;
        QTest::newRow("no rows asked for: as it is")
            << row1 + row2 + end << 0 << filled("1", "A") + filled("2", "B") + end;
        QTest::newRow("a whole row on one line, another row after it")
            << QByteArray(
                   "\\trowd\\cellx500\\pard\\intbl [P1]\\cell\\row \\trowd\\cellx500\\pard\\intbl "
                   "total\\cell\\row\r\n")
            << 3
            << QByteArray("\\trowd\\cellx500\\pard\\intbl A\\cell\\row \r\n"
                          "\\trowd\\cellx500\\pard\\intbl B\\cell\\row \r\n"
                          "\\trowd\\cellx500\\pard\\intbl C\\cell\\row \r\n"
                          "\\trowd\\cellx500\\pard\\intbl total\\cell\\row\r\n");
        QTest::newRow("the row's definition repeated in a group after its cells")
            << QByteArray(
                   "\\trowd\\irow1\\cellx500\\pard\\intbl {2\\cell }{[P2]\\cell }\\pard\\intbl "
                   "{\\trowd\\irow1\\cellx500\\row }\\pard end\\par\r\n")
            << 3
            << QByteArray("\\trowd\\irow1\\cellx500\\pard\\intbl {2\\cell }{B\\cell }\\pard\\intbl "
                          "{\\trowd\\irow1\\cellx500\\row }\r\n"
                          "\\trowd\\irow1\\cellx500\\pard\\intbl {3\\cell }{C\\cell }\\pard\\intbl "
                          "{\\trowd\\irow1\\cellx500\\row }\r\n"
                          "\\pard end\\par\r\n");
        QTest::newRow("rows as paragraphs")
            << QByteArray("\\pard 1. [P1]\\par\r\n\\pard 2. [P2]\\par\r\n") + end << 3
            << QByteArray("\\pard 1. A\\par\r\n\\pard 2. B\\par\r\n\\pard 3. C\\par\r\n") + end;
        QTest::newRow("only the row's own number changes")
            << QByteArray(
                   "\\trowd\\cellx500\\pard\\intbl\\fs2 2\\cell [p2] [P2]\\cell B2 2.5 2\\'b2 "
                   "(2)\\cell [P1]\\cell\\row\r\n")
            << 3
            << QByteArray("\\trowd\\cellx500\\pard\\intbl\\fs2 2\\cell b B\\cell B2 2.5 2\\'b2 "
                          "(2)\\cell A\\cell\\row\r\n"
                          "\\trowd\\cellx500\\pard\\intbl\\fs2 3\\cell c C\\cell B2 2.5 3\\'b2 "
                          "(3)\\cell A\\cell\\row\r\n");
        QTest::newRow("a row that would close a group it did not open")
            << QByteArray("{\\b\r\n\\trowd\\cellx500\\pard\\intbl [P2]\\cell}\\row\r\n") + end << 4
            << QByteArray("{\\b\r\n\\trowd\\cellx500\\pard\\intbl B\\cell}\\row\r\n") + end;
    }

    void furtherRowsRepeatTheLastRow() {
        QFETCH(QByteArray, body);
        QFETCH(int, rows);
        QFETCH(QByteArray, expected);
        putBytes(path(QStringLiteral("rows.rtf")), "{\\rtf1\r\n\\pard\r\n" + body + "}\r\n");
        RtfFiller filler;
        filler.setSource(path(QStringLiteral("rows.rtf")));
        filler.setDestination(path(QStringLiteral("rows.out")));
        QVERIFY(filler.startRtf());
        for (const char *const column : {"[P", "[Q"}) {
            for (int n = 1; n <= 4; ++n)
                filler.addTag(QLatin1String(column) + QString::number(n) + u']',
                              QString(QChar(u'A' + n - 1)));
        }
        filler.setRows({QStringLiteral("[P"), QStringLiteral("[Q")}, rows);
        filler.writeBody(1);
        filler.endRtf();
        QCOMPARE(bytesOf(path(QStringLiteral("rows.out"))),
                 "{\\rtf1\r\n\\pard\r\n" + expected + "}\r\n");
    }

    void startFails_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("destinationLeft");
        putBytes(path(QStringLiteral("ok.rtf")), "{\\rtf1\r\n\\pard x\r\n}\r\n");
        putBytes(path(QStringLiteral("empty.rtf")), "");
        QTest::newRow("no template path") << QString() << path(QStringLiteral("d1.rtf")) << false;
        QTest::newRow("template missing")
            << path(QStringLiteral("missing.rtf")) << path(QStringLiteral("d2.rtf")) << false;
        QTest::newRow("template is a directory")
            << m_dir.path() << path(QStringLiteral("d3.rtf")) << false;
        QTest::newRow("template empty")
            << path(QStringLiteral("empty.rtf")) << path(QStringLiteral("d4.rtf")) << false;
        QTest::newRow("printout cannot be created")
            << path(QStringLiteral("ok.rtf")) << path(QStringLiteral("no/such/dir/d5.rtf"))
            << false;
    }

    void startFails() {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        RtfFiller filler;
        filler.setSource(source);
        filler.setDestination(destination);
        QVERIFY(!filler.startRtf());
        QVERIFY(!QFile::exists(destination));
    }

    void writeFailureRaises() {
        putBytes(path(QStringLiteral("w.rtf")), "{\\rtf1\r\n\\pard x\r\n}\r\n");
        RtfFiller filler;
        filler.setSource(path(QStringLiteral("w.rtf")));
        filler.setDestination(path(QStringLiteral("w.out")));
        QVERIFY(filler.startRtf());
        QVERIFY(QFile::remove(path(QStringLiteral("w.rtf"))));
        QVERIFY_THROWS_EXCEPTION(FileError, filler.writeBody(1));
        QVERIFY(QFile::exists(path(QStringLiteral("w.out"))));
    }
};

QTEST_GUILESS_MAIN(TestRtfFiller)
#include "tst_rtffiller.moc"
