// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fieldhint.h"

#include "ui/hintballoon.h"

#include <QPointer>

namespace velmora {

namespace {

QPointer<HintBalloon> &shown() {
    static QPointer<HintBalloon> balloon;
    return balloon;
}

} // namespace

HintBalloon *FieldHint::show(const QString &text, QWidget *control) {
    hide();
    auto *balloon = new HintBalloon(text, control);
    shown() = balloon;
    balloon->popUp();
    return balloon;
}

HintBalloon *FieldHint::current() {
    HintBalloon *balloon = shown();
    return balloon && balloon->isVisible() ? balloon : nullptr;
}

void FieldHint::hide() {
    if (HintBalloon *older = shown())
        older->release();
    shown() = nullptr;
}

} // namespace velmora
