// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records window with its editors over a temporary program directory, opened the way the
// main menu opens it, and small helpers to type into its fields.

#include "recordsfixture.h"

#include "records/recordgrid.h"
#include "records/recordswindow.h"
#include "records/sheeteditor.h"
#include "records/tripeditor.h"
#include "ui/datefield.h"
#include "ui/errorbox.h"
#include "ui/fieldhint.h"
#include "ui/hintballoon.h"
#include "ui/messagedialog.h"
#include "ui/modalanswer.h"
#include "ui/timefield.h"
#include "ui/tnumericedit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace velmora::test {

class RecordsGui {
public:
    RecordsGui()
        : sheetEditor(data.context())
        , window(data.context(), messages, sheetEditor, tripEditor) {
        ErrorBox::setHandler([this](const QString &message) { errors.append(message); });
    }
    ~RecordsGui() {
        ErrorBox::setHandler({});
        FieldHint::hide();
    }

    // Runs body while the window is shown modally, then closes it; fails the test when the
    // window does not show.
    void inWindow(const std::function<void()> &body,
                  std::source_location where = std::source_location::current()) {
        const ModalAnswer answer = answerWhenShown(
            &window,
            [this, body] {
                body();
                window.close();
            },
            where);
        window.Deschide();
        VELMORA_VERIFY_MODAL(answer);
    }

    // The answer the next message gets, without showing it.
    void answerMessage(MessageResult answer) { messages.queueAnswer(answer); }

    // Clicks the window's button and lets the editor that opens be handled by body.
    // Fails the test when the editor does not show.
    template <typename Editor>
    void clickWithEditor(const char *button, Editor &editor, std::function<void()> body,
                         std::source_location where = std::source_location::current()) {
        const ModalAnswer answer = answerWhenShown(&editor, std::move(body), where);
        click(button);
        VELMORA_VERIFY_MODAL(answer);
    }

    void click(const char *button) {
        auto *b = window.findChild<QAbstractButton *>(QLatin1String(button));
        QVERIFY2(b, button);
        b->click();
    }

    template <typename T = QWidget>
    static T *field(QWidget &window, const char *name) {
        return window.findChild<T *>(QLatin1String(name));
    }

    // Replaces the text of a field as the user would: select everything, type.
    static void type(QWidget *field, const QString &text) {
        QWidget *target = field;
        if (auto *combo = qobject_cast<QComboBox *>(field))
            target = combo->lineEdit();
        if (auto *edit = qobject_cast<QLineEdit *>(target))
            edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(target, Qt::Key_Backspace);
        else
            QTest::keyClicks(target, text);
    }

    // Any character, as a keyboard layout would type it (QTest's own typing knows ASCII only).
    static void typeCharacters(QWidget *target, const QString &text) {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(target, &press);
        }
    }

    static QString hint() {
        HintBalloon *balloon = FieldHint::current();
        return balloon ? balloon->text() : QString();
    }
    static QString hintControl() {
        HintBalloon *balloon = FieldHint::current();
        return balloon && balloon->control() ? balloon->control()->objectName() : QString();
    }

    QStringList gridColumn(RecordGrid *grid, int column) const {
        QStringList values;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            values.append(grid->model()->index(r, column).data().toString());
        return values;
    }
    int selectedRow(RecordGrid *grid) const {
        const QModelIndexList rows = grid->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() : -1;
    }

    RecordsFixture data;
    MessageDialog messages;
    SheetEditor sheetEditor;
    TripEditor tripEditor;
    RecordsWindow window;
    QStringList errors;
};

} // namespace velmora::test
