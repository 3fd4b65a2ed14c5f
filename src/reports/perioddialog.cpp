// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/perioddialog.h"

#include "reports/period.h"
#include "ui/datefield.h"
#include "ui/entertab.h"
#include "ui/fieldhint.h"
#include "ui/keypreview.h"
#include "ui/look.h"
#include "ui/modal.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

const QColor kBackground(64, 80, 106);
const QColor kText(0xFF, 0xFF, 0xFF);

DateField *datePicker(QWidget *parent, const char *name, QDate date) {
    auto *edit = new DateField(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setDate(date);
    edit->setCalendarPopup(true);
    Look::setTextColor(edit, Qt::black);
    return edit;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    // Enter moves between the dates; only the end date's Enter lists.
    b->setAutoDefault(false);
    Look::setTextColor(b, Qt::black);
    return b;
}

bool within(const QWidget *control, const QWidget *target) {
    return target == control || control->isAncestorOf(target);
}

} // namespace

PeriodDialog::PeriodDialog(QDate today, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("PerioadaF"));
    setWindowTitle(QStringLiteral("Foi de parcurs"));
    setFont(Look::dialogFont(8));
    Look::setBackground(this, kBackground);
    Look::setTextColor(this, kText);
    setFixedSize(kWidth, kHeight);

    auto *title = new QLabel(QStringLiteral("Alege perioada raportata"), this);
    title->setFont(Look::dialogFont(10, true));
    title->setAlignment(Qt::AlignCenter);
    // A day the earlier month lacks becomes its last day: 31 March gives the end of February.
    m_fromDate = datePicker(this, kStartDate, today.addMonths(-1));
    m_toDate = datePicker(this, kEndDate, today);
    auto *fromLabel = new QLabel(QStringLiteral("Incepand cu data"), this);
    auto *toLabel = new QLabel(QStringLiteral("terminand cu data"), this);
    fromLabel->setBuddy(m_fromDate);
    toLabel->setBuddy(m_toDate);
    m_list = button(this, kListButton, QStringLiteral("Listeaza"));
    m_cancel = button(this, kCancelButton, QStringLiteral("Renunt"));
    auto *bottom = new QLabel(QStringLiteral("ESC - iesire"), this);
    bottom->setAlignment(Qt::AlignCenter);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_list);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 8);
    layout->setSpacing(6);
    layout->addWidget(title);
    layout->addSpacing(8);
    layout->addWidget(fromLabel);
    layout->addWidget(m_fromDate);
    layout->addSpacing(4);
    layout->addWidget(toLabel);
    layout->addWidget(m_toDate);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->addWidget(bottom);
    setTabOrder(m_fromDate, m_toDate);

    connect(m_list, &QPushButton::clicked, this, &PeriodDialog::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *keys = new KeyPreview(this);
    keys->setHandler([this](QWidget *target, QKeyEvent *event) {
        if (!KeyPreview::isEnter(event))
            return false;
        const bool fromEnd = within(m_toDate, target);
        if (!fromEnd && !within(m_fromDate, target))
            return false;
        EnterTab::focusNext(target);
        if (fromEnd)
            confirm();
        return true;
    });
}

bool PeriodDialog::choosePeriod() {
    m_chosen = false;
    m_fromDate->setFocus(Qt::OtherFocusReason);
    Modal::exec(*this);
    return m_chosen;
}

QDate PeriodDialog::from() const {
    return m_fromDate->date();
}

QDate PeriodDialog::to() const {
    return m_toDate->date();
}

void PeriodDialog::confirm() {
    if (!m_fromDate->checkInput() || !m_toDate->checkInput())
        return;
    if (const auto problem = Period::problem(m_fromDate->date(), m_toDate->date())) {
        FieldHint::show(*problem, m_toDate);
        return;
    }
    m_chosen = true;
    accept();
}

} // namespace velmora
