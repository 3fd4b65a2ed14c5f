// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/tripeditor.h"

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

namespace {

// SUMA DECIMAL(8,2).
const Fixed4 kLargestAmount = Fixed4::fromUnits(Q_INT64_C(99999999) * 100);

} // namespace

TripEditor::TripEditor(QWidget *parent)
    : EditorDialog(parent)
    , m_ziua(new DateField(this))
    , m_ora(new TimeField(this))
    , m_plecSos(new QComboBox(this))
    , m_suma(new TNumericEdit(this)) {
    setObjectName(QStringLiteral("AddSosire"));
    setFixedSize(353, 261);

    m_ziua->setObjectName(QStringLiteral("Ziua"));
    m_ora->setObjectName(QStringLiteral("Ora"));
    m_plecSos->setObjectName(QStringLiteral("PlecSos"));
    m_plecSos->addItems({QStringLiteral("PLECARE"), QStringLiteral("SOSIRE")});
    m_plecSos->setCurrentIndex(0);
    m_suma->setObjectName(QStringLiteral("Suma"));
    m_suma->setMaska(*Fixed4::parse(u"33233.22"));
    m_suma->setMaxLength(8);

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
    // The field takes eight digits, SUMA holds six before the point: say so here rather than
    // have the engine refuse the line after its identifier was taken.
    if (m_suma->Valoare() > kLargestAmount) {
        m_suma->setFocus(Qt::OtherFocusReason);
        FieldHint::show(
            QStringLiteral("Suma prea mare! Cel mult %1 lei.").arg(kLargestAmount.toString()),
            m_suma);
        return;
    }
    saved();
}

LineValues TripEditor::values(const QString &lineId, const QString &sheetId) const {
    const double timp = Timp::fromDateTime(m_ziua->date(), m_ora->time());
    // The amount's value rather than its text: a field left as "." still writes a number.
    return {lineId, sheetId, m_plecSos->currentText(), TextForm::fourDecimal(timp),
            m_suma->Valoare().toString()};
}

} // namespace velmora
