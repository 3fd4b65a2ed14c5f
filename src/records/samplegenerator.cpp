// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/samplegenerator.h"

#include "records/sheetinput.h"
#include "records/sheetstatements.h"
#include "store/counters.h"
#include "store/datastore.h"
#include "store/sql/sqlengine.h"
#include "store/text/error.h"
#include "store/text/fixed4.h"
#include "store/text/textform.h"
#include "store/text/timp.h"

#include <QHash>
#include <QRandomGenerator>
#include <vector>

namespace velmora {

namespace {

const char *const kCounties[] = {"B", "CJ", "TM", "IS", "BV", "CT", "SB", "AG", "PH", "DJ"};
const char *const kSurnames[] = {"POPESCU", "IONESCU",  "POPA",   "DUMITRU",  "STAN",
                                 "STOICA",  "GHEORGHE", "RUSU",   "MUNTEANU", "CONSTANTIN",
                                 "MATEI",   "SERBAN",   "TANASE", "NEAGU",    "DOBRE"};
const char *const kNames[] = {"ION",   "MARIA", "GHEORGHE", "ELENA",  "VASILE", "ANA",
                              "MIHAI", "IOANA", "ANDREI",   "CRISTI", "DAN",    "RADU"};
const char *const kParking[] = {"AUTOBAZA NORD", "AUTOBAZA SUD",     "DEPOU 1",
                                "DEPOU 2",       "PARCARE CENTRALA", "GARA DE NORD",
                                "AUTOGARA VEST", "BAZA TRANSPORT"};

template <size_t N>
QString pick(QRandomGenerator &random, const char *const (&list)[N]) {
    return QLatin1String(list[random.bounded(static_cast<quint32>(N))]);
}

// A Fixed4 value between low and high (in units of the given step), as the editor would hold it.
Fixed4 between(QRandomGenerator &random, qint64 lowUnits, qint64 highUnits, qint64 stepUnits) {
    const auto steps = static_cast<quint32>((highUnits - lowUnits) / stepUnits + 1);
    return Fixed4::fromUnits(lowUnits + random.bounded(steps) * stepUnits);
}

struct Vehicle {
    QString plate;
    QString consumption;
    QString price;
};

} // namespace

SampleGenerator::SampleGenerator(DataStore &store, QDate firstDay)
    : m_store(store)
    , m_firstDay(firstDay) {}

SampleGenerator::Summary SampleGenerator::generate(qint32 sheets, qint32 linesPerSheet,
                                                   quint32 seed, const Progress &progress) {
    if (sheets < 0 || linesPerSheet < 0)
        throw InputError(
            QStringLiteral("Numarul de foi si de plecari/sosiri nu poate fi negativ."));
    QRandomGenerator random(seed);

    std::vector<Vehicle> fleet;
    for (int i = 0; i < 40; ++i) {
        QString plate = pick(random, kCounties) + TextForm::twoDigit(random.bounded(1, 100));
        for (int c = 0; c < 3; ++c)
            plate += QChar(u'A' + random.bounded(26));
        fleet.push_back({plate, {}, {}});
    }
    QStringList drivers;
    for (int i = 0; i < 60; ++i)
        drivers.append(pick(random, kSurnames) + u' ' + pick(random, kNames));

    // The number of lines of every sheet is drawn first, so that both blocks of identifiers
    // are taken from the counters file in one step each.
    std::vector<qint32> lineCounts(static_cast<size_t>(sheets));
    qint64 totalLines = 0;
    for (qint32 &count : lineCounts) {
        count = linesPerSheet == 0 ? 0 : std::max(0, linesPerSheet - 1 + int(random.bounded(3)));
        totalLines += count;
    }
    if (totalLines > std::numeric_limits<qint32>::max())
        throw InputError(QStringLiteral("Prea multe plecari/sosiri pentru un singur pas."));
    Summary summary;
    if (sheets == 0)
        return summary;
    const Counters::Block sheetIds = m_store.reserveIds(Counters::sheets(), sheets);
    const Counters::Block lineIds =
        totalLines > 0 ? m_store.reserveIds(Counters::lines(), static_cast<qint32>(totalLines))
                       : Counters::Block{};

    const SheetStatements statements(m_store.dataDir());
    const QDate lastDay = m_firstDay.addYears(1).addDays(-1);
    const qint64 days = m_firstDay.daysTo(lastDay) + 1;
    qint32 nextLine = 0;
    // Bulk data is not worth a disk sync per statement; a kill still leaves the tables whole.
    SqlEngine::setSynchronous(false);
    try {
        for (qint32 s = 0; s < sheets; ++s) {
            Vehicle &vehicle = fleet[random.bounded(static_cast<quint32>(fleet.size()))];
            SheetValues sheet;
            sheet.id = sheetIds.id(s);
            sheet.date = m_firstDay.addDays(days * s / sheets);
            sheet.hour = QTime(5 + random.bounded(16), random.bounded(60), random.bounded(60));
            sheet.vehicle = vehicle.plate;
            sheet.driver1 = drivers[random.bounded(static_cast<quint32>(drivers.size()))];
            if (random.bounded(10) >= 3)
                sheet.driver2 = drivers[random.bounded(static_cast<quint32>(drivers.size()))];
            sheet.parking = pick(random, kParking);
            const Fixed4 km = between(random, 40 * 10000, 800 * 10000, 10000);
            const Fixed4 consumption = between(random, 65000, 140000, 1000);
            const Fixed4 price = between(random, 62000, 89000, 100);
            sheet.km = km.toString();
            sheet.consumption = consumption.toString();
            sheet.price = price.toString();
            sheet.cost = SheetInput::cost(km, consumption, price).toString();
            vehicle.consumption = sheet.consumption;
            vehicle.price = sheet.price;

            std::vector<LineValues> lines;
            qint64 income = 0;
            QTime at = sheet.hour;
            for (qint32 l = 0; l < lineCounts[static_cast<size_t>(s)]; ++l) {
                const Fixed4 amount = between(random, 20 * 10000, 500 * 10000, 100);
                income += amount.units();
                if (l > 0) {
                    const QTime later = at.addSecs(60 * (20 + random.bounded(70)));
                    at = later < at ? QTime(23, 59) : later;
                }
                lines.push_back({lineIds.id(nextLine++), sheet.id,
                                 QLatin1String(l % 2 == 0 ? "PLECARE" : "SOSIRE"),
                                 TextForm::fourDecimal(Timp::fromDateTime(sheet.date, at)),
                                 amount.toString()});
            }
            // The sheet goes in with the sum of its lines, which the windows reach one line
            // at a time.
            sheet.totalIncome = Fixed4::fromUnits(income).toString();
            SqlEngine::run(statements.insertSheet(sheet).join(u'\n'));
            for (const LineValues &line : lines)
                SqlEngine::run(statements.insertLine(line).join(u'\n'));
            summary.sheets += 1;
            summary.lines += static_cast<qint64>(lines.size());
            if (progress && (s + 1) % 1000 == 0)
                progress(summary.sheets);
        }
    } catch (...) {
        SqlEngine::setSynchronous(true);
        throw;
    }
    SqlEngine::setSynchronous(true);
    for (const Vehicle &vehicle : fleet) {
        if (vehicle.consumption.isEmpty())
            continue;
        m_store.iniWrite(vehicle.plate, QStringLiteral("CONSUM"), vehicle.consumption);
        m_store.iniWrite(vehicle.plate, QStringLiteral("PRETL"), vehicle.price);
    }
    if (progress)
        progress(summary.sheets);
    return summary;
}

} // namespace velmora
