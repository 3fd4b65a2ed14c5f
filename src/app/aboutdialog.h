// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;

namespace velmora {

// The About window.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kHeadingLabel[] = "Label1";
    static constexpr const char kContinueButton[] = "BE1";

    // title: the program's name and version, the heading.
    explicit AboutDialog(const QString &title, QWidget *parent = nullptr);

    QString heading() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_heading;
    QLabel *m_headingShadow;
};

} // namespace velmora
