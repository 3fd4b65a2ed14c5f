// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/combopicklist.h"

#include "store/text/romanianorder.h"
#include "ui/completionkeys.h"

#include <QComboBox>
#include <QCompleter>

namespace velmora {

void ComboPickList::append(const QString &text) {
    m_combo->addItem(text);
}

void ComboPickList::selectFirst() {
    if (m_combo->count() > 0)
        m_combo->setCurrentIndex(0);
}

void ComboPickList::addIfMissing(QComboBox *combo, const QString &text, bool sorted) {
    if (text.isEmpty() || combo->findText(text, Qt::MatchFixedString) >= 0)
        return;
    int at = combo->count();
    if (sorted) {
        // The list came from the engine in Romanian order; keep it so.
        for (int i = 0; i < combo->count(); ++i) {
            if (RomanianOrder::compare(combo->itemText(i), text) > 0) {
                at = i;
                break;
            }
        }
    }
    // Inserting must not change what the user sees in the field.
    const QString shown = combo->currentText();
    combo->insertItem(at, text);
    if (combo->isEditable())
        combo->setEditText(shown);
}

CompletionKeys *ComboPickList::completeFromList(QComboBox *combo) {
    auto *completer = new QCompleter(combo->model(), combo);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchStartsWith);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    combo->setCompleter(completer);
    return CompletionKeys::attach(combo);
}

} // namespace velmora
