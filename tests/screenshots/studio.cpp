// SPDX-License-Identifier: GPL-3.0-or-later
#include "studio.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace velmora::shots {

std::vector<Scene> &scenes() {
    static std::vector<Scene> all;
    return all;
}

AddScene::AddScene(const char *name, std::initializer_list<const char *> files,
                   void (*play)(Studio &)) {
    QStringList names;
    for (const char *file : files)
        names << QString::fromLatin1(file);
    scenes().push_back({QString::fromLatin1(name), names, play});
}

Studio::Studio(const QDir &out)
    : m_out(out)
    , m_root(QDir::temp().filePath(QStringLiteral("velmora-screenshots")))
    , m_lock(m_root.path() + QStringLiteral(".lock")) {
    // The folder has the same name in every run, since the windows show paths in it; the
    // lock keeps two runs on one machine from sharing it.
    m_claimed = m_lock.tryLock(0);
}

Studio::~Studio() {
    if (m_claimed)
        m_root.removeRecursively();
}

QString Studio::programDir() const {
    return m_root.filePath(QStringLiteral("Velmora"));
}

void Studio::beginScene(const Scene &scene) {
    m_scene = scene.name;
    m_files = scene.files;
    m_tried.clear();
    m_root.removeRecursively();
    const QString settings = m_root.filePath(QStringLiteral("settings"));
    const QString home = m_root.filePath(QStringLiteral("home"));
    if (!m_root.mkpath(programDir()) || !m_root.mkpath(settings) || !m_root.mkpath(home))
        fail(QStringLiteral("cannot make ") + m_root.path());
    // Qt's file and print dialogs show paths in the home folder: the same one in every run.
    qputenv("HOME", QFile::encodeName(home));
    // The settings store of either scope lands in the scene's own directory.
    for (const auto scope : {QSettings::UserScope, QSettings::SystemScope})
        QSettings::setPath(QSettings::NativeFormat, scope, settings);
}

void Studio::endScene() {
    // A file that the scene tried to save was told already, as saved or as failed.
    for (const QString &file : std::as_const(m_files)) {
        if (!m_tried.contains(file))
            m_failed << file + QStringLiteral(" (not drawn by ") + m_scene + u')';
    }
}

bool Studio::expected(const QString &file) {
    if (m_files.contains(file)) {
        m_tried << file;
        return true;
    }
    m_failed << file + QStringLiteral(" (not a file of the scene ") + m_scene + u')';
    return false;
}

void Studio::settle(int milliseconds) {
    QTest::qWait(milliseconds);
}

QRect Studio::frameOf(const QWidget &window) {
    return window.frameGeometry();
}

bool Studio::shown(QWidget &window) {
    if (!window.isVisible() || !QTest::qWaitForWindowExposed(&window))
        return false;
    // A window that the window manager frames is saved once its frame is known, and any
    // window once it has its size: a window shown over another one, or just after one went,
    // can be exposed before either.
    const bool framed = !window.windowFlags().testFlag(Qt::FramelessWindowHint) &&
                        (window.windowType() == Qt::Window || window.windowType() == Qt::Dialog);
    const auto ready = [&] {
        return window.isVisible() && window.width() > 1 && window.height() > 1 &&
               (!framed || window.frameGeometry() != window.geometry());
    };
    if (!QTest::qWaitFor(ready, 3000))
        return false;
    settle();
    return ready();
}

void Studio::save(QWidget &window, const QString &file) {
    if (!expected(file))
        return;
    if (!shown(window)) {
        m_failed << file + QStringLiteral(" (window not on screen, or not framed)");
        return;
    }
    saveArea(frameOf(window), file);
}

void Studio::saveArea(const QRect &area, const QString &file) {
    if (!expected(file))
        return;
    QScreen *screen = QGuiApplication::screenAt(area.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect within = area.intersected(screen->geometry());
    if (within.width() < 8 || within.height() < 8) {
        m_failed << file + QStringLiteral(" (the area %1x%2+%3+%4 is not on the screen)")
                               .arg(area.width())
                               .arg(area.height())
                               .arg(area.x())
                               .arg(area.y());
        return;
    }
    const QPoint origin = screen->geometry().topLeft();
    const QPixmap shot = screen->grabWindow(0, within.x() - origin.x(), within.y() - origin.y(),
                                            within.width(), within.height());
    if (shot.isNull() || !shot.save(m_out.filePath(file))) {
        m_failed << file;
        return;
    }
    m_saved << file;
}

bool Studio::saveModal(const QString &file, const std::function<void()> &open,
                       const std::function<void(QWidget &)> &answer) {
    bool taken = false;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || taken)
            return;
        taken = true;
        watch.stop();
        save(*modal, file);
        if (answer)
            answer(*modal);
        else
            modal->close();
    });
    watch.start();
    open();
    watch.stop();
    // A window manager that sees a window go and come back at once may leave it unframed.
    settle();
    if (!taken)
        m_failed << file + QStringLiteral(" (no modal window)");
    return taken;
}

void Studio::saveImage(const QImage &image, const QString &file, const QString &why) {
    if (!expected(file))
        return;
    if (image.isNull() || !image.save(m_out.filePath(file))) {
        m_failed << (why.isEmpty() ? file : file + QStringLiteral(" (") + why + u')');
        return;
    }
    m_saved << file;
}

bool Studio::inModal(QWidget &window, const std::function<void()> &open,
                     const std::function<void()> &look) {
    bool looked = false;
    int waited = 0;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        if (window.isVisible() && QApplication::activeModalWidget() == &window) {
            watch.stop();
            looked = true;
            // Framed and placed first: what opens over the window (a suggestion list, a hint)
            // is placed from where the window is.
            shown(window);
            look();
            if (window.isVisible())
                window.close();
        } else if (++waited > 500) {
            // Ten seconds: something else came up instead (an error box, say); closing it
            // ends the wait that open is in.
            watch.stop();
            if (QWidget *other = QApplication::activeModalWidget())
                other->close();
        }
    });
    watch.start();
    open();
    watch.stop();
    settle();
    if (!looked)
        fail(window.objectName() + QStringLiteral(" did not come up"));
    return looked;
}

} // namespace velmora::shots
