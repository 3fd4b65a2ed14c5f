// SPDX-License-Identifier: GPL-3.0-or-later
#include "apptestmain.h"

#include "app/application.h"
#include "app/splashwindow.h"
#include "backup/datarestore.h"
#include "backup/datasnapshot.h"
#include "filebytes.h"
#include "store/datastore.h"
#include "store/dbf/datalock.h"
#include "store/dbf/faultpoint.h"
#include "store/sql/sqlengine.h"
#include "store/text/error.h"
#include "ui/errorbox.h"
#include "ui/messagedialog.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

using Files = QMap<QString, QByteArray>;

Files dataSet(const QString &programDir) {
    Files files;
    const QDir data(programDir + u"/Data"_s);
    for (const QString &name : data.entryList(QDir::Files | QDir::Hidden)) {
        if (name != DataLock::lockFileName())
            files.insert(name, bytesOf(data.filePath(name)));
    }
    return files;
}

// Tables with sheets numbered from first, and the counters after them.
void fillProgram(const QString &programDir, int first, int count) {
    DataStore store(programDir);
    store.ensureDataDir();
    store.createTables();
    for (int i = 0; i < count; ++i) {
        const QString id = store.nextId(u"IDFOAIE"_s);
        QCOMPARE(id.toInt(), first + i);
        SqlEngine::run(u"INSERT INTO \"%1\" (IDFOAIE, NRMAS) VALUES (%2, \"B%2\")"_s.arg(
            store.sheetsTable(), id));
    }
}

} // namespace

// The program's start after a restore was killed: it finishes what the restore began, or
// leaves the data as it was, before it looks at the tables, and says so once.
class TestInterruptedRestore : public QObject {
    Q_OBJECT

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_tmp;
    QStringList m_errors;
    Files m_old;
    Files m_new;
    QString m_oldProgram;
    QString m_archive;

    // A copy of the old program directory whose restore was killed at the first step after
    // which the journal (or, before it, only the unpacked archive) is left.
    QString killedRestore(bool journal) {
        for (int step = 1; step < 100; ++step) {
            const QString dir = m_tmp.filePath(u"k%1-%2"_s.arg(journal).arg(step));
            if (!QDir().mkpath(dir + u"/Data"_s))
                return {};
            for (auto it = m_old.cbegin(); it != m_old.cend(); ++it)
                putBytes(dir + u"/Data/"_s + it.key(), it.value());
            FaultPoint::arm(step);
            try {
                DataRestore::restore(m_archive, dir);
            } catch (const SimulatedKill &) {
            }
            FaultPoint::disarm();
            const bool marker = QFile::exists(dir + u"/Data/"_s + DataLock::restoreMarkerName());
            const QStringList staging = QDir(dir).entryList({u"Data.restaurare-*"_s}, QDir::Dirs);
            const bool unpacked =
                !staging.isEmpty() &&
                QDir(dir + u'/' + staging[0]).entryList(QDir::Files).size() == m_new.size();
            if (journal ? marker : unpacked && !marker)
                return dir;
        }
        return {};
    }

private Q_SLOTS:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        ErrorBox::setHandler([this](const QString &message) { m_errors.append(message); });
        m_oldProgram = m_tmp.filePath(u"old"_s);
        fillProgram(m_oldProgram, 1, 30);
        m_old = dataSet(m_oldProgram);
        const QString other = m_tmp.filePath(u"new"_s);
        fillProgram(other, 1, 4);
        m_new = dataSet(other);
        m_archive = m_tmp.filePath(u"copie.vmr"_s);
        QCOMPARE(DataSnapshot::save(other, m_archive), 3);
    }

    void init() { m_errors.clear(); }

    void theStartSaysWhatItDid_data() {
        QTest::addColumn<bool>("journal");
        QTest::addColumn<bool>("finished");
        QTest::addColumn<QString>("said");
        QTest::newRow("killed while moving the files")
            << true << true << u"acum a fost dusa la capat"_s;
        QTest::newRow("killed after unpacking") << false << false << u"a ramas neschimbat"_s;
    }

    void theStartSaysWhatItDid() {
        QFETCH(bool, journal);
        QFETCH(bool, finished);
        QFETCH(QString, said);
        const QString dir = killedRestore(journal);
        QVERIFY(!dir.isEmpty());

        for (int start = 1; start <= 2; ++start) {
            Application application(dir);
            application.messageDialog().queueAnswer(MessageResult::Ok);
            QSignalSpy done(&application.splash(), &SplashWindow::startupFinished);
            application.start();
            QVERIFY(QTest::qWaitFor([&] { return !done.isEmpty(); }, 30000));
            QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
            const QList<MessageRecord> &shown = application.messageDialog().shown();
            if (start == 1) {
                QCOMPARE(shown.size(), 1);
                QCOMPARE(shown[0].kind, MessageKind::Informatie);
                QVERIFY2(shown[0].text.contains(said), qPrintable(shown[0].text));
            } else {
                QCOMPARE(shown.size(), 0);
            }
            // The whole of one set, never fresh empty tables.
            QCOMPARE(dataSet(dir), finished ? m_new : m_old);
            QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList{u"Data"_s});
        }
    }
};

VELMORA_APP_TEST_MAIN(TestInterruptedRestore)
#include "tst_interruptedrestore.moc"
