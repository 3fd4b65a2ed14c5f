// SPDX-License-Identifier: GPL-3.0-or-later
// The SQL tokenizer and parser on any text: a statement either is refused with an EngineError
// or parses into a tree that prints back to a statement which parses into the same tree.

#include "fuzzsupport.h"

#include "store/sql/sqlparser.h"
#include "store/sql/sqlprinter.h"
#include "store/text/error.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    QString printed;
    try {
        printed = SqlPrinter::print(SqlParser::parse(text));
    } catch (const EngineError &) {
        return 0;
    }
    QString again;
    try {
        again = SqlPrinter::print(SqlParser::parse(printed));
    } catch (const EngineError &e) {
        // The printed form puts every operator in parentheses, so it may nest deeper than the
        // statement as written did; that refusal is the limit's, not a misreading.
        VELMORA_FUZZ_CHECK(e.message().contains(QStringLiteral("prea multe niveluri")),
                           QStringLiteral("printed statement refused: ") + e.message() +
                               QStringLiteral("\n") + printed);
        return 0;
    }
    VELMORA_FUZZ_CHECK(again == printed, QStringLiteral("printed differently:\n") + printed +
                                             QStringLiteral("\n") + again);
    return 0;
}
