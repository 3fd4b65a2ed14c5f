// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/velmoraapplication.h"
#include "studio.h"

#include <QCommandLineParser>
#include <QDir>
#include <algorithm>
#include <cstdio>

// Redraws the screenshots of the documentation from the real windows. Run on a real display
// (scripts/screenshots.sh starts Xvfb and a window manager): velmora-screenshots --out DIR
// [SCENE...]; --list names the scenes, each on a line with the files it draws.
int main(int argc, char *argv[]) {
    velmora::VelmoraApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("out"), QStringLiteral("Directory of the PNG files."),
                      QStringLiteral("dir"), QStringLiteral("docs/screenshots")});
    parser.addOption(
        {QStringLiteral("list"), QStringLiteral("Lists the scenes and the files each draws.")});
    parser.addPositionalArgument(QStringLiteral("scene"),
                                 QStringLiteral("Scenes to play (all when none is named)."));
    parser.process(application);

    using velmora::shots::scenes;
    if (parser.isSet(QStringLiteral("list"))) {
        for (const auto &scene : scenes())
            std::printf("%s %s\n", qPrintable(scene.name), qPrintable(scene.files.join(u' ')));
        return 0;
    }
    const QStringList wanted = parser.positionalArguments();
    for (const QString &name : wanted) {
        const bool known = std::any_of(scenes().begin(), scenes().end(),
                                       [&](const auto &scene) { return scene.name == name; });
        if (!known) {
            std::fprintf(stderr, "unknown scene: %s\n", qPrintable(name));
            return 2;
        }
    }

    const QDir out(parser.value(QStringLiteral("out")));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(out.path()));
        return 1;
    }
    velmora::shots::Studio studio(out);
    if (!studio.claimed()) {
        std::fprintf(stderr, "another run of the screenshot driver is under way\n");
        return 1;
    }
    for (const auto &scene : scenes()) {
        if (!wanted.isEmpty() && !wanted.contains(scene.name))
            continue;
        studio.beginScene(scene);
        scene.play(studio);
        studio.endScene();
    }
    for (const QString &file : studio.saved())
        std::printf("saved %s\n", qPrintable(out.filePath(file)));
    for (const QString &file : studio.failed())
        std::fprintf(stderr, "FAILED %s\n", qPrintable(file));
    return studio.failed().isEmpty() && !studio.saved().isEmpty() ? 0 : 1;
}
