// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/period.h"
#include "store/text/error.h"

#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

class TestPeriod : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rule_data() {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("problem");
        const QString wrong = u"Perioada incorecta!"_s;
        QTest::newRow("one day") << QDate(2007, 1, 20) << QDate(2007, 1, 20) << QString();
        QTest::newRow("a year") << QDate(2007, 1, 1) << QDate(2007, 12, 31) << QString();
        QTest::newRow("across a year's end")
            << QDate(2006, 12, 31) << QDate(2007, 1, 1) << QString();
        QTest::newRow("end a day before the start")
            << QDate(2007, 1, 20) << QDate(2007, 1, 19) << wrong;
        QTest::newRow("end a year before the start")
            << QDate(2008, 1, 1) << QDate(2007, 1, 1) << wrong;
        QTest::newRow("no start") << QDate() << QDate(2007, 1, 1) << wrong;
        QTest::newRow("no end") << QDate(2007, 1, 1) << QDate() << wrong;
    }
    void rule() {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, problem);
        QCOMPARE(Period::problem(from, to).value_or(QString()), problem);
        if (problem.isEmpty()) {
            Period::require(from, to);
            return;
        }
        try {
            Period::require(from, to);
            QFAIL("a wrong period was let through");
        } catch (const InputError &error) {
            QCOMPARE(error.message(), problem);
        }
    }
};

QTEST_GUILESS_MAIN(TestPeriod)
#include "tst_period.moc"
