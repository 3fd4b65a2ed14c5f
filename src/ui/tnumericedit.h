// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/numericmask.h"

#include <QLineEdit>
#include <functional>

namespace velmora {

// The entry field for amounts and quantities. The edit stays read-only, so the platform's
// own typing, cutting and pasting do nothing; the field builds each new text from the keys it
// handles and keeps it only when it fits the mask (see NumericMask). Caret movement,
// selection and copying stay those of the edit.
class TNumericEdit : public QLineEdit {
    Q_OBJECT

public:
    // Runs before the field's own handling of a key (an editor's Enter-as-Tab, say);
    // returning true consumes the key.
    using KeyDownHandler = std::function<bool(QKeyEvent *event)>;

    explicit TNumericEdit(QWidget *parent = nullptr);

    Fixed4 Maska() const { return m_mask.mask(); }
    // Changes only the rule; the text is not checked again.
    void setMaska(Fixed4 mask) { m_mask.setMask(mask); }

    QString Initial() const { return m_initial; }
    void setInitial(const QString &initial) { m_initial = initial; }

    bool Intact() const;
    // The text as a number; 0 when it is not one.
    Fixed4 Valoare() const;

    void setOnKeyDown(KeyDownHandler handler) { m_onKeyDown = std::move(handler); }

    // The key the field treats a key press as, or a null QChar when it leaves the key to the
    // edit: NumericMask::kBackspace, kDelete, kMinus, kDecimal or a digit.
    static QChar keyOf(const QKeyEvent *event);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    NumericMask::State state() const;

    NumericMask m_mask;
    QString m_initial = QStringLiteral("0");
    KeyDownHandler m_onKeyDown;
};

} // namespace velmora
