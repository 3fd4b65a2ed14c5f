// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

class QImage;
class QWidget;

namespace velmora::shots {

// Where the scenes are played: a fresh program directory and settings for each scene, and
// the saving of what the screen shows. The shots are taken from the screen, not drawn by the
// widgets themselves, so they show the window manager's frame and whatever covers a window.
class Studio {
public:
    explicit Studio(const QDir &out);
    ~Studio();

    // The program directory of the scene being played (empty; made for each scene).
    QString programDir() const;
    // Makes a new program directory and empty settings; run before every scene.
    void freshScene();

    // Waits until the window is on screen, framed and painted, then saves what the screen
    // shows of it, frame included, as out/file.
    void save(QWidget &window, const QString &file);
    // Saves a screen area (for a window together with what belongs to it, such as a hint).
    void saveArea(const QRect &area, const QString &file);
    // Saves a picture drawn off the screen, such as a printed page; a null one is a failure,
    // told with why.
    void saveImage(const QImage &image, const QString &file, const QString &why = QString());
    // Runs open, which shows a modal window and waits for it (a modal loop, or a wait for a
    // signal). Once a modal window is up it is saved, then closed with answer (its close box
    // when there is none). Returns whether a window was saved.
    bool saveModal(const QString &file, const std::function<void()> &open,
                   const std::function<void(QWidget &)> &answer = {});

    // Lets the window manager and the windows catch up.
    static void settle(int milliseconds = 400);
    // Waits until the window is on screen, framed and painted.
    static bool shown(QWidget &window);
    // The frame of a window as the screen shows it.
    static QRect frameOf(const QWidget &window);

    const QStringList &saved() const { return m_saved; }
    const QStringList &failed() const { return m_failed; }

private:
    QDir m_out;
    std::unique_ptr<QTemporaryDir> m_settings;
    std::unique_ptr<QTemporaryDir> m_program;
    QStringList m_saved;
    QStringList m_failed;
};

// One scene: a window (or a few) brought into a state, saving one or more files.
struct Scene {
    QString name;
    std::function<void(Studio &)> play;
};

// The scenes known to the driver, in the order they were added.
std::vector<Scene> &scenes();

struct AddScene {
    AddScene(const char *name, void (*play)(Studio &));
};

} // namespace velmora::shots

// Adds a scene from a shots_*.cpp file:
//
//     VELMORA_SCENE(splash) { ... studio.save(window, QStringLiteral("splash.png")); }
#define VELMORA_SCENE(name)                                                                        \
    static void scene_##name(velmora::shots::Studio &studio);                                      \
    static const velmora::shots::AddScene added_##name(#name, &scene_##name);                      \
    static void scene_##name(velmora::shots::Studio &studio)
