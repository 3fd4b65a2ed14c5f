// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/hintplacement.h"

#include <QTest>

using namespace velmora;

Q_DECLARE_METATYPE(HintPlacement::Corner)

class TestHintPlacement : public QObject {
    Q_OBJECT

    const QRect screen{0, 0, 1280, 1024};
    const QSize content{300, 60};
    static constexpr int pointer = 20;

private Q_SLOTS:
    void rooms() {
        const auto rooms = HintPlacement::rooms(QRect(100, 200, 50, 20), screen, pointer);
        // Left 100; right 1279 - 149; up 200 - 20 - 10; down 1023 - 219 - 20 - 10.
        QCOMPARE(rooms[HintPlacement::TopLeft], QSize(100, 170));
        QCOMPARE(rooms[HintPlacement::TopRight], QSize(1130, 170));
        QCOMPARE(rooms[HintPlacement::BottomLeft], QSize(100, 774));
        QCOMPARE(rooms[HintPlacement::BottomRight], QSize(1130, 774));
        // At the very edge there is no room, never a negative one.
        const auto none = HintPlacement::rooms(QRect(0, 0, 1280, 20), screen, pointer);
        QCOMPARE(none[HintPlacement::TopLeft], QSize(0, 0));
    }

    void choose_data() {
        QTest::addColumn<QRect>("control");
        QTest::addColumn<HintPlacement::Corner>("corner");

        QTest::newRow("middle: first try") << QRect(600, 500, 100, 21) << HintPlacement::TopLeft;
        QTest::newRow("near top-left") << QRect(10, 10, 100, 21) << HintPlacement::BottomRight;
        QTest::newRow("near top-left, room on the left")
            << QRect(400, 10, 100, 21) << HintPlacement::BottomLeft;
        QTest::newRow("near top-right") << QRect(1170, 10, 100, 21) << HintPlacement::BottomLeft;
        QTest::newRow("near bottom-left") << QRect(10, 990, 100, 21) << HintPlacement::TopRight;
        QTest::newRow("near bottom-right") << QRect(1170, 990, 100, 21) << HintPlacement::TopLeft;
        QTest::newRow("top edge, right side free")
            << QRect(200, 90, 100, 21) << HintPlacement::TopRight;
    }

    void choose() {
        QFETCH(QRect, control);
        QFETCH(HintPlacement::Corner, corner);
        QCOMPARE(HintPlacement::choose(control, screen, content, pointer), corner);
    }

    void contentIsCutToTheLargestRoom() {
        // No side has 300 pixels. The content counts as cut to the largest room (below on the
        // left, 250 wide), and then the first corner holding it is the one above on the left.
        const QRect control(250, 130, 930, 21);
        const auto rooms = HintPlacement::rooms(control, screen, pointer);
        QCOMPARE(rooms[HintPlacement::TopLeft], QSize(250, 100));
        QCOMPARE(rooms[HintPlacement::TopRight], QSize(100, 100));
        QCOMPARE(HintPlacement::largestRoom(rooms), HintPlacement::BottomLeft);
        QCOMPARE(HintPlacement::choose(control, screen, content, pointer), HintPlacement::TopLeft);
    }

    void wideControl() {
        // Across nearly the whole screen: the cut content is 60 wide, the room on the right
        // above holds it first.
        const QRect wide(20, 300, 1200, 200);
        const auto rooms = HintPlacement::rooms(wide, screen, pointer);
        QCOMPARE(HintPlacement::largestRoom(rooms), HintPlacement::BottomRight);
        QCOMPARE(HintPlacement::choose(wide, screen, content, pointer), HintPlacement::TopRight);
    }

    void largestRoomOfEquals() {
        const std::array<QSize, 4> rooms{QSize(10, 10), QSize(20, 20), QSize(20, 20), QSize(5, 5)};
        QCOMPARE(HintPlacement::largestRoom(rooms), HintPlacement::TopRight);
    }

    void fitWidthNarrowsInSteps() {
        int calls = 0;
        const auto contentAt = [&calls](int width) {
            ++calls;
            return QSize(width, 9000 / width);
        };
        QCOMPARE(HintPlacement::fitWidth(QSize(400, 400), 300, 10, 100, contentAt), 300);
        QCOMPARE(HintPlacement::fitWidth(QSize(255, 400), 300, 10, 100, contentAt), 250);
        QCOMPARE(HintPlacement::fitWidth(QSize(30, 400), 300, 10, 100, contentAt), 100);
        QVERIFY(calls > 0);
    }

    void balloonTouchesTheCorner_data() {
        QTest::addColumn<HintPlacement::Corner>("corner");
        QTest::newRow("top-left") << HintPlacement::TopLeft;
        QTest::newRow("top-right") << HintPlacement::TopRight;
        QTest::newRow("bottom-left") << HintPlacement::BottomLeft;
        QTest::newRow("bottom-right") << HintPlacement::BottomRight;
    }

    void balloonTouchesTheCorner() {
        QFETCH(HintPlacement::Corner, corner);
        const QRect control(500, 400, 120, 21);
        const QRect balloon =
            HintPlacement::balloonRect(corner, control, content, QSize(pointer, pointer), 20);
        QCOMPARE(balloon.size(), QSize(300, 80));
        // Never over the control, just beside the corner's edge.
        QVERIFY(!balloon.intersects(control));
        const QPoint tip = HintPlacement::tip(corner, control);
        if (HintPlacement::above(corner))
            QCOMPARE(balloon.bottom(), tip.y() - 1);
        else
            QCOMPARE(balloon.top(), tip.y() + 1);
        // The pointer sits 20 pixels from the near side, the balloon on the far side.
        if (corner == HintPlacement::TopLeft || corner == HintPlacement::BottomLeft)
            QCOMPARE(balloon.right() - 20, tip.x());
        else
            QCOMPARE(balloon.left() + 20, tip.x());
    }
};

QTEST_GUILESS_MAIN(TestHintPlacement)
#include "tst_hintplacement.moc"
