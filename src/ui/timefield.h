// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/typedfield.h"

#include <QTime>

namespace velmora {

// An hour as the clerk types it: "07:45", "7:45", "07:45:30" or "0745" (TypedEntry), shown
// as HH:mm:ss. An impossible hour (25:10) is the hint "Ora incorecta!".
class TimeField : public TypedField {
    Q_OBJECT

public:
    explicit TimeField(QWidget *parent = nullptr);

    // The time of day typed, seconds 0 when none were typed; an invalid QTime while the text
    // is no hour.
    QTime time() const;
    void setTime(QTime time);

protected:
    bool readable(QStringView text) const override;
    bool mayBecome(QStringView text) const override;
    QString canonical(QStringView text) const override;
    std::optional<QString> stepped(QStringView text, int part, int steps) const override;
    QString problem() const override;
    QString widestText() const override;
};

} // namespace velmora
