// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/membername.h"

#include "backup/datafiles.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"

namespace velmora {

namespace {

constexpr QByteArrayView kPrefix("Data\\");

bool isDeviceName(const QString &fileName) {
    // Windows opens these as devices whatever the extension.
    const QString stem = fileName.section(u'.', 0, 0).toUpper();
    static const QStringList devices = {QStringLiteral("CON"),    QStringLiteral("PRN"),
                                        QStringLiteral("AUX"),    QStringLiteral("NUL"),
                                        QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (devices.contains(stem))
        return true;
    return stem.size() == 4 &&
           (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT"))) &&
           stem[3] >= u'0' && stem[3] <= u'9';
}

} // namespace

bool MemberName::isPlain(const QString &fileName) {
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String(".."))
        return false;
    for (const QChar c : fileName) {
        if (c.unicode() < 32 || QStringView(u"\\/:*?\"<>|").contains(c))
            return false;
    }
    // Windows drops a trailing blank or dot, so the file would land under another name.
    if (fileName.endsWith(u' ') || fileName.endsWith(u'.'))
        return false;
    // File systems hold 255 units of a name: UTF-16 ones on Windows, bytes of UTF-8 on Linux,
    // where a name of Romanian letters that fits in the archive can take twice as many.
    if (fileName.size() > kMaxFileName || fileName.toUtf8().size() > kMaxFileName)
        return false;
    return !isDeviceName(fileName);
}

bool MemberName::hasPrefix(QByteArrayView stored) {
    return stored.startsWith(kPrefix);
}

QString MemberName::refusal(const QString &fileName) {
    if (const QString characters = Cp1250::unencodable(fileName); !characters.isEmpty())
        return QStringLiteral("numele lui contine \"%1\", care nu poate fi scris in arhiva")
            .arg(characters);
    if (!isPlain(fileName))
        return QStringLiteral("numele lui nu poate fi pastrat in arhiva asa cum este");
    if (kPrefix.size() + Cp1250::encode(fileName).size() > kMaxLength)
        return QStringLiteral("numele lui este prea lung pentru arhiva");
    return {};
}

QByteArray MemberName::stored(const QString &fileName) {
    if (!isPlain(fileName))
        throw InputError(
            QStringLiteral("Numele de fisier \"%1\" nu poate fi pus in arhiva.").arg(fileName));
    QByteArray name = kPrefix.toByteArray() + Cp1250::encode(fileName);
    if (name.size() > kMaxLength)
        throw InputError(
            QStringLiteral("Numele de fisier \"%1\" este prea lung pentru arhiva.").arg(fileName));
    return name;
}

QString MemberName::fileName(QByteArrayView stored) {
    if (stored.size() <= kPrefix.size() || stored.size() > kMaxLength ||
        !stored.startsWith(kPrefix))
        return QString();
    const QString name = Cp1250::decode(stored.sliced(kPrefix.size()));
    if (!isPlain(name) || DataFiles::isEngineOwn(name))
        return QString();
    return name;
}

} // namespace velmora
