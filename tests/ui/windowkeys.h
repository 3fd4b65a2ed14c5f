// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Keys and clicks given to a window the way the window system gives them: a key goes to the
// window's focus widget, or to an open pop-up when there is one, and a click outside an open
// pop-up reaches the pop-up first. Sending events straight to a widget would skip exactly the
// routing that a clerk's keyboard and mouse go through.

#include <QHash>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace velmora::test {

class WindowKeys {
public:
    // The step "@Name" of a test's script, a click into the control of that object name.
    static QString clickInto(const char *objectName) { return u'@' + QLatin1String(objectName); }

    // Plays the steps into the window: "<Name>" is one key (Tab, Backtab, Return, Escape, Up,
    // Down, Left, Right, Home, End, F4; "S-" before a name holds Shift, "A-" holds Alt), any
    // other step is typed character by character, whatever its letters.
    static void play(QWindow *window, const QStringList &steps) {
        for (const QString &step : steps) {
            if (step.size() > 2 && step.startsWith(u'<') && step.endsWith(u'>'))
                press(window, step.mid(1, step.size() - 2));
            else
                type(window, step);
        }
    }

    static void type(QWindow *window, const QString &text) {
        for (const QChar ch : text) {
            const QString letter(ch);
            const char ascii = ch.toLatin1();
            const bool plain = ch.unicode() < 128 && ch.isPrint();
            QTest::sendKeyEvent(QTest::Click, window,
                                plain ? QTest::asciiToKey(ascii) : Qt::Key_unknown, letter,
                                Qt::NoModifier);
        }
    }

    static void press(QWindow *window, QString name) {
        Qt::KeyboardModifiers modifiers;
        for (;;) {
            if (name.startsWith(u"S-"))
                modifiers |= Qt::ShiftModifier;
            else if (name.startsWith(u"A-"))
                modifiers |= Qt::AltModifier;
            else
                break;
            name = name.mid(2);
        }
        static const QHash<QString, Qt::Key> keys = {
            {QStringLiteral("Tab"), Qt::Key_Tab},
            {QStringLiteral("Backtab"), Qt::Key_Backtab},
            {QStringLiteral("Return"), Qt::Key_Return},
            {QStringLiteral("Escape"), Qt::Key_Escape},
            {QStringLiteral("Up"), Qt::Key_Up},
            {QStringLiteral("Down"), Qt::Key_Down},
            {QStringLiteral("Left"), Qt::Key_Left},
            {QStringLiteral("Right"), Qt::Key_Right},
            {QStringLiteral("Home"), Qt::Key_Home},
            {QStringLiteral("End"), Qt::Key_End},
            {QStringLiteral("F4"), Qt::Key_F4},
            {QStringLiteral("Backspace"), Qt::Key_Backspace},
        };
        QVERIFY2(keys.contains(name), qPrintable(name));
        if (name == QStringLiteral("Backtab"))
            modifiers |= Qt::ShiftModifier;
        QTest::keyClick(window, keys.value(name), modifiers);
    }

    // A left click on the widget at the point (its centre when none is given), through the
    // widget's window.
    static void click(QWidget *widget, QPoint at = QPoint(-1, -1)) {
        QVERIFY(widget);
        if (at == QPoint(-1, -1))
            at = widget->rect().center();
        QWidget *window = widget->window();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, at));
    }
};

} // namespace velmora::test
