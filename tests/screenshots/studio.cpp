// SPDX-License-Identifier: GPL-3.0-or-later
#include "studio.h"

#include <QApplication>
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

AddScene::AddScene(const char *name, void (*play)(Studio &)) {
    scenes().push_back({QString::fromLatin1(name), play});
}

Studio::Studio(const QDir &out)
    : m_out(out) {}

Studio::~Studio() = default;

QString Studio::programDir() const {
    return m_program ? m_program->filePath(QStringLiteral("Velmora")) : QString();
}

void Studio::freshScene() {
    m_program = std::make_unique<QTemporaryDir>();
    QDir(m_program->path()).mkdir(QStringLiteral("Velmora"));
    m_settings = std::make_unique<QTemporaryDir>();
    // The settings store of either scope lands in the scene's own directory.
    for (const auto scope : {QSettings::UserScope, QSettings::SystemScope})
        QSettings::setPath(QSettings::NativeFormat, scope, m_settings->path());
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
    settle();
    return true;
}

void Studio::save(QWidget &window, const QString &file) {
    if (!shown(window)) {
        m_failed << file + QStringLiteral(" (window not on screen)");
        return;
    }
    saveArea(frameOf(window), file);
}

void Studio::saveArea(const QRect &area, const QString &file) {
    QScreen *screen = QGuiApplication::screenAt(area.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect within = area.intersected(screen->geometry());
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
    if (image.isNull() || !image.save(m_out.filePath(file))) {
        m_failed << (why.isEmpty() ? file : file + QStringLiteral(" (") + why + u')');
        return;
    }
    m_saved << file;
}

} // namespace velmora::shots
