// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the program's icon as PNG files for the icon theme, drawn by the same code as the
// splash's icon, so the menu shows exactly the program's picture.
// Usage: velmora-icons FOLDER SIZE... ; writes FOLDER/SIZExSIZE/apps/velmora.png.

#include "app/appartwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char *argv[]) {
    QGuiApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2) {
        std::fputs("Usage: velmora-icons FOLDER SIZE...\n", stderr);
        return 2;
    }
    for (const QString &text : args.mid(1)) {
        bool ok = false;
        const int size = text.toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "not a size: %s\n", qPrintable(text));
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.first()).arg(size);
        if (!QDir().mkpath(folder) || !velmora::AppArtwork::programIcon(size).save(
                                          folder + QStringLiteral("/velmora.png"), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
