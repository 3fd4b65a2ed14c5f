// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>

class QComboBox;
class QLineEdit;

namespace velmora {

// Turns letters to upper case as they are typed or pasted, keeping the caret where it was.
// Like an upper-case edit style, it holds to text set by the program as well.
class UpperCaseValidator : public QValidator {
    Q_OBJECT

public:
    explicit UpperCaseValidator(QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;

    static void attach(QLineEdit *edit);
    // The combo box must be editable.
    static void attach(QComboBox *combo);
};

} // namespace velmora
