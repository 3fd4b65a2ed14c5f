// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/picklistsink.h"

class QComboBox;

namespace velmora {

class CompletionKeys;

// A combo box's list as the target of a pick-list fill.
class ComboPickList : public PickListSink {
public:
    explicit ComboPickList(QComboBox *combo)
        : m_combo(combo) {}

    void append(const QString &text) override;
    void selectFirst() override;

    // Adds the text when the list does not hold it yet (compared without regard to case):
    // in its place in Romanian order when sorted, else at the end.
    static void addIfMissing(QComboBox *combo, const QString &text, bool sorted);
    // Completion over the list as the user types: from the start, without regard to case.
    // Enter, Esc and clicks keep their meaning while the suggestions show (CompletionKeys).
    static CompletionKeys *completeFromList(QComboBox *combo);

private:
    QComboBox *m_combo;
};

} // namespace velmora
