// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tnumericedit.h"

#include <QKeyEvent>
#include <QTest>

using namespace velmora;

namespace {

Fixed4 fixed(const char *text) {
    return Fixed4::parse(QString::fromLatin1(text)).value();
}

} // namespace

class TestTNumericEdit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void construction() {
        TNumericEdit edit;
        QVERIFY(edit.isReadOnly());
        QCOMPARE(edit.text(), QStringLiteral("0"));
        QCOMPARE(edit.Initial(), QStringLiteral("0"));
        QCOMPARE(edit.Maska(), Fixed4());
        QVERIFY(edit.Intact());
        QCOMPARE(edit.palette().color(QPalette::Text), QColor(0x00, 0x00, 0x80));
    }

    // Keys pressed on the widget itself, keypad and main keys alike.
    void keys_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QList<int>>("keypad");
        QTest::addColumn<QString>("expected");

        const QList<int> none;
        QTest::newRow("digits over 0")
            << "333.22" << QList<int>{Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4} << none << "1234";
        QTest::newRow("keypad digits")
            << "333.22" << QList<int>{Qt::Key_7, Qt::Key_0} << QList<int>{0, 1} << "70";
        QTest::newRow("seventh refused")
            << "333.22" << QList<int>{Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4,
                                      Qt::Key_5, Qt::Key_6, Qt::Key_7}
            << none << "123456";
        QTest::newRow("comma key gives a point")
            << "333.22" << QList<int>{Qt::Key_1, Qt::Key_Comma, Qt::Key_5} << none << "1.5";
        QTest::newRow("keypad point")
            << "333.22" << QList<int>{Qt::Key_2, Qt::Key_Period, Qt::Key_5} << QList<int>{1}
            << "2.5";
        QTest::newRow("point twice")
            << "333.22" << QList<int>{Qt::Key_1, Qt::Key_Period, Qt::Key_Period, Qt::Key_2} << none
            << "1.2";
        QTest::newRow("fourth decimal refused")
            << "333.22"
            << QList<int>{Qt::Key_1, Qt::Key_Period, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5}
            << none << "1.234";
        QTest::newRow("minus on 0 empties") << "333.22" << QList<int>{Qt::Key_Minus} << none << "";
        QTest::newRow("keypad minus on 0")
            << "333.22" << QList<int>{Qt::Key_Minus} << QList<int>{0} << "";
        QTest::newRow("minus on a positive mask")
            << "333.22" << QList<int>{Qt::Key_5, Qt::Key_Home, Qt::Key_Minus} << none << "5";
        QTest::newRow("minus on a negative mask")
            << "-333.22" << QList<int>{Qt::Key_5, Qt::Key_Home, Qt::Key_Minus} << none << "-5";
        QTest::newRow("backspace")
            << "333.22" << QList<int>{Qt::Key_1, Qt::Key_2, Qt::Key_Backspace} << none << "1";
        QTest::newRow("delete after home")
            << "333.22" << QList<int>{Qt::Key_1, Qt::Key_2, Qt::Key_Home, Qt::Key_Delete} << none
            << "2";
        QTest::newRow("letters do nothing")
            << "333.22" << QList<int>{Qt::Key_A, Qt::Key_Space, Qt::Key_Plus} << none << "0";
        QTest::newRow("typing in the middle")
            << "33233.22" << QList<int>{Qt::Key_1, Qt::Key_3, Qt::Key_Left, Qt::Key_2} << none
            << "123";
    }

    void keys() {
        QFETCH(QString, mask);
        QFETCH(QList<int>, keys);
        QFETCH(QList<int>, keypad);
        QFETCH(QString, expected);

        TNumericEdit edit;
        edit.setMaxLength(8);
        edit.setMaska(Fixed4::parse(mask).value());
        edit.setCursorPosition(1);
        for (qsizetype i = 0; i < keys.size(); ++i) {
            const Qt::KeyboardModifiers modifiers =
                keypad.contains(static_cast<int>(i)) ? Qt::KeypadModifier : Qt::NoModifier;
            QTest::keyClick(&edit, static_cast<Qt::Key>(keys[i]), modifiers);
        }
        QCOMPARE(edit.text(), expected);
    }

    void suma() {
        TNumericEdit edit;
        edit.setMaska(fixed("33233.22"));
        edit.setMaxLength(8);
        edit.setCursorPosition(1);
        QTest::keyClicks(&edit, QStringLiteral("123456789"));
        QCOMPARE(edit.text(), QStringLiteral("12345678"));
        QCOMPARE(edit.cursorPosition(), 8);
        QCOMPARE(edit.Valoare().units(), qint64(123456780000));
        QVERIFY(!edit.Intact());
    }

    void selectionReplaced() {
        TNumericEdit edit;
        edit.setMaska(fixed("333.22"));
        edit.setMaxLength(8);
        edit.setText(QStringLiteral("123.5"));
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_7);
        QCOMPARE(edit.text(), QStringLiteral("7"));
        QCOMPARE(edit.cursorPosition(), 1);
        QVERIFY(!edit.hasSelectedText());

        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QString());
        QCOMPARE(edit.Valoare(), Fixed4());
        QVERIFY(edit.Intact());
    }

    void shiftSelectionThenDigit() {
        TNumericEdit edit;
        edit.setMaska(fixed("333.22"));
        edit.setText(QStringLiteral("1234"));
        edit.setCursorPosition(1);
        QTest::keyClick(&edit, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(&edit, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(edit.selectedText(), QStringLiteral("23"));
        QTest::keyClick(&edit, Qt::Key_9);
        QCOMPARE(edit.text(), QStringLiteral("194"));
        QCOMPARE(edit.cursorPosition(), 2);
    }

    void programTextIsShownUnchanged() {
        TNumericEdit edit;
        edit.setMaska(fixed("333.22"));
        edit.setMaxLength(8);
        edit.setText(QStringLiteral("1.23456"));
        QCOMPARE(edit.text(), QStringLiteral("1.23456"));
        QCOMPARE(edit.Valoare().units(), qint64(12346));
        // Changing the mask does not touch the text either.
        edit.setMaska(fixed("5"));
        QCOMPARE(edit.text(), QStringLiteral("1.23456"));
    }

    void pasteAndCutDoNothing() {
        TNumericEdit edit;
        edit.setText(QStringLiteral("12"));
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit.text(), QStringLiteral("12"));
    }

    void keyDownHandlerRunsFirst() {
        TNumericEdit edit;
        int seen = 0;
        edit.setOnKeyDown([&seen](QKeyEvent *event) {
            ++seen;
            return event->key() == Qt::Key_5;
        });
        QTest::keyClick(&edit, Qt::Key_5);
        QCOMPARE(edit.text(), QStringLiteral("0"));
        QTest::keyClick(&edit, Qt::Key_6);
        QCOMPARE(edit.text(), QStringLiteral("6"));
        QCOMPARE(seen, 2);
    }

    void intactFollowsInitial() {
        TNumericEdit edit;
        edit.setInitial(QStringLiteral("5"));
        QCOMPARE(edit.text(), QStringLiteral("0"));
        QVERIFY(!edit.Intact());
        edit.setText(QStringLiteral("5"));
        QVERIFY(edit.Intact());
        edit.clear();
        QVERIFY(!edit.Intact());
    }
};

QTEST_MAIN(TestTNumericEdit)
#include "tst_tnumericedit.moc"
