// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/printoutfiles.h"
#include "reports/sheetprintout.h"

#include <QObject>
#include <QString>

namespace velmora {

class DocumentOpener;
class MessageDialog;

// The records window's print button: the selected sheet's printout written to the first free
// printout file and opened in the system's RTF viewer. A printout that cannot start is told
// in the message dialog under "Raport"; any other error is raised, for the slot's guard.
class SheetPrinter : public QObject {
    Q_OBJECT

public:
    SheetPrinter(const QString &programDir, MessageDialog &messages, DocumentOpener &opener,
                 PrintoutFiles files = PrintoutFiles(), QObject *parent = nullptr);

public Q_SLOTS:
    void printSheet(const QString &sheetId);

private:
    SheetPrintout m_printout;
    MessageDialog &m_messages;
    DocumentOpener &m_opener;
    PrintoutFiles m_files;
};

} // namespace velmora
