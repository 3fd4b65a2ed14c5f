// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDir>
#include <QLockFile>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QImage;
class QWidget;

namespace velmora::shots {

struct Scene;

// Where the scenes are played: a fresh program directory and settings for each scene, and
// the saving of what the screen shows. The shots are taken from the screen, not drawn by the
// widgets themselves, so they show the window manager's frame and whatever covers a window.
//
// A scene names the files it draws: saving any other file is a failure, and so is a named
// file that the scene did not draw.
class Studio {
public:
    // The day the shots are taken on, whatever the day they are redrawn: the data, the
    // dates typed and the dates the windows show are around it, so a redrawn shot differs
    // from the last one only where a window changed.
    static QDate today() { return {2026, 12, 10}; }

    explicit Studio(const QDir &out);
    ~Studio();

    // False when another run of the driver holds the scenes' folder.
    bool claimed() const { return m_claimed; }
    // The program directory of the scene being played (empty; made for each scene).
    QString programDir() const;
    // Makes a new program directory and empty settings; run before every scene.
    void beginScene(const Scene &scene);
    // Counts the files of the scene that were not drawn as failures.
    void endScene();

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
    // Runs open, which shows window modally and waits for it; once window is the active modal
    // window, look runs, and window is closed afterwards if look left it open. A window that
    // does not come is given up after a while (whatever modal window is up instead is closed)
    // and told as a failure. Returns whether look ran.
    bool inModal(QWidget &window, const std::function<void()> &open,
                 const std::function<void()> &look);
    // Tells a failure that is not a file's, such as a control the scene could not find.
    void fail(const QString &what) { m_failed << m_scene + QStringLiteral(": ") + what; }

    // Lets the window manager and the windows catch up.
    static void settle(int milliseconds = 400);
    // Waits until the window is on screen, framed and painted; false when it did not come
    // or a window that the window manager frames came without its frame.
    static bool shown(QWidget &window);
    // The frame of a window as the screen shows it.
    static QRect frameOf(const QWidget &window);

    const QStringList &saved() const { return m_saved; }
    const QStringList &failed() const { return m_failed; }

private:
    // Whether the scene being played names file; a failure when it does not.
    bool expected(const QString &file);

    QDir m_out;
    // Where the scenes' program directory and settings are made: velmora-screenshots in the
    // temporary folder.
    QDir m_root;
    QLockFile m_lock;
    bool m_claimed = false;
    QString m_scene;
    QStringList m_files;
    QStringList m_tried;
    QStringList m_saved;
    QStringList m_failed;
};

// One scene: a window (or a few) brought into a state, saving the files it names.
struct Scene {
    QString name;
    QStringList files;
    std::function<void(Studio &)> play;
};

// The scenes known to the driver, in the order they were added.
std::vector<Scene> &scenes();

struct AddScene {
    AddScene(const char *name, std::initializer_list<const char *> files, void (*play)(Studio &));
};

} // namespace velmora::shots

// Adds a scene from a shots_*.cpp file, with the files it draws:
//
//     VELMORA_SCENE(splash, "splash.png") { ... studio.save(window, QStringLiteral("splash.png"));
//     }
#define VELMORA_SCENE(name, ...)                                                                   \
    static void scene_##name(velmora::shots::Studio &studio);                                      \
    static const velmora::shots::AddScene added_##name(#name, {__VA_ARGS__}, &scene_##name);       \
    static void scene_##name(velmora::shots::Studio &studio)
