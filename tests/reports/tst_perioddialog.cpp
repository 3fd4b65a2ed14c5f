// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/perioddialog.h"
#include "ui/fieldhint.h"
#include "ui/hintballoon.h"

#include "ui/modalanswer.h"

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QTest>

using namespace velmora;

namespace {

QDateEdit *picker(PeriodDialog &dialog, const char *name) {
    return dialog.findChild<QDateEdit *>(QLatin1String(name));
}

// The key goes to the control with the focus, as a user's would.
void press(PeriodDialog &dialog, Qt::Key key) {
    QWidget *focus = dialog.focusWidget();
    QTest::keyClick(focus ? focus : &dialog, key);
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
        QVERIFY(picker(dialog, "Data1") && picker(dialog, "Data2"));
        QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("But1"))->text(),
                 QStringLiteral("Listeaza"));
        QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("LbSpeedButton1"))->text(),
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
        picker(dialog, "Data1")->setDate(start);
        picker(dialog, "Data2")->setDate(end);
        bool sawHint = false;
        bool stayedAfterStart = false;
        answerWhenShown(&dialog, [&] {
            QVERIFY(picker(dialog, "Data1")->isAncestorOf(dialog.focusWidget()));
            for (const QString &step : action.split(u' ')) {
                if (step == QStringLiteral("enter")) {
                    const bool inStart =
                        picker(dialog, "Data1")->isAncestorOf(dialog.focusWidget());
                    press(dialog, Qt::Key_Return);
                    if (inStart) {
                        stayedAfterStart =
                            dialog.isVisible() &&
                            picker(dialog, "Data2")->isAncestorOf(dialog.focusWidget());
                    }
                } else if (step == QStringLiteral("esc")) {
                    press(dialog, Qt::Key_Escape);
                } else if (step == QStringLiteral("list")) {
                    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("But1")),
                                      Qt::LeftButton);
                } else {
                    QTest::mouseClick(
                        dialog.findChild<QPushButton *>(QStringLiteral("LbSpeedButton1")),
                        Qt::LeftButton);
                }
                if (HintBalloon *balloon = FieldHint::current()) {
                    sawHint = balloon->text() == QStringLiteral("Perioada incorecta!") &&
                              balloon->control() == picker(dialog, "Data2") && dialog.isVisible();
                }
            }
        });
        QCOMPARE(dialog.alegePerioada(), chosen);
        QCOMPARE(sawHint, hint);
        if (action.startsWith(QStringLiteral("enter")))
            QVERIFY(stayedAfterStart);
        // The dates stay as the user left them, for the next showing.
        QCOMPARE(dialog.from(), start);
        QCOMPARE(dialog.to(), end);
    }

    void flagClearedAtEveryShowing() {
        PeriodDialog dialog(QDate(2007, 6, 1));
        answerWhenShown(&dialog, [&] {
            press(dialog, Qt::Key_Return);
            press(dialog, Qt::Key_Return);
        });
        QVERIFY(dialog.alegePerioada());
        answerWhenShown(&dialog, [&] { press(dialog, Qt::Key_Escape); });
        QVERIFY(!dialog.alegePerioada());
        QVERIFY(!dialog.listingChosen());
    }
};

QTEST_MAIN(TestPeriodDialog)
#include "tst_perioddialog.moc"
