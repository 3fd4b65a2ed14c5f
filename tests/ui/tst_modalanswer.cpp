// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/modalanswer.h"

#include <QDialog>
#include <QTest>

// The helper that answers modal windows in every GUI test: it must say when a window did not
// come, so that no test passes with its checks skipped.
class TestModalAnswer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aWindowThatShowsIsAnswered() {
        QDialog dialog;
        dialog.setObjectName(QStringLiteral("Dialog1"));
        bool answered = false;
        const ModalAnswer answer = answerWhenShown(&dialog, [&] {
            answered = dialog.isVisible();
            dialog.accept();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        VELMORA_VERIFY_MODAL(answer);
        QVERIFY(answered);
    }

    void aWindowThatNeverShowsIsSaidByName() {
        QDialog dialog;
        dialog.setObjectName(QStringLiteral("Dialog1"));
        bool answered = false;
        const ModalAnswer answer = answerWhenShown(&dialog, [&] { answered = true; });
        // What a window that lost its exec() does: nothing.
        QVERIFY(!answer.ran());
        QVERIFY2(answer.missing().contains("Dialog1"), answer.missing().constData());
        QVERIFY(!answered);
    }

    void theCheckFailsWhenTheWindowNeverShows() {
        QDialog dialog;
        const ModalAnswer answer = answerWhenShown(&dialog, [] {});
        QEXPECT_FAIL("", "the window never showed", Abort);
        VELMORA_VERIFY_MODAL(answer);
    }

    void anAnswerNobodyCheckedFails() {
        QDialog dialog;
        QEXPECT_FAIL("", "the answer was never checked", Abort);
        const ModalAnswer unchecked = answerWhenShown(&dialog, [] {});
    }

    // A step whose action opens the next window is still running when that window's step
    // comes: the steps are answered one inside the other.
    void stepsAnswerWindowsOpenedByEarlierSteps() {
        QDialog outer;
        QDialog inner;
        QStringList order;
        const ModalAnswer answer({ModalStep::window(&outer,
                                                    [&] {
                                                        order << QStringLiteral("outer");
                                                        inner.exec();
                                                        outer.accept();
                                                    }),
                                  ModalStep::window(&inner, [&] {
                                      order << QStringLiteral("inner");
                                      inner.reject();
                                  })});
        outer.exec();
        VELMORA_VERIFY_MODAL(answer);
        QCOMPARE(order, QStringList({QStringLiteral("outer"), QStringLiteral("inner")}));
    }

    // A step of the other kind: the first modal window of a class, whichever object it is.
    void aStepFindsAWindowByItsClass() {
        QDialog dialog;
        QString seen;
        const ModalAnswer answer({ModalStep::of<QDialog>([&](QDialog &shown) {
            seen = shown.objectName();
            shown.reject();
        })});
        dialog.setObjectName(QStringLiteral("Dialog2"));
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        VELMORA_VERIFY_MODAL(answer);
        QCOMPARE(seen, QStringLiteral("Dialog2"));
    }
};

QTEST_MAIN(TestModalAnswer)
#include "tst_modalanswer.moc"
