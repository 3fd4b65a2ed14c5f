// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>
#include <functional>

class QComboBox;
class QLineEdit;

namespace velmora {

// For fields whose text goes into a table: a character the tables' code page cannot hold is
// refused as it is typed or pasted, with a field hint naming it, instead of being stored as
// something else later. Comma-below ș ț become the cedilla forms the tables hold, and, when
// asked, letters turn to upper case as they are typed.
class TableTextValidator : public QValidator {
    Q_OBJECT

public:
    // Called with the refused characters.
    using Refused = std::function<void(const QString &characters)>;

    explicit TableTextValidator(bool upperCase, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
    void setRefused(Refused refused) { m_refused = std::move(refused); }

    static QString refusedText(const QString &characters);

    // Installs the validator with a field hint on the control for a refused character.
    static TableTextValidator *attach(QLineEdit *edit, bool upperCase);
    // The combo box must be editable.
    static TableTextValidator *attach(QComboBox *combo, bool upperCase);

private:
    bool m_upperCase;
    Refused m_refused;
};

} // namespace velmora
