// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/entertab.h"
#include "ui/keypreview.h"
#include "ui/tnumericedit.h"
#include "ui/uppercasevalidator.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace velmora;

// An editor-like window: a few fields in tab order, Enter moving on.
class Editor : public QDialog {
public:
    Editor() {
        auto *layout = new QVBoxLayout(this);
        name = new QLineEdit(this);
        combo = new QComboBox(this);
        combo->setEditable(true);
        date = new QDateEdit(this);
        disabled = new QLineEdit(this);
        disabled->setEnabled(false);
        amount = new TNumericEdit(this);
        save = new QPushButton(QStringLiteral("Memoreaza"), this);
        for (QWidget *w :
             std::initializer_list<QWidget *>{name, combo, date, disabled, amount, save})
            layout->addWidget(w);
        keys = new KeyPreview(this);
        keys->setEnterMovesFocus(true);
    }

    QLineEdit *name;
    QComboBox *combo;
    QDateEdit *date;
    QLineEdit *disabled;
    TNumericEdit *amount;
    QPushButton *save;
    KeyPreview *keys;
};

class TestKeyboard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void enterWalksTheFields() {
        Editor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.name->setFocus();
        const auto enterOn = [&editor]() {
            QTest::keyClick(editor.focusWidget(), Qt::Key_Return);
            return editor.focusWidget();
        };
        QCOMPARE(enterOn(), editor.combo);
        // The date field takes the focus in its edit; Enter leaves the whole field.
        QWidget *inDate = enterOn();
        QVERIFY(inDate == editor.date || editor.date->isAncestorOf(inDate));
        // The disabled field is passed over; the numeric field lets Enter through first.
        QCOMPARE(enterOn(), static_cast<QWidget *>(editor.amount));
        QTest::keyClick(editor.amount, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(editor.focusWidget(), editor.save);
        QCOMPARE(editor.amount->text(), QStringLiteral("0"));
        QVERIFY(editor.isVisible());
    }

    void handlerRunsBeforeTheControl() {
        Editor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QWidget *seenOn = nullptr;
        editor.keys->setHandler([&](QWidget *target, QKeyEvent *event) {
            seenOn = target;
            return event->key() == Qt::Key_A;
        });
        editor.name->setFocus();
        QTest::keyClicks(editor.name, QStringLiteral("ABC"));
        QCOMPARE(seenOn, static_cast<QWidget *>(editor.name));
        QCOMPARE(editor.name->text(), QStringLiteral("BC"));
        // The window's handler is asked once per key, not again as the key travels up.
        int asked = 0;
        editor.keys->setHandler([&](QWidget *, QKeyEvent *) {
            ++asked;
            return false;
        });
        QTest::keyClick(editor.name, Qt::Key_F5);
        QCOMPARE(asked, 1);
    }

    void aFocusedButtonTakesEnter() {
        // In an editor Enter on a field moves on; on a button it presses the button.
        Editor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        int saved = 0;
        connect(editor.save, &QPushButton::clicked, this, [&] { ++saved; });
        editor.save->setFocus(Qt::TabFocusReason);
        QTest::keyClick(editor.save, Qt::Key_Return);
        QCOMPARE(saved, 1);
        QCOMPARE(editor.focusWidget(), editor.save);
    }

    void enterElsewherePressesTheDefaultButton() {
        QDialog dialog;
        auto *layout = new QVBoxLayout(&dialog);
        auto *field = new QLineEdit(&dialog);
        auto *confirm = new QPushButton(QStringLiteral("Verifica"), &dialog);
        auto *cancel = new QPushButton(QStringLiteral("Renunt"), &dialog);
        cancel->setAutoDefault(false);
        confirm->setDefault(true);
        for (QWidget *w : std::initializer_list<QWidget *>{field, confirm, cancel})
            layout->addWidget(w);
        new KeyPreview(&dialog);
        QStringList pressed;
        connect(confirm, &QPushButton::clicked, this, [&] { pressed << confirm->text(); });
        connect(cancel, &QPushButton::clicked, this, [&] { pressed << cancel->text(); });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        cancel->setFocus(Qt::TabFocusReason);
        QTest::keyClick(cancel, Qt::Key_Return);
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(pressed, (QStringList{QStringLiteral("Renunt"), QStringLiteral("Verifica")}));
    }

    void escapeClosesTheWindow() {
        Editor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.amount->setFocus();
        QTest::keyClick(editor.amount, Qt::Key_Escape);
        QVERIFY(!editor.isVisible());
        QCOMPARE(editor.result(), int(QDialog::Rejected));
    }

    void controlsAddedLaterAreWatched() {
        Editor editor;
        auto *late = new QLineEdit(&editor);
        editor.layout()->addWidget(late);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        late->setFocus();
        QTest::keyClick(late, Qt::Key_Return);
        QVERIFY(editor.focusWidget() != late);
    }

    void upperCaseWhileTyping() {
        QLineEdit edit;
        UpperCaseValidator::attach(&edit);
        QTest::keyClicks(&edit, QStringLiteral("ionescu"));
        QCOMPARE(edit.text(), QStringLiteral("IONESCU"));
        edit.setCursorPosition(3);
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QStringLiteral("ă"),
                            Qt::NoModifier);
        QCOMPARE(edit.text(), QStringLiteral("IONĂESCU"));
        QCOMPARE(edit.cursorPosition(), 4);
        // Like an upper-case edit, the field holds no lower-case letter at all.
        edit.setText(QStringLiteral("Popescu"));
        QCOMPARE(edit.text(), QStringLiteral("POPESCU"));

        QComboBox combo;
        combo.setEditable(true);
        UpperCaseValidator::attach(&combo);
        QTest::keyClicks(&combo, QStringLiteral("b 12 xyz"));
        QCOMPARE(combo.currentText(), QStringLiteral("B 12 XYZ"));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
