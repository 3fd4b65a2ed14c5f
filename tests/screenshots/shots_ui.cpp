// SPDX-License-Identifier: GPL-3.0-or-later
// The shared dialogs: the message dialog's kinds and the field hint.
#include "studio.h"
#include "ui/fieldhint.h"
#include "ui/hintballoon.h"
#include "ui/messagedialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QTest>

using namespace velmora;

VELMORA_SCENE(messages) {
    MessageDialog dialog;
    struct Kind {
        const char *file;
        const char *title;
        const char *text;
        MessageKind kind;
        MessageButtons buttons;
    };
    const Kind kinds[] = {
        {"mesaj-atentie.png", "Eroare la completare",
         "ATENTIE !\r\nDoriti sa dezactivati parola de administrator?", MessageKind::Atentie,
         MessageButton::DA | MessageButton::NU},
        {"mesaj-informatie.png", "Confirmare", "Parola a fost schimbata cu succes!",
         MessageKind::Informatie, MessageButton::OK},
        {"mesaj-confirmare.png", "Inchidere program", "Vreti sa inchideti programul?",
         MessageKind::Confirmare, MessageButton::DA | MessageButton::NU},
        {"mesaj-eroare.png", "Greseala!", "PAROLA INCORECTA !", MessageKind::Eroare,
         MessageButton::OK},
    };
    for (const Kind &k : kinds) {
        studio.saveModal(QString::fromLatin1(k.file), [&] {
            dialog.Mesaj(QString::fromLatin1(k.title), QString::fromLatin1(k.text), k.kind,
                         k.buttons);
        });
    }
}

VELMORA_SCENE(field_hint) {
    // A few fields like the sheet editor's, until that window has a scene of its own.
    QWidget form;
    form.setWindowTitle(QStringLiteral("Foaie de parcurs"));
    auto *layout = new QFormLayout(&form);
    auto *plate = new QLineEdit(&form);
    auto *driver = new QLineEdit(&form);
    auto *km = new QLineEdit(QStringLiteral("0"), &form);
    layout->addRow(QStringLiteral("Numar inmatriculare"), plate);
    layout->addRow(QStringLiteral("Sofer 1"), driver);
    layout->addRow(QStringLiteral("Total Km"), km);
    form.resize(320, 110);
    // Near the top of the screen, as the balloon then hangs below the field.
    form.move(0, 0);
    form.show();
    using velmora::shots::Studio;
    if (!Studio::shown(form))
        return;
    HintBalloon *balloon = FieldHint::show(QStringLiteral("Lipseste Numele Soferului!"), driver);
    if (!Studio::shown(*balloon))
        return;
    studio.saveArea(Studio::frameOf(form).united(Studio::frameOf(*balloon)),
                    QStringLiteral("field-hint.png"));
    FieldHint::hide();
}
