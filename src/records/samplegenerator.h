// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <functional>

namespace velmora {

class DataStore;

// Fills the tables with made-up but plausible sheets and their departures and arrivals, for
// demonstrations and benchmarks. Everything goes through the statements and the counters the
// windows use, so the data obeys the same rules: identifiers from the counters file, each
// sheet's income equal to the sum of its lines, per-vehicle consumption and price remembered.
// The same seed gives the same data.
class SampleGenerator {
public:
    struct Summary {
        qint64 sheets = 0;
        qint64 lines = 0;
    };
    // Called with the number of sheets written so far.
    using Progress = std::function<void(qint64 sheetsDone)>;

    // Sheets are spread over the year that starts on firstDay.
    SampleGenerator(DataStore &store, QDate firstDay);

    // About linesPerSheet departures and arrivals each (one more or one less at random).
    Summary generate(qint32 sheets, qint32 linesPerSheet, quint32 seed,
                     const Progress &progress = {});

private:
    DataStore &m_store;
    QDate m_firstDay;
};

} // namespace velmora
