// SPDX-License-Identifier: GPL-3.0-or-later
// The message dialog's kinds. The field hint shows in the editors' scenes (shots_records.cpp).
#include "studio.h"
#include "ui/messagedialog.h"

using namespace velmora;

VELMORA_SCENE(messages, "mesaj-atentie.png", "mesaj-informatie.png", "mesaj-confirmare.png",
              "mesaj-eroare.png") {
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
        // A window of its own for each kind: a window manager that sees the one window go and
        // come back at once may leave it without its frame.
        MessageDialog dialog;
        studio.saveModal(QString::fromLatin1(k.file), [&] {
            dialog.Mesaj(QString::fromLatin1(k.title), QString::fromLatin1(k.text), k.kind,
                         k.buttons);
        });
    }
}
