// SPDX-License-Identifier: GPL-3.0-or-later
// The counters-file reader on any bytes: handing out an identifier either fails with an Error
// and leaves the file as it was, or stores its successor so that it reads back, leaves every
// other value that could be read before as it was, and adds no second INDEX section.

#include "fuzzsupport.h"

#include "store/counters.h"
#include "store/inifile.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"
#include "store/text/textrules.h"

#include <QRegularExpression>

using namespace velmora;

namespace {

struct Probe {
    QString section;
    QString key;
};

// Fixed names, and the first few that the file itself spells.
QList<Probe> probesOf(const QString &text) {
    QList<Probe> probes = {{QStringLiteral("INDEX"), QStringLiteral("IDSOS")},
                           {QStringLiteral("index"), QStringLiteral("idfoaie")},
                           {QStringLiteral("B12ABC"), QStringLiteral("CONSUM")}};
    QString section;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString &line : lines.mid(0, 40)) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.contains(u']'))
            section = trimmed.mid(1, trimmed.indexOf(u']') - 1);
        else if (trimmed.contains(u'=') && !section.isEmpty())
            probes.append({section, trimmed.left(trimmed.indexOf(u'='))});
    }
    return probes;
}

// Names are trimmed the file's way: every character up to the blank goes.
bool isTheCounter(const Probe &p) {
    return TextRules::trim(p.section).compare(Counters::section(), Qt::CaseInsensitive) == 0 &&
           TextRules::trim(p.key).compare(Counters::sheets(), Qt::CaseInsensitive) == 0;
}

int indexSections(const QByteArray &file) {
    static const QRegularExpression header(
        QStringLiteral("^[\\x00-\\x09\\x0b\\x0c\\x0e- ]*\\[[\\x00-\\x09\\x0b\\x0c\\x0e- ]*INDEX"
                       "[\\x00-\\x09\\x0b\\x0c\\x0e- ]*\\]"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    QString text = Cp1250::decode(file);
    text.replace(u'\r', u'\n');
    int n = 0;
    for (auto it = header.globalMatch(text); it.hasNext(); it.next())
        ++n;
    return n;
}

QByteArray contentOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path = fuzz::scratchDir() + QStringLiteral("/Velm.ini");
    const QByteArray original = fuzz::bytes(data, size);
    fuzz::writeFile(path, original);
    const IniFile file(path);
    const QList<Probe> probes = probesOf(Cp1250::decode(original));
    QStringList before;
    for (const Probe &p : probes)
        before.append(file.read(p.section, p.key));
    const QString stored = file.read(Counters::section(), Counters::sheets());

    QString id;
    try {
        id = Counters(path).next(Counters::sheets());
    } catch (const Error &) {
        VELMORA_FUZZ_CHECK(contentOf(path) == original,
                           QStringLiteral("a refused identifier changed the file"));
        return 0;
    }
    VELMORA_FUZZ_CHECK(id == (stored.isEmpty() ? QStringLiteral("1") : stored),
                       QStringLiteral("handed out ") + id + QStringLiteral(" for ") + stored);
    const QString next = file.read(Counters::section(), Counters::sheets());
    VELMORA_FUZZ_CHECK(next == QString::number(id.toLongLong() + 1),
                       QStringLiteral("stored ") + next + QStringLiteral(" after ") + id);
    for (qsizetype i = 0; i < probes.size(); ++i) {
        if (isTheCounter(probes[i]))
            continue;
        VELMORA_FUZZ_CHECK(file.read(probes[i].section, probes[i].key) == before[i],
                           QStringLiteral("value of [") + probes[i].section + QStringLiteral("] ") +
                               probes[i].key + QStringLiteral(" changed"));
    }
    VELMORA_FUZZ_CHECK(indexSections(contentOf(path)) <= qMax(1, indexSections(original)),
                       QStringLiteral("a second INDEX section was added"));
    return 0;
}
