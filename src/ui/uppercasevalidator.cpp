// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/uppercasevalidator.h"

#include <QComboBox>
#include <QLineEdit>

namespace velmora {

UpperCaseValidator::UpperCaseValidator(QObject *parent)
    : QValidator(parent) {}

QValidator::State UpperCaseValidator::validate(QString &input, int &) const {
    // Character by character, so that the length and with it the caret never move
    // (QString::toUpper would turn "ß" into "SS").
    for (QChar &ch : input)
        ch = ch.toUpper();
    return Acceptable;
}

void UpperCaseValidator::attach(QLineEdit *edit) {
    edit->setValidator(new UpperCaseValidator(edit));
}

void UpperCaseValidator::attach(QComboBox *combo) {
    combo->setValidator(new UpperCaseValidator(combo));
}

} // namespace velmora
