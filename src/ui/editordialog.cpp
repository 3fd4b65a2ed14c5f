// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editordialog.h"

#include "ui/completionkeys.h"
#include "ui/entertab.h"
#include "ui/keypreview.h"
#include "ui/look.h"
#include "ui/modal.h"
#include "ui/slotguard.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

const QColor kTitleBand(64, 80, 106);
const QColor kTitleText(255, 255, 0);

QString escapeLeaves() {
    return QStringLiteral("ESC - iesire");
}

} // namespace

EditorDialog::EditorDialog(QWidget *parent)
    // A single border with the system menu only: no minimise or maximise box.
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , m_title(new QLabel(this))
    , m_fields(new QFormLayout)
    , m_save(new QPushButton(QStringLiteral("Memoreaza"), this))
    , m_cancel(new QPushButton(QStringLiteral("Renunt"), this))
    , m_status(new QLabel(escapeLeaves(), this))
    , m_keys(new KeyPreview(this)) {
    setWindowTitle(QStringLiteral("Foi de parcurs"));
    setFont(Look::dialogFont());

    m_title->setObjectName(QLatin1String(kTitleLabel));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setFont(Look::arial(15, true));
    m_title->setMinimumHeight(34);
    m_title->setAutoFillBackground(true);
    Look::setBackground(m_title, kTitleBand);
    Look::setTextColor(m_title, kTitleText);

    m_fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_fields->setContentsMargins(12, 8, 12, 4);
    m_fields->setHorizontalSpacing(8);
    m_fields->setVerticalSpacing(5);

    m_save->setObjectName(QLatin1String(kSaveButton));
    m_save->setAccessibleName(m_save->text());
    m_save->setAutoDefault(false);
    m_cancel->setObjectName(QLatin1String(kCancelButton));
    m_cancel->setAccessibleName(m_cancel->text());
    m_cancel->setAutoDefault(false);
    connect(m_save, &QPushButton::clicked, this, guardSlot([this] { save(); }));
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 4, 12, 4);
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);

    m_status->setObjectName(QLatin1String(kStatusBar));
    m_status->setFrameShape(QFrame::Panel);
    m_status->setFrameShadow(QFrame::Sunken);
    m_status->setContentsMargins(4, 1, 4, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_title);
    layout->addLayout(m_fields);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->addWidget(m_status);

    m_keys->setEnterMovesFocus(true);
    m_keys->setHandler(
        [this](QWidget *target, QKeyEvent *event) { return previewKey(target, event); });
}

void EditorDialog::addField(const QString &label, QWidget *field) {
    auto *caption = new QLabel(label, this);
    caption->setObjectName(field->objectName() + QStringLiteral("Label"));
    caption->setBuddy(field);
    field->setAccessibleName(label);
    m_fields->addRow(caption, field);
    if (m_lastField)
        setTabOrder(m_lastField, field);
    m_lastField = field;
    setTabOrder(field, m_save);
    setTabOrder(m_save, m_cancel);
}

void EditorDialog::watchSuggestions(CompletionKeys *keys) {
    connect(keys, &CompletionKeys::dismissed, this, [this] {
        // Else the clerk who meant to leave presses Enter next and saves.
        showStatus(QStringLiteral("Lista inchisa. Inca un ESC - iesire"));
    });
}

void EditorDialog::showStatus(const QString &text) {
    m_status->setText(text);
}

bool EditorDialog::previewKey(QWidget *target, QKeyEvent *event) {
    showStatus(escapeLeaves());
    if (!KeyPreview::isEnter(event) || !m_lastField)
        return false;
    if (target != m_lastField && !m_lastField->isAncestorOf(target))
        return false;
    EnterTab::focusNext(target);
    // Called from the key preview, which is no place for an error to leave from.
    guardSlot([this] { save(); })();
    return true;
}

bool EditorDialog::Editeaza(const QString &title) {
    m_memorat = false;
    m_title->setText(title);
    showStatus(escapeLeaves());
    if (m_lastField)
        m_fields->itemAt(0, QFormLayout::FieldRole)->widget()->setFocus(Qt::OtherFocusReason);
    Modal::exec(*this);
    return m_memorat;
}

void EditorDialog::saved() {
    m_memorat = true;
    accept();
}

} // namespace velmora
