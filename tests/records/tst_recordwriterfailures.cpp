// SPDX-License-Identifier: GPL-3.0-or-later
// A line statement and the income update that follows it either both stand or neither does;
// when even the undo is refused, the user is told what no longer agrees.

#include "recordsfixture.h"

#include "records/recordwriter.h"
#include "store/text/error.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// Refuses the statements whose numbers it is given (1 for the first it runs), as the engine
// refuses one on a full disk; runs the others.
class RefusingWriter : public RecordWriter {
public:
    RefusingWriter(const QString &dataDir, QList<int> refused)
        : RecordWriter(dataDir)
        , m_refused(std::move(refused)) {}

    int runs = 0;

protected:
    void run(const QStringList &statement) override {
        ++runs;
        if (m_refused.contains(runs))
            throw EngineError(u"Refuzat %1."_s.arg(runs));
        RecordWriter::run(statement);
    }

private:
    QList<int> m_refused;
};

LineValues line(const QString &amount, const QString &kind = u"PLECARE"_s) {
    return {u"41"_s, u"1"_s, kind, u"39102.5868"_s, amount};
}

} // namespace

class TestRecordWriterFailures : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aRefusedUpdateIsUndoneOrSaid_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QList<int>>("refused");
        QTest::addColumn<QString>("message"); // what the user reads
        QTest::addColumn<QString>("total");   // TOTALVEN afterwards
        QTest::addColumn<QStringList>("lines");
        const QString before = u"41|PLECARE|150"_s;
        QTest::newRow("add, update refused")
            << u"add"_s << QList<int>{2} << u"Refuzat 2."_s << u"150"_s << QStringList{before};
        QTest::newRow("change, update refused")
            << u"change"_s << QList<int>{2} << u"Refuzat 2."_s << u"150"_s << QStringList{before};
        QTest::newRow("delete, update refused")
            << u"delete"_s << QList<int>{2} << u"Refuzat 2."_s << u"150"_s << QStringList{before};
        QTest::newRow("add, undo refused too")
            << u"add"_s << QList<int>{2, 3}
            << u"Plecarea sau sosirea 42 a fost adaugata, dar totalul incasarilor foii 1 nu a "
               "putut fi actualizat, iar schimbarea nu a putut fi anulata: totalul foii este "
               "150, iar suma plecarilor si sosirilor ei este 175. Corectati totalul foii. "
               "Motivul: Refuzat 2. Anularea: Refuzat 3."_s
            << u"150"_s << QStringList{before, u"42|PLECARE|25"_s};
        QTest::newRow("change, undo refused too")
            << u"change"_s << QList<int>{2, 3}
            << u"Plecarea sau sosirea 41 a fost modificata, dar totalul incasarilor foii 1 nu a "
               "putut fi actualizat, iar schimbarea nu a putut fi anulata: totalul foii este "
               "150, iar suma plecarilor si sosirilor ei este 200. Corectati totalul foii. "
               "Motivul: Refuzat 2. Anularea: Refuzat 3."_s
            << u"150"_s << QStringList{u"41|SOSIRE|200"_s};
        QTest::newRow("delete, undo refused too")
            << u"delete"_s << QList<int>{2, 3}
            << u"Plecarea sau sosirea 41 a fost stearsa, dar totalul incasarilor foii 1 nu a "
               "putut fi actualizat, iar schimbarea nu a putut fi anulata: totalul foii este "
               "150, iar suma plecarilor si sosirilor ei este 0. Corectati totalul foii. "
               "Motivul: Refuzat 2. Anularea: Refuzat 3."_s
            << u"150"_s << QStringList();
    }
    void aRefusedUpdateIsUndoneOrSaid() {
        QFETCH(QString, operation);
        QFETCH(QList<int>, refused);
        QFETCH(QString, message);
        QFETCH(QString, total);
        QFETCH(QStringList, lines);
        RecordsFixture f;
        f.addSheet(1, QDate(2007, 1, 20), u"14:05"_s, u"B12ABC"_s, u"SOFER A"_s);
        RecordWriter(f.dataDir()).addLine(line(u"150"_s));

        RefusingWriter writer(f.dataDir(), refused);
        QString said;
        bool outOfStep = false;
        try {
            if (operation == u"add"_s)
                writer.addLine({u"42"_s, u"1"_s, u"PLECARE"_s, u"39102.6"_s, u"25"_s});
            else if (operation == u"change"_s)
                writer.changeLine(line(u"150"_s), line(u"200"_s, u"SOSIRE"_s));
            else
                writer.deleteLine(line(u"150"_s));
        } catch (const OutOfStepError &e) {
            said = e.message();
            outOfStep = true;
        } catch (const Error &e) {
            said = e.message();
        }
        // The line statement, the income update, the undo: each was tried once.
        QCOMPARE(writer.runs, 3);
        QCOMPARE(said, message);
        QCOMPARE(outOfStep, refused.size() == 2);
        QCOMPARE(f.sheets({u"TOTALVEN"_s}), QStringList{total});
        QCOMPARE(f.lines({u"IDSOS"_s, u"PLESOS"_s, u"SUMA"_s}), lines);
    }
};

QTEST_GUILESS_MAIN(TestRecordWriterFailures)
#include "tst_recordwriterfailures.moc"
