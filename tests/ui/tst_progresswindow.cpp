// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/cylinderbar.h"
#include "ui/gradientpanel.h"
#include "ui/progresswindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace velmora;

class TestProgressWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parts() {
        ProgressWindow contor;
        QCOMPARE(contor.objectName(), QStringLiteral("Contor"));
        QCOMPARE(contor.size(), QSize(329, 71));
        QVERIFY(contor.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(contor.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(contor.cursor().shape(), Qt::WaitCursor);

        auto *background =
            contor.findChild<GradientPanel *>(QLatin1String(ProgressWindow::kBackground));
        QVERIFY(background);
        QCOMPARE(background->geometry(), QRect(0, 0, 329, 71));
        QVERIFY(background->fromMiddle());
        QCOMPARE(background->direction(), Gradient::Direction::TopToBottom);
        QCOMPARE(background->stripes(), 64);
        QCOMPARE(background->firstColor(), QColor(0xAC, 0xB8, 0xCC));
        QCOMPARE(background->lastColor(), QColor(0x52, 0x66, 0x87));

        auto *descr = contor.findChild<QLabel *>(QLatin1String(ProgressWindow::kDescription));
        QCOMPARE(descr->pos(), QPoint(16, 12));
        QVERIFY(descr->font().bold());
        QCOMPARE(descr->palette().color(QPalette::WindowText), QColor(0x2D, 0x38, 0x4A));
        contor.setDescr(QStringLiteral("Salvez starea actuala..."));
        QCOMPARE(contor.descr(), QStringLiteral("Salvez starea actuala..."));
        QVERIFY(descr->width() >= descr->sizeHint().width());

        QCOMPARE(contor.bar()->objectName(), QStringLiteral("Bar"));
        QCOMPARE(contor.bar()->geometry(), QRect(14, 28, 300, 24));
    }

    void barStartsHalfFull() {
        ProgressWindow contor;
        CylinderBar *bar = contor.bar();
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(bar->position(), 50);
        QCOMPARE(bar->innerLength(), 296);
        QCOMPARE(bar->filledLength(), 148);
    }

    void fill_data() {
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("filled");

        QTest::newRow("beyond the maximum fills") << 4 << 7 << 296;
        QTest::newRow("at the maximum") << 4 << 4 << 296;
        QTest::newRow("zero empties") << 4 << 0 << 0;
        QTest::newRow("negative empties") << 4 << -3 << 0;
        QTest::newRow("a third, rounded") << 3 << 1 << 99;
        QTest::newRow("two thirds, rounded") << 3 << 2 << 197;
        QTest::newRow("one member of many") << 1000 << 1 << 0;
        QTest::newRow("a half to even") << 592 << 1 << 0;
        QTest::newRow("three halves to even") << 592 << 3 << 2;
    }

    void fill() {
        QFETCH(int, maximum);
        QFETCH(int, position);
        QFETCH(int, filled);
        CylinderBar bar;
        bar.resize(300, 24);
        bar.setMaximum(maximum);
        bar.setPosition(position);
        QCOMPARE(bar.position(), position);
        QCOMPARE(bar.filledLength(), filled);
    }

    void zeroMaximumKeepsTheFill() {
        CylinderBar bar;
        bar.resize(300, 24);
        bar.setMaximum(4);
        bar.setPosition(1);
        QCOMPARE(bar.filledLength(), 74);
        bar.setMaximum(-5);
        QCOMPARE(bar.maximum(), 0);
        bar.setPosition(3);
        QCOMPARE(bar.position(), 3);
        QCOMPARE(bar.filledLength(), 74);
        bar.setPosition(0);
        QCOMPARE(bar.filledLength(), 74);
    }

    void maximumAloneDoesNotRefill() {
        CylinderBar bar;
        bar.resize(300, 24);
        bar.setMaximum(10);
        bar.setPosition(5);
        QCOMPARE(bar.filledLength(), 148);
        bar.setMaximum(20);
        QCOMPARE(bar.filledLength(), 148);
        bar.setPosition(5);
        QCOMPARE(bar.filledLength(), 74);
    }

    void arataAndDistruge() {
        QWidget owner;
        owner.resize(400, 300);
        auto *button = new QPushButton(QStringLiteral("x"), &owner);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        button->setFocus();

        ProgressWindow contor(&owner);
        contor.Arata(&owner);
        QVERIFY(contor.isVisible());
        QVERIFY(!owner.isEnabled());
        QCOMPARE(owner.cursor().shape(), Qt::WaitCursor);
        // Over the main window's middle.
        QVERIFY(
            (contor.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength() <=
            2);

        contor.bar()->setMaximum(3);
        contor.bar()->setPosition(2);
        contor.Distruge(&owner);
        QVERIFY(!contor.isVisible());
        QVERIFY(owner.isEnabled());
        QCOMPARE(owner.cursor().shape(), Qt::ArrowCursor);
        // The bar keeps what its last user set.
        QCOMPARE(contor.bar()->maximum(), 3);
        QCOMPARE(contor.bar()->position(), 2);
    }

    void placedOverTheMainWindowAndWhollyOnScreen_data() {
        QTest::addColumn<QRect>("mainWindow");
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<bool>("centred");

        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect middle(area.center() - QPoint(200, 150), QSize(400, 300));
        QTest::newRow("the owner elsewhere")
            << middle << QRect(area.topLeft(), QSize(120, 90)) << true;
        QTest::newRow("main window at the top left")
            << QRect(area.topLeft(), QSize(120, 60)) << middle << false;
        QTest::newRow("main window at the bottom right")
            << QRect(area.bottomRight() - QPoint(99, 39), QSize(100, 40)) << middle << false;
        QTest::newRow("main window off the left edge")
            << QRect(area.left() - 150, area.top() + 200, 200, 100) << middle << false;
    }

    void placedOverTheMainWindowAndWhollyOnScreen() {
        QFETCH(QRect, mainWindow);
        QFETCH(QRect, owner);
        QFETCH(bool, centred);
        // The main window need not be on screen: the splash is hidden once the menu shows.
        QWidget main;
        main.setGeometry(mainWindow);
        QWidget ownerWindow;
        ownerWindow.setGeometry(owner);
        ownerWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ownerWindow));

        ProgressWindow contor(&main);
        contor.Arata(&ownerWindow);
        const QRect placed = contor.frameGeometry();
        QVERIFY2(QGuiApplication::primaryScreen()->availableGeometry().contains(placed),
                 qPrintable(QStringLiteral("%1,%2").arg(placed.x()).arg(placed.y())));
        if (centred)
            QVERIFY((placed.center() - mainWindow.center()).manhattanLength() <= 2);
        contor.Distruge(&ownerWindow);
    }

    void withoutAMainWindowInTheMiddleOfTheScreen() {
        QWidget owner;
        owner.setGeometry(0, 0, 100, 80);
        ProgressWindow contor;
        contor.Arata(&owner);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY((contor.frameGeometry().center() - area.center()).manhattanLength() <= 2);
        contor.Distruge(&owner);
    }

    void distrugeGivesBackTheOwnersCursor() {
        QWidget owner;
        owner.setCursor(Qt::CrossCursor);
        ProgressWindow contor;
        contor.Arata(&owner);
        QCOMPARE(owner.cursor().shape(), Qt::WaitCursor);
        contor.Distruge(&owner);
        QCOMPARE(owner.cursor().shape(), Qt::CrossCursor);
    }
};

QTEST_MAIN(TestProgressWindow)
#include "tst_progresswindow.moc"
