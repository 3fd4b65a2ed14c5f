// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QPointer>
#include <QWidget>

class QLabel;

namespace velmora {

class CylinderBar;
class GradientPanel;

// The progress window shown while a backup or a restore works: a borderless panel, always on
// top, with a description and a bar. One instance lives for the whole run; the description
// and the bar keep the values its last user gave them.
class ProgressWindow : public QWidget {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kBackground[] = "GP1";
    static constexpr const char kDescription[] = "Descr";

    // mainWindow: the application's main window, over whose middle the window shows (the
    // middle of the screen when there is none).
    explicit ProgressWindow(const QWidget *mainWindow = nullptr);

    void setDescr(const QString &text);
    QString descr() const;
    CylinderBar *bar() const { return m_bar; }

    // Disables the owner with the hourglass cursor, shows the window over the main window's
    // middle and wholly on the screen, and lets pending events run so that it paints.
    void Arata(QWidget *owner);
    // Hides the window, gives the owner back its state, cursor and the keyboard focus.
    void Distruge(QWidget *owner);

private:
    QPointer<const QWidget> m_mainWindow;
    GradientPanel *m_background;
    QLabel *m_descr;
    CylinderBar *m_bar;
    // The owner's own cursor, when it had one before Arata.
    QPointer<QWidget> m_owner;
    bool m_ownerHadCursor = false;
    QCursor m_ownerCursor;
};

} // namespace velmora
