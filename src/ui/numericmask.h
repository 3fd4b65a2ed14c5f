// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/text/fixed4.h"

#include <QString>
#include <QStringView>

namespace velmora {

// The editing rules of the numeric entry field: which keys it takes, how each one changes the
// text and the caret, and the shape of number its mask admits. Text set by the program is
// never checked; only what the user types is.
class NumericMask {
public:
    // The keys the field handles itself; digits are '0' to '9'.
    static constexpr char16_t kBackspace = u'\b';
    static constexpr char16_t kDelete = 0x7F;
    static constexpr char16_t kMinus = u'-';
    static constexpr char16_t kDecimal = u'.';

    struct State {
        QString text;
        // Characters before the caret.
        int caret = 0;
        int selectionStart = 0;
        int selectionLength = 0;

        friend bool operator==(const State &, const State &) = default;
    };

    // maxLength 0 or less means no limit of its own.
    explicit NumericMask(Fixed4 mask = {}, int maxLength = 0);

    Fixed4 mask() const { return m_mask; }
    void setMask(Fixed4 mask);
    int maxLength() const { return m_maxLength; }
    void setMaxLength(int maxLength) { m_maxLength = maxLength; }

    // The mask in its shortest form: "33233.22", "333.22", "-12".
    QString maskText() const { return m_maskText; }
    // Characters admitted after the decimal point: the mask's fractional digits plus one;
    // 0 for a whole mask, where no point can be typed at all.
    int decimalsAdmitted() const;

    // The state after one key. A key that breaks the mask or the length leaves the old text
    // and caret; a selection is removed first where the key removes one.
    State press(const State &state, QChar key) const;
    // True when the text breaks the mask (DepasesteMaska).
    bool exceeds(QStringView text) const;

    // The text as a number with "." as the point; 0 when it is not a number.
    static Fixed4 value(QStringView text);
    // The text stands for nothing entered.
    static bool intact(QStringView text, QStringView initial);

private:
    bool full(const QString &text) const;
    State check(const State &old, const QString &text, int caret) const;

    Fixed4 m_mask;
    QString m_maskText = QStringLiteral("0");
    int m_maxLength;
};

} // namespace velmora
