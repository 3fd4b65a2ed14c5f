// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/sheetinput.h"

#include "store/text/error.h"
#include "store/text/textrules.h"

namespace velmora {

namespace {

Fixed4 valueOf(const QString &text) {
    return Fixed4::parse(text).value_or(Fixed4());
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
    if (consumption.isEmpty())
        consumption = QStringLiteral("0");
    if (valueOf(consumption) < one)
        return Problem{Field::Consum, QStringLiteral("Lipseste Consumul la 100 Km!")};
    if (price.isEmpty())
        price = QStringLiteral("0");
    if (valueOf(price) < one)
        return Problem{Field::PretL, QStringLiteral("Lipseste Pretul la carburant!")};
    return std::nullopt;
}

Fixed4 SheetInput::cost(Fixed4 km, Fixed4 consumption, Fixed4 price) {
    const double product = km.toDouble() / 100 * consumption.toDouble() * price.toDouble();
    return Fixed4::fromDouble(product).value_or(Fixed4());
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
