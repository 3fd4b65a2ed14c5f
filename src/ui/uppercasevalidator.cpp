// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/uppercasevalidator.h"

#include "store/text/textrules.h"

#include <QComboBox>
#include <QLineEdit>

namespace velmora {

UpperCaseValidator::UpperCaseValidator(QObject *parent)
    : QValidator(parent) {}

QValidator::State UpperCaseValidator::validate(QString &input, int &) const {
    // The length, and with it the caret, never moves.
    input = TextRules::upperCase(input);
    return Acceptable;
}

void UpperCaseValidator::attach(QLineEdit *edit) {
    edit->setValidator(new UpperCaseValidator(edit));
}

void UpperCaseValidator::attach(QComboBox *combo) {
    combo->setValidator(new UpperCaseValidator(combo));
}

} // namespace velmora
