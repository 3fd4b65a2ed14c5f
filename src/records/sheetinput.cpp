// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/sheetinput.h"

#include "store/text/decimal.h"
#include "store/text/error.h"
#include "store/text/textrules.h"

namespace velmora {

namespace {

Fixed4 valueOf(const QString &text) {
    return Fixed4::parse(text).value_or(Fixed4());
}

// The cost as the editor works it out; nullopt beyond the range of Fixed4, which fields
// that fit their columns never reach.
std::optional<Fixed4> costOf(Fixed4 km, Fixed4 consumption, Fixed4 price) {
    return Fixed4::fromDouble(km.toDouble() / 100 * consumption.toDouble() * price.toDouble());
}

// A value as a DECIMAL(p,2) column would hold it: to the cent, halves to even.
QString inCents(Fixed4 value) {
    const auto cents = Decimal::fromUnits(value.units(), 4).rescaled(2);
    return cents ? cents->normalized().toString() : value.toString();
}

bool costFits(Fixed4 km, Fixed4 consumption, Fixed4 price) {
    const auto cost = costOf(km, consumption, price);
    return cost && SheetInput::kCostColumn.holds(*cost);
}

// The fields whose value lowered alone (down to 1, the least each takes) brings the cost
// within its column, named as the editor labels them. The kilometres always can: a
// consumption and a price that fit their columns cost at most 9999.99 x 9999.99 / 100 lei
// per kilometre.
QString fieldsToLower(Fixed4 km, Fixed4 consumption, Fixed4 price) {
    const Fixed4 one = Fixed4::fromUnits(Fixed4::kScale);
    QStringList names{QStringLiteral("Total Km")};
    if (costFits(km, one, price))
        names.append(QStringLiteral("Consum L/100 Km"));
    if (costFits(km, consumption, one))
        names.append(QStringLiteral("Pret combustibil /L"));
    const QString last = names.takeLast();
    return names.isEmpty() ? last
                           : names.join(QStringLiteral(", ")) + QStringLiteral(" sau ") + last;
}

} // namespace

std::optional<SheetInput::Problem> SheetInput::normaliseAndCheck() {
    const Fixed4 one = Fixed4::fromUnits(Fixed4::kScale);

    vehicle = TextRules::trim(vehicle);
    if (vehicle.isEmpty())
        return Problem{Field::NrInmat, QStringLiteral("Lipseste numarul de inmatriculare!")};

    driver1 = TextRules::squashSpaces(driver1);
    if (driver1.isEmpty())
        return Problem{Field::Sofer1, QStringLiteral("Lipseste Numele Soferului!")};

    driver2 = TextRules::squashSpaces(driver2);
    parking = TextRules::squashSpaces(parking);
    if (parking.isEmpty())
        return Problem{Field::LocParcare, QStringLiteral("Lipseste Locul de parcare!")};

    if (km.isEmpty())
        km = QStringLiteral("0");
    if (valueOf(km) < one)
        return Problem{Field::TotKm, QStringLiteral("Lipseste Numarul de Km!")};
    // A value the table cannot hold is said here, before an identifier is taken or the
    // vehicle's consumption and price are remembered: the engine would refuse the sheet.
    if (!kKmColumn.holds(valueOf(km))) {
        return Problem{Field::TotKm, QStringLiteral("Numarul de Km este prea mare! Cel mult %1 Km.")
                                         .arg(kKmColumn.largest().toString())};
    }
    if (consumption.isEmpty())
        consumption = QStringLiteral("0");
    if (valueOf(consumption) < one)
        return Problem{Field::Consum, QStringLiteral("Lipseste Consumul la 100 Km!")};
    if (!kConsumptionColumn.holds(valueOf(consumption))) {
        return Problem{Field::Consum,
                       QStringLiteral("Consumul la 100 Km este prea mare! Cel mult %1 L.")
                           .arg(kConsumptionColumn.largest().toString())};
    }
    if (price.isEmpty())
        price = QStringLiteral("0");
    if (valueOf(price) < one)
        return Problem{Field::PretL, QStringLiteral("Lipseste Pretul la carburant!")};
    if (!kPriceColumn.holds(valueOf(price))) {
        return Problem{Field::PretL,
                       QStringLiteral("Pretul la carburant este prea mare! Cel mult %1 lei/L.")
                           .arg(kPriceColumn.largest().toString())};
    }
    const Fixed4 k = valueOf(km);
    const Fixed4 c = valueOf(consumption);
    const Fixed4 p = valueOf(price);
    if (!costFits(k, c, p)) {
        // Fields within their columns keep the cost within Fixed4: costOf has a value here.
        // The hint sits on the kilometres, which can always be lowered enough by themselves.
        return Problem{Field::TotKm,
                       QStringLiteral("Costul combustibilului ar fi %1 lei, dar foaia tine cel "
                                      "mult %2 lei! Micsorati %3.")
                           .arg(inCents(costOf(k, c, p).value_or(Fixed4())),
                                kCostColumn.largest().toString(), fieldsToLower(k, c, p))};
    }
    return std::nullopt;
}

Fixed4 SheetInput::NumberColumn::largest() const {
    qint64 units = 1;
    for (int i = 0; i < precision; ++i)
        units *= 10;
    units -= 1;
    for (int i = scale; i < 4; ++i)
        units *= 10;
    return Fixed4::fromUnits(units);
}

Fixed4 SheetInput::NumberColumn::rounded(Fixed4 value) const {
    // Fewer decimals than Fixed4's: rescaling down always has a value.
    const Decimal kept = *Decimal::fromUnits(value.units(), 4).rescaled(scale);
    qint64 units = kept.units();
    for (int i = scale; i < 4; ++i)
        units *= 10;
    return Fixed4::fromUnits(units);
}

bool SheetInput::NumberColumn::holds(Fixed4 value) const {
    const qint64 kept = rounded(value).units();
    return kept <= largest().units() && kept >= -largest().units();
}

Fixed4 SheetInput::cost(Fixed4 km, Fixed4 consumption, Fixed4 price) {
    return costOf(km, consumption, price).value_or(Fixed4());
}

QTime SheetInput::hourOfText(const QString &text) {
    const QStringList parts = text.split(u':');
    bool hoursOk = false;
    bool minutesOk = false;
    const int hours = parts.size() == 2 ? parts[0].trimmed().toInt(&hoursOk) : -1;
    const int minutes = parts.size() == 2 ? parts[1].trimmed().toInt(&minutesOk) : -1;
    const QTime time(hours, minutes);
    if (!hoursOk || !minutesOk || !time.isValid())
        throw InputError(QStringLiteral("\"%1\" nu este o ora valida (HH:mm).").arg(text));
    return time;
}

} // namespace velmora
