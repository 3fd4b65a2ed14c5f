// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/perioddialog.h"
#include "ui/datefield.h"
#include "ui/fieldhint.h"
#include "ui/hintballoon.h"

#include "ui/modalanswer.h"
#include "ui/windowkeys.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

DateField *picker(PeriodDialog &dialog, const char *name) {
    return dialog.findChild<DateField *>(QLatin1String(name));
}

// The key goes to the control with the focus, as a user's would.
void press(PeriodDialog &dialog, Qt::Key key) {
    QWidget *focus = dialog.focusWidget();
    QTest::keyClick(focus ? focus : &dialog, key);
}

// Keys through the window; "@Name" is a click into the control of that name.
void play(PeriodDialog &dialog, const QStringList &steps) {
    for (const QString &step : steps) {
        if (step.startsWith(u'@')) {
            auto *control = dialog.findChild<QWidget *>(step.mid(1));
            QVERIFY2(control, qPrintable(step));
            auto *edit = control->findChild<QLineEdit *>();
            WindowKeys::click(edit ? static_cast<QWidget *>(edit) : control);
        } else {
            WindowKeys::play(dialog.windowHandle(), {step});
        }
    }
}

void activate(QWidget &dialog) {
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

// A check that fails inside the window leaves it through here instead of leaving it open.
struct CloseOnExit {
    QDialog &dialog;
    ~CloseOnExit() {
        if (dialog.isVisible())
            dialog.reject();
    }
};

QCalendarWidget *openCalendar() {
    QWidget *popup = QApplication::activePopupWidget();
    return popup ? popup->findChild<QCalendarWidget *>() : nullptr;
}

} // namespace

class TestPeriodDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { FieldHint::hide(); }

    void layoutAndNames() {
        PeriodDialog dialog(QDate(2007, 5, 15));
        QCOMPARE(dialog.objectName(), QStringLiteral("PerioadaF"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Foi de parcurs"));
        QCOMPARE(dialog.size(), QSize(PeriodDialog::kWidth, PeriodDialog::kHeight));
        QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(picker(dialog, PeriodDialog::kStartDate) && picker(dialog, PeriodDialog::kEndDate));
        QCOMPARE(dialog.findChild<QPushButton *>(QLatin1String(PeriodDialog::kListButton))->text(),
                 QStringLiteral("Listeaza"));
        QCOMPARE(
            dialog.findChild<QPushButton *>(QLatin1String(PeriodDialog::kCancelButton))->text(),
            QStringLiteral("Renunt"));
    }

    void defaults_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("start");
        QTest::newRow("a month back") << QDate(2007, 5, 15) << QDate(2007, 4, 15);
        QTest::newRow("31 March") << QDate(2007, 3, 31) << QDate(2007, 2, 28);
        QTest::newRow("31 March, leap year") << QDate(2008, 3, 31) << QDate(2008, 2, 29);
        QTest::newRow("January") << QDate(2007, 1, 10) << QDate(2006, 12, 10);
    }

    void defaults() {
        QFETCH(QDate, today);
        QFETCH(QDate, start);
        PeriodDialog dialog(today);
        QCOMPARE(dialog.from(), start);
        QCOMPARE(dialog.to(), today);
    }

    // Enter in the start date only moves on; Enter in the end date lists, or shows the hint
    // when the period is reversed; Esc and "Renunt" cancel.
    void keys_data() {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<bool>("hint");
        const QDate may1(2007, 5, 1);
        const QDate may31(2007, 5, 31);
        QTest::newRow("enter, enter") << may1 << may31 << "enter enter" << true << false;
        QTest::newRow("one day") << may31 << may31 << "enter enter" << true << false;
        QTest::newRow("reversed") << may31 << may1 << "enter enter esc" << false << true;
        QTest::newRow("enter in the start only") << may1 << may31 << "enter esc" << false << false;
        QTest::newRow("Listeaza") << may1 << may31 << "list" << true << false;
        QTest::newRow("Listeaza, reversed") << may31 << may1 << "list esc" << false << true;
        QTest::newRow("Renunt") << may1 << may31 << "cancel" << false << false;
    }

    void keys() {
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(QString, action);
        QFETCH(bool, chosen);
        QFETCH(bool, hint);
        PeriodDialog dialog(QDate(2007, 6, 1));
        picker(dialog, PeriodDialog::kStartDate)->setDate(start);
        picker(dialog, PeriodDialog::kEndDate)->setDate(end);
        bool sawHint = false;
        bool stayedAfterStart = false;
        const ModalAnswer answer = answerWhenShown(&dialog, [&] {
            QVERIFY(picker(dialog, PeriodDialog::kStartDate)->isAncestorOf(dialog.focusWidget()));
            for (const QString &step : action.split(u' ')) {
                if (step == QStringLiteral("enter")) {
                    const bool inStart = picker(dialog, PeriodDialog::kStartDate)
                                             ->isAncestorOf(dialog.focusWidget());
                    press(dialog, Qt::Key_Return);
                    if (inStart) {
                        stayedAfterStart =
                            dialog.isVisible() && picker(dialog, PeriodDialog::kEndDate)
                                                      ->isAncestorOf(dialog.focusWidget());
                    }
                } else if (step == QStringLiteral("esc")) {
                    press(dialog, Qt::Key_Escape);
                } else if (step == QStringLiteral("list")) {
                    QTest::mouseClick(
                        dialog.findChild<QPushButton *>(QLatin1String(PeriodDialog::kListButton)),
                        Qt::LeftButton);
                } else {
                    QTest::mouseClick(
                        dialog.findChild<QPushButton *>(QLatin1String(PeriodDialog::kCancelButton)),
                        Qt::LeftButton);
                }
                if (HintBalloon *balloon = FieldHint::current()) {
                    sawHint = balloon->text() == QStringLiteral("Perioada incorecta!") &&
                              balloon->control() == picker(dialog, PeriodDialog::kEndDate) &&
                              dialog.isVisible();
                }
            }
        });
        QCOMPARE(dialog.choosePeriod(), chosen);
        VELMORA_VERIFY_MODAL(answer);
        QCOMPARE(sawHint, hint);
        if (action.startsWith(QStringLiteral("enter")))
            QVERIFY(stayedAfterStart);
        // The dates stay as the user left them, for the next showing.
        QCOMPARE(dialog.from(), start);
        QCOMPARE(dialog.to(), end);
    }

    // Dates typed as they are printed, after Enter, Tab or a click, and the arrow keys.
    void typedDates_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        const QDate may1(2007, 5, 1);
        const QDate may31(2007, 5, 31);
        QTest::newRow("as printed, Enter")
            << QStringList{u"01.05.2007"_s, u"<Return>"_s, u"31.05.2007"_s, u"<Return>"_s} << may1
            << may31;
        QTest::newRow("without zeros, Tab")
            << QStringList{u"1.5.2007"_s, u"<Tab>"_s, u"31.5.2007"_s, u"<Return>"_s} << may1
            << may31;
        QTest::newRow("digits") << QStringList{u"01052007"_s, u"<Return>"_s, u"31052007"_s,
                                               u"<Return>"_s}
                                << may1 << may31;
        QTest::newRow("after clicks, Listeaza")
            << QStringList{WindowKeys::clickInto(PeriodDialog::kEndDate), u"31.05.2007"_s,
                           WindowKeys::clickInto(PeriodDialog::kStartDate), u"01.05.2007"_s,
                           WindowKeys::clickInto(PeriodDialog::kListButton)}
            << may1 << may31;
        QTest::newRow("month over its selection")
            << QStringList{u"01.04.2007"_s, u"<Home>"_s,     u"<Right>"_s,   u"<Right>"_s,
                           u"<Right>"_s,    u"<S-Right>"_s,  u"<S-Right>"_s, u"05"_s,
                           u"<Return>"_s,   u"31.05.2007"_s, u"<Return>"_s}
            << may1 << may31;
        QTest::newRow("arrows") << QStringList{u"02.05.2007"_s, u"<Home>"_s,     u"<Down>"_s,
                                               u"<Return>"_s,   u"31.05.2007"_s, u"<End>"_s,
                                               u"<Up>"_s,       u"<Down>"_s,     u"<Return>"_s}
                                << may1 << may31;
    }
    void typedDates() {
        QFETCH(QStringList, steps);
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        PeriodDialog dialog(QDate(2007, 6, 14));
        const ModalAnswer answer = answerWhenShown(&dialog, [&] {
            const CloseOnExit closer{dialog};
            activate(dialog);
            play(dialog, steps);
        });
        QVERIFY(dialog.choosePeriod());
        VELMORA_VERIFY_MODAL(answer);
        QCOMPARE(dialog.from(), start);
        QCOMPARE(dialog.to(), end);
    }

    // An impossible date is said where it was typed; no listing starts.
    void anImpossibleDateIsAHint_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("field");
        QTest::newRow("start, Enter")
            << QStringList{u"31.02.2007"_s, u"<Return>"_s} << PeriodDialog::kStartDate;
        QTest::newRow("start, Tab")
            << QStringList{u"30.02.2007"_s, u"<Tab>"_s} << PeriodDialog::kStartDate;
        QTest::newRow("start, two-digit year")
            << QStringList{u"01.05.07"_s, u"<Return>"_s} << PeriodDialog::kStartDate;
        QTest::newRow("end, Enter")
            << QStringList{u"<Return>"_s, u"31.04.2007"_s, u"<Return>"_s} << PeriodDialog::kEndDate;
        QTest::newRow("end, Listeaza")
            << QStringList{WindowKeys::clickInto(PeriodDialog::kEndDate), u"32.05.2007"_s,
                           WindowKeys::clickInto(PeriodDialog::kListButton)}
            << PeriodDialog::kEndDate;
    }
    void anImpossibleDateIsAHint() {
        QFETCH(QStringList, steps);
        QFETCH(QString, field);
        PeriodDialog dialog(QDate(2007, 6, 14));
        bool refused = false;
        const ModalAnswer answer = answerWhenShown(&dialog, [&] {
            const CloseOnExit closer{dialog};
            activate(dialog);
            play(dialog, steps);
            QTRY_VERIFY(FieldHint::current());
            refused = dialog.isVisible() && FieldHint::current()->text() == u"Data incorecta!"_s &&
                      FieldHint::current()->control()->objectName() == field &&
                      dialog.focusWidget() == dialog.findChild<QWidget *>(field);
            WindowKeys::press(dialog.windowHandle(), u"Escape"_s);
        });
        QVERIFY(!dialog.choosePeriod());
        VELMORA_VERIFY_MODAL(answer);
        QVERIFY(refused);
    }

    // The calendar drops down from the arrow or with F4; Enter takes the day chosen in it with
    // the arrow keys, Esc closes it alone.
    void calendarPopup() {
        PeriodDialog dialog(QDate(2007, 6, 14));
        QDate shown;
        bool escClosedOnlyTheCalendar = false;
        const ModalAnswer answer = answerWhenShown(&dialog, [&] {
            const CloseOnExit closer{dialog};
            activate(dialog);
            QWidget *end = picker(dialog, PeriodDialog::kEndDate);
            WindowKeys::click(end, QPoint(end->width() - 6, end->height() / 2));
            QTRY_VERIFY(openCalendar());
            shown = openCalendar()->selectedDate();
            WindowKeys::play(dialog.windowHandle(), {u"<Right>"_s, u"<Return>"_s});
            QTRY_VERIFY(!openCalendar());
            WindowKeys::play(dialog.windowHandle(), {u"<Backtab>"_s, u"<F4>"_s});
            QTRY_VERIFY(openCalendar());
            WindowKeys::play(dialog.windowHandle(), {u"<Escape>"_s});
            QTRY_VERIFY(!openCalendar());
            escClosedOnlyTheCalendar = dialog.isVisible();
            WindowKeys::play(dialog.windowHandle(), {u"<Return>"_s, u"<Return>"_s});
        });
        QVERIFY(dialog.choosePeriod());
        VELMORA_VERIFY_MODAL(answer);
        QCOMPARE(shown, QDate(2007, 6, 14));
        QCOMPARE(dialog.to(), QDate(2007, 6, 15));
        QCOMPARE(dialog.from(), QDate(2007, 5, 14));
        QVERIFY(escClosedOnlyTheCalendar);
    }

    void flagClearedAtEveryShowing() {
        PeriodDialog dialog(QDate(2007, 6, 1));
        const ModalAnswer answer = answerWhenShown(&dialog, [&] {
            press(dialog, Qt::Key_Return);
            press(dialog, Qt::Key_Return);
        });
        QVERIFY(dialog.choosePeriod());
        VELMORA_VERIFY_MODAL(answer);
        const ModalAnswer answer2 =
            answerWhenShown(&dialog, [&] { press(dialog, Qt::Key_Escape); });
        QVERIFY(!dialog.choosePeriod());
        VELMORA_VERIFY_MODAL(answer2);
        QVERIFY(!dialog.listingChosen());
    }
};

QTEST_MAIN(TestPeriodDialog)
#include "tst_perioddialog.moc"
