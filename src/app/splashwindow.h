// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/text/fixed4.h"

#include <QStringList>
#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

namespace velmora {

class ProgramContext;

// The splash window shown while the program starts: it draws the start-up and runs it (the
// data directory and tables, the start settings, the packing of both tables), then hides.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kStartTimer[] = "Timer1";

    static constexpr int kBarLeft = 48;
    static constexpr int kBarTop = 160;
    static constexpr int kBarBottom = 178;

    explicit SplashWindow(ProgramContext &context);

    Fixed4 ProgressValue() const { return m_progressValue; }
    // Width in pixels of the bar drawn so far.
    int progressWidth() const;
    // Adds n to the progress and draws the bar.
    void StepProgress(int n);
    // Loads the sheet editor's pick lists once the tables exist.
    void setPickListLoader(std::function<void()> loader) { m_loadPickLists = std::move(loader); }

Q_SIGNALS:
    // The start-up work is over and the splash hidden: the main menu comes next, before any
    // error of the packing is shown.
    void workDone();
    // The start-up work is over and the main menu is shown (possibly after an error box).
    void startupFinished();
    // What a killed restore or backup left was dealt with, or packing mended tables that were
    // cut short: one line each, said once.
    void tablesRepaired(const QStringList &repairs);
    // The data directory or a table could not be made: the program cannot work and ends.
    void startupFailed();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void runStartup();
    QLabel *shadowedLabel(const char *name, const char *shadowName, const QFont &font,
                          const QColor &shadow, QPoint at, QPoint shadowOffset);

    ProgramContext &m_context;
    Fixed4 m_progressValue;
    QTimer *m_startTimer;
    QLabel *m_heading;
    QLabel *m_headingShadow;
    QLabel *m_status;
    QLabel *m_barPattern;
    std::function<void()> m_loadPickLists;
};

} // namespace velmora
