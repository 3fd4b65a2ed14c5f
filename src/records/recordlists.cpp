// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/recordlists.h"

#include "store/text/textform.h"
#include "store/text/textrules.h"
#include "store/text/timp.h"

namespace velmora {

namespace {

constexpr int kSortLine = 2;

QString orderBy(const QString &fields) {
    return QStringLiteral("ORDER BY ") + fields;
}

// Repainting of the views bound to a query waits until the scope ends, also on an error.
class ControlsDisabled {
public:
    explicit ControlsDisabled(Query &query)
        : m_query(query) {
        m_query.disableControls();
    }
    ~ControlsDisabled() { m_query.enableControls(); }
    ControlsDisabled(const ControlsDisabled &) = delete;
    ControlsDisabled &operator=(const ControlsDisabled &) = delete;

private:
    Query &m_query;
};

QString idText(const Query &query, QStringView field) {
    if (!query.isOpen() || query.isEmpty() || query.recNo() < 0)
        return {};
    return TextForm::general(query.number(field));
}

} // namespace

RecordLists::RecordLists(const QString &dataDir, QObject *parent)
    : QObject(parent)
    , m_dataDir(dataDir) {
    // Not cut to ten characters: a regional date may be longer, and a cut date is wrong.
    m_px.addCalcField(QStringLiteral("ZIUA"), 0);
    m_px.addCalcField(QStringLiteral("ORA"), 5);
    m_px.setCalcHandler([](Query::CalcRow &row) {
        const double timp = row.number(u"TIMP");
        row.setText(u"ZIUA", TextForm::date(Timp::date(timp)));
        row.setText(u"ORA", TextForm::hour(Timp::time(timp)));
    });
    connect(&m_fx, &Query::afterScroll, this, &RecordLists::follow);
}

void RecordLists::open() {
    m_fx.setSql({QStringLiteral("SELECT *"),
                 QStringLiteral("FROM ") + TextForm::quoted(m_dataDir + QStringLiteral("/Foi.dbf")),
                 orderBy(QStringLiteral("DATAX, ORA"))});
    m_px.setSql(
        {QStringLiteral("SELECT *"),
         QStringLiteral("FROM ") + TextForm::quoted(m_dataDir + QStringLiteral("/Sosiri.dbf")),
         orderBy(QStringLiteral("TIMP"))});
    {
        const ControlsDisabled lines(m_px);
        m_px.open();
        m_fx.open();
    }
    m_fx.last();
}

void RecordLists::close() {
    m_fx.close();
    m_px.close();
}

void RecordLists::follow() {
    const QString id = idText(m_fx, u"IDFOAIE");
    m_px.setFilter(QStringLiteral("IDFOAIE=") + (id.isEmpty() ? QStringLiteral("-1") : id));
    m_px.setFiltered(true);
}

QString RecordLists::selectedSheetId() const {
    return idText(m_fx, u"IDFOAIE");
}

QString RecordLists::selectedLineId() const {
    return idText(m_px, u"IDSOS");
}

QString RecordLists::searchCondition(const QString &driver, const QString &vehicle) {
    QStringList parts;
    if (!driver.isEmpty()) {
        const QString prefix = TextForm::filterQuoted(driver + u'*');
        parts.append(QStringLiteral("((SOFER1=%1) OR (SOFER2=%1))").arg(prefix));
    }
    if (!vehicle.isEmpty())
        parts.append(QStringLiteral("(NRMAS=%1)").arg(TextForm::filterQuoted(vehicle + u'*')));
    // Joined part by part: the joiner would also split a ")(" typed inside a name.
    return TextRules::trim(parts.join(QStringLiteral(" AND ")));
}

void RecordLists::search(const QString &driver, const QString &vehicle) {
    const QString condition = searchCondition(driver, vehicle);
    if (condition.isEmpty()) {
        m_fx.setFiltered(false);
        m_fx.setFilter(QString());
        return;
    }
    m_fx.setFilter(condition);
    m_fx.setFiltered(true);
}

QString RecordLists::sortField() const {
    const QStringList sql = m_fx.sql();
    if (sql.size() <= kSortLine)
        return {};
    return sql.at(kSortLine).mid(QStringLiteral("ORDER BY ").size());
}

bool RecordLists::sortBy(const QString &field) {
    if (m_fx.isEmpty() || field.compare(u"ORA", Qt::CaseInsensitive) == 0)
        return false;
    const QString sheetId = selectedSheetId();
    const QString lineId = selectedLineId();
    {
        const ControlsDisabled sheets(m_fx);
        m_fx.replaceLine(kSortLine, orderBy(field));
        m_fx.open();
        m_fx.locate(u"IDFOAIE", sheetId);
    }
    if (!lineId.isEmpty())
        m_px.locate(u"IDSOS", lineId);
    return true;
}

void RecordLists::refreshSheets(const QString &sheetId) {
    {
        const ControlsDisabled sheets(m_fx);
        m_fx.close();
        m_fx.open();
    }
    m_fx.locate(u"IDFOAIE", sheetId);
}

void RecordLists::reopenBoth() {
    m_fx.close();
    m_px.close();
    m_px.open();
    m_fx.open();
}

void RecordLists::refreshAll(const QString &sheetId, const QString &lineId) {
    const ControlsDisabled lines(m_px);
    {
        const ControlsDisabled sheets(m_fx);
        reopenBoth();
    }
    m_fx.locate(u"IDFOAIE", sheetId);
    m_px.locate(u"IDSOS", lineId);
}

void RecordLists::refreshAfterSheetDelete() {
    {
        const ControlsDisabled lines(m_px);
        const ControlsDisabled sheets(m_fx);
        reopenBoth();
    }
    m_fx.last();
}

} // namespace velmora
