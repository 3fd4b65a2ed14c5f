// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDialog>

class QPushButton;

namespace velmora {

class DateField;

// The period choice in front of the period report ("Foi de parcurs"): a start and an end
// date, "Listeaza" and "Renunt". The dates start one month back from today and then keep
// whatever the user chose last, as long as the program runs.
class PeriodDialog : public QDialog {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kStartDate[] = "Data1";
    static constexpr const char kEndDate[] = "Data2";
    static constexpr const char kListButton[] = "But1";
    static constexpr const char kCancelButton[] = "LbSpeedButton1";

    static constexpr int kWidth = 237;
    static constexpr int kHeight = 235;

    explicit PeriodDialog(QDate today = QDate::currentDate(), QWidget *parent = nullptr);

    // Shows the window modally; true when the user confirmed a valid period.
    bool choosePeriod();
    QDate from() const;
    QDate to() const;
    bool listingChosen() const { return m_chosen; }

private:
    // "Listeaza": an impossible date gets its hint; a period whose end lies before its start
    // gets a hint on the end date.
    void confirm();

    DateField *m_fromDate;
    DateField *m_toDate;
    QPushButton *m_list;
    QPushButton *m_cancel;
    bool m_chosen = false;
};

} // namespace velmora
