// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/error.h"

#include <QTest>
#include <new>
#include <stdexcept>

using namespace velmora;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::exception_ptr)

// Whatever stops an operation reaches the user in Romanian words, and an error of our own
// exactly as it was written.
class TestUserMessage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachKindIsSaidInTheUsersWords_data() {
        QTest::addColumn<std::exception_ptr>("error");
        QTest::addColumn<QString>("expected");
        QTest::newRow("engine error")
            << std::make_exception_ptr(EngineError(u"Tabela nu poate fi citita."_s))
            << u"Tabela nu poate fi citita."_s;
        QTest::newRow("file error with ș and ț")
            << std::make_exception_ptr(FileError(u"Fișierul „Țară.dbf” lipsește."_s))
            << u"Fișierul „Țară.dbf” lipsește."_s;
        QTest::newRow("out of memory")
            << std::make_exception_ptr(std::bad_alloc()) << Error::outOfMemoryText();
        QTest::newRow("array too long")
            << std::make_exception_ptr(std::bad_array_new_length()) << Error::outOfMemoryText();
        QTest::newRow("standard exception")
            << std::make_exception_ptr(std::out_of_range("vector::_M_range_check"))
            << u"Operatia a fost oprita de o eroare neprevazuta (vector::_M_range_check)."_s;
        QTest::newRow("something else")
            << std::make_exception_ptr(42) << u"Operatia a fost oprita de o eroare necunoscuta."_s;
        QTest::newRow("nothing") << std::exception_ptr() << QString();
    }
    void eachKindIsSaidInTheUsersWords() {
        QFETCH(std::exception_ptr, error);
        QFETCH(QString, expected);
        QCOMPARE(userMessage(error), expected);
    }
};

QTEST_GUILESS_MAIN(TestUserMessage)
#include "tst_usermessage.moc"
