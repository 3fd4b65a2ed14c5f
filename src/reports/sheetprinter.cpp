#include "reports/sheetprinter.h"

#include "reports/printouterror.h"
#include "ui/errorbox.h"
#include "ui/terori.h"

#include <QCoreApplication>

namespace velmora {

SheetPrinter::SheetPrinter(const QString &programDir, TErori &messages, DocumentOpener &opener,
                           PrintoutFiles files, QObject *parent)
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
        m_messages.Mesaj(PrintoutError::title(), refused.message(), TErori::Eroare, TErori::OK);
    } catch (const Error &error) {
        ErrorBox::show(error.message());
    }
}

} // namespace velmora
