// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/numericmask.h"

namespace velmora {

NumericMask::NumericMask(Fixed4 mask, int maxLength)
    : m_maxLength(maxLength) {
    setMask(mask);
}

void NumericMask::setMask(Fixed4 mask) {
    m_mask = mask;
    m_maskText = mask.toString();
}

int NumericMask::decimalsAdmitted() const {
    const qsizetype point = m_maskText.indexOf(u'.');
    if (point < 0)
        return 0;
    // The fractional part written as a number below 1 ("0.22"), less one character.
    return static_cast<int>(m_maskText.size() - point - 1) + 1;
}

bool NumericMask::exceeds(QStringView text) const {
    if (m_mask.units() == 0 || text.isEmpty())
        return false;
    const bool negativeMask = m_mask.units() < 0;
    if (text == u"-" && negativeMask)
        return false;
    if (text.startsWith(u'-') && !negativeMask)
        return true;
    if (text.size() > m_maskText.size())
        return true;
    const qsizetype point = text.indexOf(u'.');
    const qsizetype after = point < 0 ? 0 : text.size() - point - 1;
    return after > decimalsAdmitted();
}

bool NumericMask::full(const QString &text) const {
    return m_maxLength > 0 && text.size() >= m_maxLength;
}

NumericMask::State NumericMask::check(const State &old, const QString &text, int caret) const {
    if (exceeds(text))
        return State{old.text, old.caret, old.caret, 0};
    return State{text, caret, caret, 0};
}

NumericMask::State NumericMask::press(const State &old, QChar key) const {
    State now = old;
    // Removes the selected text; this removal is not checked against the mask.
    const auto removeSelection = [&now]() {
        if (now.selectionLength <= 0)
            return false;
        now.text.remove(now.selectionStart, now.selectionLength);
        now.caret = now.selectionStart;
        now.selectionLength = 0;
        return true;
    };
    const auto stop = [&now]() {
        // The caret stays where it was, and a selection too unless it was removed.
        return now;
    };

    const char16_t k = key.unicode();
    if (k == kBackspace) {
        if (removeSelection() || now.caret == 0)
            return stop();
        QString text = now.text;
        text.remove(now.caret - 1, 1);
        return check(old, text, now.caret - 1);
    }
    if (k == kDelete) {
        if (removeSelection() || now.caret >= now.text.size())
            return stop();
        QString text = now.text;
        text.remove(now.caret, 1);
        return check(old, text, now.caret);
    }
    if (k >= u'0' && k <= u'9') {
        removeSelection();
        QString text = now.text;
        int caret = now.caret;
        // "0" stands for nothing entered: 5 typed over it gives 5, not 05.
        if (text == u"0") {
            text.clear();
            caret = 0;
        }
        if (full(text))
            return stop();
        // Nothing may stand in front of the sign.
        if (!text.isEmpty() && caret < text.size() && text[caret] == u'-')
            return stop();
        text.insert(caret, key);
        return check(old, text, caret + 1);
    }
    if (k == kMinus) {
        removeSelection();
        if (now.text == u"0")
            return check(old, QString(), 0);
        if (full(now.text) || now.caret != 0 || now.text.startsWith(u'-'))
            return stop();
        return check(old, u'-' + now.text, 1);
    }
    if (k == kDecimal) {
        if (decimalsAdmitted() == 0)
            return stop();
        removeSelection();
        if (now.text.contains(u'.') || full(now.text))
            return stop();
        QString text = now.text;
        text.insert(now.caret, u'.');
        return check(old, text, now.caret + 1);
    }
    return old;
}

Fixed4 NumericMask::value(QStringView text) {
    return Fixed4::parse(text).value_or(Fixed4());
}

bool NumericMask::intact(QStringView text, QStringView initial) {
    if (text == initial)
        return true;
    return text.isEmpty() && Fixed4::parse(initial) == Fixed4();
}

} // namespace velmora
