// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tabletextvalidator.h"

#include "store/text/cp1250.h"
#include "ui/fieldhint.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace velmora {

namespace {

QChar cedillaForm(QChar ch) {
    switch (ch.unicode()) {
    case 0x0218:
        return QChar(0x015E);
    case 0x0219:
        return QChar(0x015F);
    case 0x021A:
        return QChar(0x0162);
    case 0x021B:
        return QChar(0x0163);
    default:
        return ch;
    }
}

TableTextValidator::Refused hintOn(QWidget *control) {
    QPointer<QWidget> target(control);
    return [target](const QString &characters) {
        // Not from inside the edit's own key handling, which is still under way.
        QTimer::singleShot(0, target, [target, characters] {
            if (target)
                FieldHint::show(TableTextValidator::refusedText(characters), target);
        });
    };
}

} // namespace

TableTextValidator::TableTextValidator(bool upperCase, QObject *parent)
    : QValidator(parent)
    , m_upperCase(upperCase) {}

QString TableTextValidator::refusedText(const QString &characters) {
    return QStringLiteral("Caracterul \"%1\" nu poate fi memorat!").arg(characters);
}

QValidator::State TableTextValidator::validate(QString &input, int &) const {
    // Character by character, so that the length and with it the caret never move
    // (QString::toUpper would turn "ß" into "SS").
    for (QChar &ch : input) {
        ch = cedillaForm(ch);
        if (m_upperCase)
            ch = ch.toUpper();
    }
    const QString refused = Cp1250::unencodable(input);
    if (refused.isEmpty())
        return Acceptable;
    if (m_refused)
        m_refused(refused);
    return Invalid;
}

TableTextValidator *TableTextValidator::attach(QLineEdit *edit, bool upperCase) {
    auto *validator = new TableTextValidator(upperCase, edit);
    validator->setRefused(hintOn(edit));
    edit->setValidator(validator);
    return validator;
}

TableTextValidator *TableTextValidator::attach(QComboBox *combo, bool upperCase) {
    auto *validator = new TableTextValidator(upperCase, combo);
    validator->setRefused(hintOn(combo));
    combo->setValidator(validator);
    return validator;
}

} // namespace velmora
