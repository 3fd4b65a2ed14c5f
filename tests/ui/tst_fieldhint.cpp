// SPDX-License-Identifier: GPL-3.0-or-later
#include "queuedevents.h"
#include "ui/fieldhint.h"
#include "ui/hintballoon.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using namespace velmora;

class TestFieldHint : public QObject {
    Q_OBJECT

    QWidget *window = nullptr;
    QLineEdit *first = nullptr;
    QLineEdit *second = nullptr;

private Q_SLOTS:
    void init() {
        window = new QWidget;
        auto *layout = new QVBoxLayout(window);
        first = new QLineEdit(window);
        second = new QLineEdit(window);
        layout->addWidget(first);
        layout->addWidget(second);
        window->resize(300, 120);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        // Room for a full-width balloon on the left of the fields.
        window->move(screen.right() - 360, screen.center().y() - 60);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    void cleanup() {
        FieldHint::hide();
        delete window;
        QTest::qWait(1);
    }

    void showsAtTheControl() {
        HintBalloon *balloon =
            FieldHint::show(QStringLiteral("Lipseste Numele Soferului!"), second);
        QVERIFY(balloon);
        QCOMPARE(FieldHint::current(), balloon);
        QVERIFY(balloon->isVisible());
        QCOMPARE(balloon->text(), QStringLiteral("Lipseste Numele Soferului!"));
        QCOMPARE(balloon->control(), second);
        QCOMPARE(balloon->objectName(), QStringLiteral("Hint1"));
        QCOMPARE(balloon->lifetime()->interval(), 5000);
        QVERIFY(balloon->lifetime()->isActive());
        QVERIFY(balloon->lifetime()->isSingleShot());
        QVERIFY(balloon->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(balloon->testAttribute(Qt::WA_ShowWithoutActivating));

        // Room enough everywhere: the first corner, above the control on its left.
        QCOMPARE(balloon->corner(), HintPlacement::TopLeft);
        const QRect control(second->mapToGlobal(QPoint(0, 0)), second->size());
        const QRect frame = balloon->geometry();
        QCOMPARE(frame.bottom(), control.top() - 1);
        QCOMPARE(frame.right() - HintBalloon::kPointerOffset, control.left());
        QCOMPARE(frame.height(), balloon->contentSize().height() + HintBalloon::kPointer);
        QVERIFY(balloon->contentSize().width() <= HintBalloon::kPreferredWidth);
    }

    void longTextWrapsAtThePreferredWidth() {
        const QString text = QStringLiteral("Alegeti mai intai o foaie de  parcurs! ").repeated(6);
        HintBalloon *balloon = FieldHint::show(text, first);
        QCOMPARE(balloon->layoutWidth(), 300);
        QVERIFY(balloon->contentSize().width() > 250 && balloon->contentSize().width() <= 300);
        QVERIFY(balloon->contentSize().height() > balloon->contentAt(600).height());
    }

    void narrowedToTheRoomThereIs() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        window->setGeometry(screen.left(), screen.top() + 200, screen.width() - 200, 120);
        QTest::qWait(1);
        const QString text = QStringLiteral("Alegeti mai intai o Plecare / Sosire! ").repeated(4);
        HintBalloon *balloon = FieldHint::show(text, first);
        const QRect control(first->mapToGlobal(QPoint(0, 0)), first->size());
        const int roomOnTheRight = screen.right() - control.right();
        QVERIFY(roomOnTheRight < 300);
        QVERIFY(balloon->layoutWidth() < 300);
        QVERIFY(balloon->contentSize().width() <= roomOnTheRight);
        QVERIFY(balloon->contentSize().width() <= balloon->layoutWidth());
        QCOMPARE(balloon->contentSize(), balloon->contentAt(balloon->layoutWidth()));
        QCOMPARE(balloon->corner(), HintPlacement::TopRight);
        QVERIFY(screen.contains(balloon->geometry()));
    }

    void newerReplacesOlder() {
        QPointer<HintBalloon> older = FieldHint::show(QStringLiteral("Unu"), first);
        QPointer<HintBalloon> newer = FieldHint::show(QStringLiteral("Doi"), second);
        QVERIFY(!older || !older->isVisible());
        QTRY_VERIFY(older.isNull());
        QVERIFY(newer && newer->isVisible());
        QCOMPARE(FieldHint::current(), newer.data());
    }

    void clickOnTheBalloonReleasesIt() {
        QPointer<HintBalloon> balloon =
            FieldHint::show(QStringLiteral("Nu aveti ce sterge!"), first);
        QTest::mouseClick(balloon.data(), Qt::LeftButton, {}, QPoint(40, 20));
        QCOMPARE(FieldHint::current(), nullptr);
        QTRY_VERIFY(balloon.isNull());
    }

    void clickElsewhereReleasesIt() {
        QPointer<HintBalloon> balloon =
            FieldHint::show(QStringLiteral("Perioada incorecta!"), first);
        QTest::mouseClick(second, Qt::LeftButton);
        QTRY_VERIFY(balloon.isNull());
        QCOMPARE(FieldHint::current(), nullptr);
    }

    void timeUpReleasesIt() {
        QPointer<HintBalloon> balloon =
            FieldHint::show(QStringLiteral("Lipseste Numarul de Km!"), first);
        // Still there once everything queued so far has been delivered: only its time ends it.
        QVERIFY(deliverQueuedEvents());
        QVERIFY(balloon);
        balloon->lifetime()->start(0);
        QTRY_VERIFY(balloon.isNull());
    }

    void hidingTheControlReleasesIt() {
        QPointer<HintBalloon> balloon = FieldHint::show(QStringLiteral("x"), first);
        window->hide();
        QTRY_VERIFY(balloon.isNull());
    }

    void keysStayWithTheWindow() {
        first->setFocus();
        QPointer<HintBalloon> balloon = FieldHint::show(QStringLiteral("Lipseste!"), first);
        QTest::keyClicks(first, QStringLiteral("AB"));
        QCOMPARE(first->text(), QStringLiteral("AB"));
        QVERIFY(balloon && balloon->isVisible());
    }
};

QTEST_MAIN(TestFieldHint)
#include "tst_fieldhint.moc"
