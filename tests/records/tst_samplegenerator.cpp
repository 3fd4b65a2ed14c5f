// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordsfixture.h"

#include "records/samplegenerator.h"
#include "records/sheetinput.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

// Made-up sheets obey the rules the editors keep, so that reports over them add up.
class TestSampleGenerator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sheetsCostWhatTheEditorWouldWorkOut() {
        RecordsFixture f;
        const SampleGenerator::Summary done =
            SampleGenerator(f.store(), QDate(2007, 1, 1)).generate(40, 3, 7);
        QCOMPARE(done.sheets, 40);
        const QStringList sheets =
            f.sheets({u"TKM"_s, u"CONSUM"_s, u"PRETL"_s, u"COST"_s, u"IDFOAIE"_s, u"TOTALVEN"_s});
        QCOMPARE(sheets.size(), 40);
        QHash<QString, qint64> income;
        for (const QString &line : f.lines({u"IDFOAIE"_s, u"SUMA"_s})) {
            const QStringList l = line.split(u'|');
            income[l[0]] += Fixed4::parse(l[1])->units();
        }
        for (const QString &sheet : sheets) {
            const QStringList s = sheet.split(u'|');
            const Fixed4 cost =
                SheetInput::cost(*Fixed4::parse(s[0]), *Fixed4::parse(s[1]), *Fixed4::parse(s[2]));
            // COST keeps two decimals, as the editor's sheet is written.
            QCOMPARE(s[3], SheetInput::kCostColumn.rounded(cost).toString());
            QCOMPARE(Fixed4::parse(s[5])->units(), income.value(s[4]));
        }
    }
};

QTEST_GUILESS_MAIN(TestSampleGenerator)
#include "tst_samplegenerator.moc"
