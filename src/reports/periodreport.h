// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/query/query.h"

#include <QDate>
#include <QObject>
#include <QString>

class QWidget;

namespace velmora {

// The period report's holder ("Listare"): the report query Lx and the preview of the report,
// from which the user prints it or saves it as PDF. Never shown itself.
class PeriodReport : public QObject {
    Q_OBJECT

public:
    explicit PeriodReport(QString dataDir, QWidget *previewParent = nullptr);

    // Runs the period query and shows the report's preview, maximised at 100 %, until the
    // user closes it. A query the engine refuses raises before anything is shown.
    void showPeriod(QDate from, QDate to);

    const Query &lx() const { return m_lx; }
    // The period label's text of the last report.
    const QString &periodLabel() const { return m_periodLabel; }

private:
    QString m_dataDir;
    QWidget *m_previewParent;
    Query m_lx;
    QString m_periodLabel = QStringLiteral("in perioada");
};

} // namespace velmora
