// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF template filler on any template and any tags: it ends, writing no more than a
// bound set by the input's size, and a well-formed template with brace-free tags and values
// gives a printout whose braces balance (for several copies or none, when the body starts
// at depth 1).
//
// Input: one byte for the number of copies (0 to 3), the template up to the first NUL byte,
// then entries separated by NUL bytes, each a tag, byte 0x01 and its value (cp1250).

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/velmora-fuzz-rtf-XXXXXX"));
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const int copies = static_cast<unsigned char>(input[0]) % 4;
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
    bool bracesInValues = false;
    bool repeated = false;
    QString previous;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const qsizetype cut = parts[i].indexOf('\x01');
        const QString tag = Cp1250::decode(parts[i].left(cut < 0 ? parts[i].size() : cut));
        const QByteArray value = cut < 0 ? QByteArray() : parts[i].mid(cut + 1);
        longestValue = std::max(longestValue, value.size());
        // A tag with a brace takes its brace away with it; the program's tags have none.
        bracesInValues = bracesInValues || value.contains('{') || value.contains('}') ||
                         tag.contains(u'{') || tag.contains(u'}');
        repeated = repeated || (i > 0 && tag == previous);
        previous = tag;
        filler.addTag(tag, Cp1250::decode(value));
    }
    const qsizetype tagCount = std::max<qsizetype>(1, parts.size());
    filler.writeBody(copies);
    filler.endRtf();
    check(filler.tags().isEmpty() && filler.cursor() == -1, "lists emptied");

    QFile file(destination);
    check(file.open(QIODevice::ReadOnly), "printout readable");
    const QByteArray out = file.readAll();
    check(out.endsWith("}\r\n"), "closing brace last");

    // Every body line is written at most once per tag, each occurrence of a tag (at least
    // one character long) replaced by at most the longest value.
    const qsizetype t = templ.size();
    const qsizetype lines = templ.count('\n') + templ.count('\r') + 1;
    const qsizetype bound =
        t + 2 * lines + copies * (tagCount * (t * (1 + longestValue) + 2 * lines) + 7) + 3;
    check(out.size() <= bound, "printout within its bound");

    if (wellFormed(templ) && !bracesInValues && !repeated && (copies == 1 || bodyDepth(templ) == 1))
        check(RtfFiller::braceBalance(Cp1250::decode(out)) == 0, "braces balanced");
    return 0;
}
