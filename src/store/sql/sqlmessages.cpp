// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/sqlmessages.h"

#include "store/text/decimal.h"
#include "store/text/textform.h"

namespace velmora {

QString SqlMessages::noSuchColumn(const QString &column, const QString &table) {
    return QStringLiteral("coloana %1 nu exista in tabela %2").arg(column, table);
}

QString SqlMessages::columnTwice(const QString &column) {
    return QStringLiteral("coloana %1 apare de doua ori").arg(column);
}

QString SqlMessages::whereNeedsCondition() {
    return QStringLiteral("dupa WHERE se astepta o conditie");
}

QString SqlMessages::unreadableDate(const QString &text) {
    return QStringLiteral("data \"%1\" nu poate fi citita; se astepta o data de forma %2")
        .arg(text, TextForm::dateFormat());
}

QString SqlMessages::numberExpected(const QString &text) {
    return QStringLiteral("se astepta un numar (cu punct zecimal), s-a gasit textul \"%1\"")
        .arg(text);
}

QString SqlMessages::tooManyDigits(const QString &number) {
    // A number of hundreds of digits is named by its beginning.
    const QString shown = number.size() > 24 ? number.left(20) + QStringLiteral("...") : number;
    return QStringLiteral("numarul %1 are prea multe cifre (cel mult %2 cifre semnificative si "
                          "%3 zecimale)")
        .arg(shown)
        .arg(Decimal::kMaxDigits)
        .arg(Decimal::kMaxScale);
}

QString SqlMessages::resultTooLarge() {
    return QStringLiteral("rezultatul calculului are mai mult de %1 cifre")
        .arg(Decimal::kMaxDigits);
}

} // namespace velmora
