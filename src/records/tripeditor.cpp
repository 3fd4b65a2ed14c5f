// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/tripeditor.h"

#include "records/lineinput.h"
#include "records/sheetinput.h"
#include "store/query/query.h"
#include "store/text/textform.h"
#include "store/text/timp.h"
#include "ui/datefield.h"
#include "ui/fieldhint.h"
#include "ui/timefield.h"
#include "ui/tnumericedit.h"

#include <QComboBox>
#include <QDateTime>

namespace velmora {

TripEditor::TripEditor(QWidget *parent)
    : EditorDialog(parent)
    , m_ziua(new DateField(this))
    , m_ora(new TimeField(this))
    , m_plecSos(new QComboBox(this))
    , m_suma(new TNumericEdit(this)) {
    setObjectName(QStringLiteral("AddSosire"));
    setFixedSize(353, 261);

    m_ziua->setObjectName(QLatin1String(kDay));
    m_ora->setObjectName(QLatin1String(kHour));
    m_plecSos->setObjectName(QLatin1String(kKind));
    m_plecSos->addItems({QStringLiteral("PLECARE"), QStringLiteral("SOSIRE")});
    m_plecSos->setCurrentIndex(0);
    m_suma->setObjectName(QLatin1String(kAmount));
    // Room for the largest amount SUMA holds, 999999.99, and its shape as the mask: the hint
    // of an amount too large names what can be typed.
    const Fixed4 largest = SheetInput::kIncomeColumn.largest();
    m_suma->setMaska(largest);
    m_suma->setMaxLength(static_cast<int>(largest.toString().size()));

    addField(QStringLiteral("Data"), m_ziua);
    addField(QStringLiteral("Ora"), m_ora);
    addField(QStringLiteral("Plecare / Sosire"), m_plecSos);
    addField(QStringLiteral("Realizare venit lei"), m_suma);
}

void TripEditor::Initializeaza() {
    const QDateTime now = QDateTime::currentDateTime();
    m_ziua->setDate(now.date());
    m_ora->setTime(now.time());
    m_suma->setText(QStringLiteral("0"));
}

void TripEditor::fillFrom(const Query &lines) {
    const double timp = lines.number(u"TIMP");
    m_ziua->setDate(Timp::date(timp));
    m_ora->setTime(Timp::time(timp));
    m_plecSos->setCurrentIndex(m_plecSos->findText(lines.text(u"PLESOS")));
    m_suma->setText(lines.text(u"SUMA"));
}

void TripEditor::save() {
    if (!m_ziua->checkInput() || !m_ora->checkInput())
        return;
    if (m_suma->text().isEmpty())
        m_suma->setText(QStringLiteral("0"));
    // The field takes nine digits, SUMA and the sheet's total hold six before the point: say
    // so here rather than have the engine refuse the line after its identifier was taken.
    if (const auto problem = LineInput::amountProblem(m_suma->Valoare(), m_otherLines)) {
        m_suma->setFocus(Qt::OtherFocusReason);
        FieldHint::show(*problem, m_suma);
        return;
    }
    saved();
}

LineValues TripEditor::values(const QString &lineId, const QString &sheetId) const {
    const double timp = Timp::fromDateTime(m_ziua->date(), m_ora->time());
    // The amount's value rather than its text: a field left as "." still writes a number.
    return {lineId, sheetId, m_plecSos->currentText(), TextForm::fourDecimal(timp),
            LineInput::stored(m_suma->Valoare()).toString()};
}

} // namespace velmora
