// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

class QAbstractButton;

namespace velmora {
class Application;
}

namespace velmora::shots {

class Studio;

// The program of a scene, started on the scene's program directory and through its start-up
// to the main menu, whose date is the studio's day; and what a scene does to its windows as
// a clerk would: clicks and typed keys.
class SceneProgram {
public:
    explicit SceneProgram(Studio &studio);
    ~SceneProgram();

    // Fills a program directory with a year of made-up sheets, the last on the studio's day,
    // always the same ones; before the program starts, which loads its pick lists from them.
    static void fillYear(const QString &programDir);

    Application &app() { return *m_app; }
    // Opens access to the data commands through the gate, as a clerk does where there is no
    // password (its warning answered). False, and a failure told, when access stays closed.
    bool openAccess();
    // A main menu button by its control name ("MBut1" for "Evidenta").
    QAbstractButton *menuButton(const char *name);

    // A control of window by its name; nullptr, and a failure told, when there is none.
    template <typename T = QWidget>
    T *control(QWidget &window, const char *name) {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            missing(window, name);
        return found;
    }
    // Puts the focus in a field as Tab does, which selects what it holds, and types text
    // over it; a suggestion list that opened on the way is left open.
    static void typeInto(QWidget *field, const QString &text);
    // Closes the suggestion list of a combo box field if it shows, with Esc as a clerk does.
    static void closeSuggestions(QWidget *field);

private:
    void missing(const QWidget &window, const char *name);

    Studio &m_studio;
    std::unique_ptr<Application> m_app;
};

} // namespace velmora::shots
