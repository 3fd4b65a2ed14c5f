// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF template filler on any template and any tags: it ends, writing no more than a
// bound set by the input's size, in lines that all end with CR LF; and a well-formed
// template with tags free of braces and backslashes gives a printout whose groups, read as
// RTF reads them (an escaped brace is text), balance and close the document only at its
// end, whatever the values hold (for several copies or none, when the body starts at
// depth 1).
//
// Input: one byte for the number of copies (its value modulo 4) and the rows of a table of
// "[P" and "[R" placeholders (its value divided by 4), the template up to the first NUL
// byte, then entries separated by NUL bytes, each a tag, byte 0x01 and its value (cp1250).

#include "reports/rtffiller.h"
#include "store/text/cp1250.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

using namespace velmora;

namespace {

void check(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// The template begins a group and closes it somewhere: the document has its closing brace.
bool wellFormed(const QByteArray &templ) {
    if (!templ.startsWith('{'))
        return false;
    int depth = 0;
    for (const char ch : templ) {
        depth += ch == '{' ? 1 : ch == '}' ? -1 : 0;
        if (depth == 0)
            return true;
    }
    return false;
}

// The brace depth where the body starts. Every copy of the body repeats what it opens and
// closes, so copies after the first keep the balance only when the body starts at depth 1;
// and with no copy, the header's open groups are closed by the one closing brace only then.
int bodyDepth(const QByteArray &templ) {
    int depth = 0;
    for (qsizetype i = 0; i < templ.size(); ++i) {
        if (templ.mid(i, 5) == "\\pard")
            return depth;
        depth += templ[i] == '{' ? 1 : templ[i] == '}' ? -1 : 0;
        if (depth == 0)
            return 1;
    }
    return 1;
}

// Every backslash of the template starts a control word or a code page byte ("\\'e3"), so
// that counting its braces as RTF reads them and counting every brace agree.
bool plainControls(const QByteArray &templ) {
    for (qsizetype i = 0; i < templ.size(); ++i) {
        if (templ[i] != '\\')
            continue;
        const char next = i + 1 < templ.size() ? templ[i + 1] : '\0';
        const bool letter = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z');
        if (!letter && next != '\'')
            return false;
    }
    return true;
}

// The brace depth as RTF reads it: a backslash takes the character after it, so "\\{" is
// text. True when it comes down to 0 at the last character and nowhere before.
bool closesOnlyAtTheEnd(const QByteArray &out) {
    int depth = 0;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i] == '\\') {
            ++i;
            continue;
        }
        depth += out[i] == '{' ? 1 : out[i] == '}' ? -1 : 0;
        if (depth <= 0)
            return depth == 0 && out.mid(i + 1) == "\r\n";
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/velmora-fuzz-rtf-XXXXXX"));
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const int copies = static_cast<unsigned char>(input[0]) % 4;
    const int rows = static_cast<unsigned char>(input[0]) / 4;
    QList<QByteArray> parts = input.mid(1).split('\0');
    const QByteArray templ = parts.takeFirst();

    const QString source = dir.filePath(QStringLiteral("t.rtf"));
    const QString destination = dir.filePath(QStringLiteral("out.rtf"));
    QFile::remove(destination);
    {
        QFile file(source);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  file.write(templ) == templ.size(),
              "template written");
    }

    RtfFiller filler;
    filler.setSource(source);
    filler.setDestination(destination);
    if (!filler.startRtf()) {
        check(templ.isEmpty(), "only an empty template is refused");
        check(!QFile::exists(destination), "no printout left after a refusal");
        return 0;
    }
    qsizetype longestValue = 10; // the dots of an empty value
    bool plainTags = true;
    bool repeated = false;
    QString previous;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const qsizetype cut = parts[i].indexOf('\x01');
        const QString tag = Cp1250::decode(parts[i].left(cut < 0 ? parts[i].size() : cut));
        const QByteArray value = cut < 0 ? QByteArray() : parts[i].mid(cut + 1);
        // Escaped, a character takes at most six ("\\line ").
        longestValue = std::max(longestValue, 6 * value.size());
        // A tag with a brace or a backslash takes it away with it; the program's tags have
        // none.
        plainTags = plainTags && !tag.contains(u'{') && !tag.contains(u'}') && !tag.contains(u'\\');
        repeated = repeated || (i > 0 && tag == previous);
        previous = tag;
        filler.addTag(tag, Cp1250::decode(value));
    }
    const qsizetype tagCount = std::max<qsizetype>(1, parts.size());
    filler.setRows({QStringLiteral("[P"), QStringLiteral("[R")}, rows);
    filler.writeBody(copies);
    filler.endRtf();
    check(filler.tags().isEmpty() && filler.cursor() == -1, "lists emptied");

    QFile file(destination);
    check(file.open(QIODevice::ReadOnly), "printout readable");
    const QByteArray out = file.readAll();
    check(out.endsWith("}\r\n"), "closing brace last");
    check(out.count('\n') == out.count("\r\n") && out.count('\r') == out.count("\r\n"),
          "every line ends with CR LF");

    // A table's further rows add at most one copy of the body each, its numbers a little
    // longer. Every body line is written at most once per tag, each occurrence of a tag (at
    // least one character long) replaced by at most the longest value.
    const qsizetype t = templ.size();
    const qsizetype lines = templ.count('\n') + templ.count('\r') + 1;
    const qsizetype body = 3 * t * (1 + rows) + 16;
    const qsizetype bodyLines = (lines + 2) * (1 + rows);
    const qsizetype bound =
        t + 2 * lines + copies * (tagCount * (body * (1 + longestValue) + 2 * bodyLines) + 7) + 3;
    check(out.size() <= bound, "printout within its bound");

    if (wellFormed(templ) && plainControls(templ) && plainTags && !repeated &&
        (copies == 1 || bodyDepth(templ) == 1))
        check(closesOnlyAtTheEnd(out), "the document closes at its end and nowhere before");
    return 0;
}
