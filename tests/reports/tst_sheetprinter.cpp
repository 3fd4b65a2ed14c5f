// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/documentopener.h"
#include "reports/printoutfiles.h"
#include "reports/sheetprinter.h"
#include "store/text/error.h"
#include "ui/messagedialog.h"

#include "tripfixture.h"

#include <QDir>
#include <QTest>

using namespace velmora;

namespace {

class RecordingOpener : public DocumentOpener {
public:
    void open(const QString &path) override { opened.append(path); }
    QStringList opened;
};

} // namespace

// The print button's side in the windows: the printout opened in the viewer, a printout that
// cannot start told in the message dialog, other errors raised for the slot's guard.
class TestSheetPrinter : public QObject {
    Q_OBJECT

    std::unique_ptr<TripFixture> m_trips;
    MessageDialog m_messages;
    RecordingOpener m_opener;

    QString folder() const { return m_trips->programDir() + QStringLiteral("/docs"); }

    void print(const QString &id) {
        SheetPrinter printer(m_trips->programDir(), m_messages, m_opener, PrintoutFiles(folder()));
        printer.printSheet(id);
    }

private Q_SLOTS:
    void init() {
        m_trips = std::make_unique<TripFixture>();
        m_trips->addSheet(velmora::statements::Sheet());
        m_messages.clearShown();
        m_opener.opened.clear();
    }

    void printsAndOpens() {
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_TEMPLATE),
                            m_trips->programDir() + QStringLiteral("/Foaie.rtf")));
        print(QStringLiteral("17"));
        QCOMPARE(m_opener.opened, QStringList{folder() + QStringLiteral("/Rap1.rtf")});
        QVERIFY(m_messages.shown().isEmpty());
    }

    void missingTemplateInTheMessageDialog() {
        m_messages.queueAnswer(MessageResult::Ok);
        print(QStringLiteral("17"));
        QCOMPARE(m_messages.shown().size(), 1);
        const MessageRecord &m = m_messages.shown().first();
        QCOMPARE(m.title, QStringLiteral("Raport"));
        QCOMPARE(m.text, QStringLiteral("Fisierul ") +
                             QDir::toNativeSeparators(m_trips->programDir() +
                                                      QStringLiteral("/Foaie.rtf")) +
                             QStringLiteral(" nu exista sau nu poate fi citit !!"));
        QCOMPARE(m.kind, MessageKind::Eroare);
        QCOMPARE(m.buttons, MessageButtons(MessageButton::OK));
        QVERIFY(m_opener.opened.isEmpty());
    }

    void noFreePrintoutFile() {
        for (int n = 1; n <= PrintoutFiles::kCount; ++n)
            QVERIFY(QDir().mkpath(PrintoutFiles(folder()).path(n) + QStringLiteral("/held")));
        m_messages.queueAnswer(MessageResult::Ok);
        print(QStringLiteral("17"));
        QCOMPARE(m_messages.shown().size(), 1);
        QCOMPARE(
            m_messages.shown().first().text,
            QStringLiteral("Nu pot scrie in dosarul %1 !").arg(QDir::toNativeSeparators(folder())));
        QVERIFY(m_opener.opened.isEmpty());
    }

    void otherErrorsAreRaisedForTheGuard() {
        QVERIFY_THROWS_EXCEPTION(InputError, print(QStringLiteral("99")));
        QVERIFY(m_messages.shown().isEmpty());
        QVERIFY(m_opener.opened.isEmpty());
    }
};

QTEST_MAIN(TestSheetPrinter)
#include "tst_sheetprinter.moc"
