// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/sheetprinter.h"

#include "reports/printouterror.h"
#include "ui/messagedialog.h"

#include <QCoreApplication>

namespace velmora {

SheetPrinter::SheetPrinter(const QString &programDir, MessageDialog &messages,
                           DocumentOpener &opener, PrintoutFiles files, QObject *parent)
    : QObject(parent)
    , m_printout(programDir)
    , m_messages(messages)
    , m_opener(opener)
    , m_files(std::move(files)) {}

void SheetPrinter::printSheet(const QString &sheetId) {
    try {
        m_printout.print(sheetId, m_files, m_opener);
        QCoreApplication::processEvents();
    } catch (const PrintoutError &refused) {
        m_messages.Mesaj(PrintoutError::title(), refused.message(), MessageKind::Eroare,
                         MessageButton::OK);
    }
}

} // namespace velmora
