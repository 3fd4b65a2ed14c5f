// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractSpinBox>
#include <optional>

namespace velmora {

// What the date field and the time field share: a text that the clerk types as it is printed,
// and the up and down arrows. The text stays exactly as typed while the field has the focus
// (no section jumps, nothing completed behind the clerk's back). The whole text is selected
// when the field is reached by Tab, Enter or a click, so typing replaces it; a second click
// places the cursor. Up and Down change the part of the text under the cursor. A text that is
// no valid value is never changed into another value: leaving the field by Tab, Enter or a
// click keeps the focus in it and shows the field's hint, and checkInput() says so to a save.
class TypedField : public QAbstractSpinBox {
    Q_OBJECT

public:
    // True when the text is a valid value. Otherwise the field takes the focus, shows its hint
    // and returns false, so that nothing is saved.
    bool checkInput();
    bool hasValue() const;

protected:
    explicit TypedField(QWidget *parent = nullptr);

    // Whether the text is a valid value, and whether typing on could make it one.
    virtual bool readable(QStringView text) const = 0;
    virtual bool mayBecome(QStringView text) const = 0;
    // The value of a readable text written the way the field shows it.
    virtual QString canonical(QStringView text) const = 0;
    // The text after changing the numbered part of a readable text by steps; nullopt when
    // the part cannot move that way.
    virtual std::optional<QString> stepped(QStringView text, int part, int steps) const = 0;
    // The hint for a text that is no value.
    virtual QString problem() const = 0;
    // The widest text the field shows, for its size.
    virtual QString widestText() const = 0;

    // Shows a value given by the program: all of it selected, so that typing replaces it.
    void showText(const QString &text);

    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int partToStep() const;
    bool keepsFocusOnLeaving(Qt::FocusReason reason) const;
    void complain();

    // Set when a click brought the focus: its release selects everything.
    bool m_selectOnRelease = false;
    // Where that click placed the cursor, for the arrows while everything is selected.
    int m_clickedAt = -1;
};

} // namespace velmora
