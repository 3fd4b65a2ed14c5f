// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivebytes.h"
#include "backup/archiveformat.h"
#include "backup/backupwindow.h"
#include "filebytes.h"
#include "store/programcontext.h"
#include "ui/cylinderbar.h"
#include "ui/errorbox.h"
#include "ui/flatbutton.h"
#include "ui/gradientpanel.h"
#include "ui/messagedialog.h"
#include "ui/modalanswer.h"
#include "ui/progresswindow.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(velmora::MessageResult)

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kSheets = tableLike(80 * 1024, 1);
const QByteArray kCounters = "[IDFOAIE]\r\nIDFOAIE=9\r\n";

} // namespace

class TestBackupWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_program;
    std::unique_ptr<ProgramContext> m_context;
    MessageDialog *m_messages = nullptr;
    ProgressWindow *m_progress = nullptr;
    BackupWindow *m_window = nullptr;
    QStringList m_errors;

    QString data() const { return m_program.filePath(u"Data"_s); }
    QString archive() const { return m_program.filePath(u"copie.vmr"_s); }

    FlatButton *button(const char *name) const {
        return m_window->findChild<FlatButton *>(QLatin1String(name));
    }

    ModalStep pick(QFileDialog *dialog, const QString &path) {
        return ModalStep::window(dialog, [dialog, path] {
            // As a user types it: the folder, then the name in the name field.
            dialog->setDirectory(QFileInfo(path).absolutePath());
            auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
            QVERIFY(name);
            name->setText(QFileInfo(path).fileName());
            // What the dialog's own accept button runs.
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }
    ModalStep cancel(QFileDialog *dialog) {
        return ModalStep::window(dialog, [dialog] { dialog->reject(); });
    }
    // The messages the command showed, each answered from the seam.
    QList<MessageRecord> messages() const { return m_messages->shown(); }
    static MessageRecord message(const QString &title, const QString &text, MessageKind kind,
                                 MessageButtons buttons) {
        return {title, text, kind, buttons};
    }
    static bool same(const MessageRecord &a, const MessageRecord &b) {
        return a.title == b.title && a.text == b.text && a.kind == b.kind && a.buttons == b.buttons;
    }

    // Clicks the command's button and plays the script against what it opens.
    void run(const char *buttonName, std::deque<ModalStep> steps,
             std::source_location where = std::source_location::current()) {
        const ModalAnswer answer(std::move(steps), where);
        QTest::mouseClick(button(buttonName), Qt::LeftButton);
        VELMORA_VERIFY_MODAL(answer);
    }

    QMap<QString, QByteArray> dataFiles() const {
        QMap<QString, QByteArray> files;
        for (const QString &name : QDir(data()).entryList(QDir::Files, QDir::Name))
            files.insert(name, bytesOf(data() + u'/' + name));
        return files;
    }

private Q_SLOTS:
    void initTestCase() {
        ErrorBox::setHandler([this](const QString &message) { m_errors << message; });
        m_messages = new MessageDialog;
        m_progress = new ProgressWindow;
        m_context = std::make_unique<ProgramContext>(m_program.path(), u"Velmora v.1.01"_s);
    }

    void cleanupTestCase() {
        m_context.reset();
        delete m_messages;
        delete m_progress;
        ErrorBox::setHandler({});
    }

    void init() {
        QDir(data()).removeRecursively();
        QFile::remove(archive());
        QVERIFY(QDir(m_program.path()).mkpath(u"Data"_s));
        putBytes(data() + u"/Foi.dbf"_s, kSheets);
        putBytes(data() + u"/Velm.ini"_s, kCounters);
        m_errors.clear();
        m_messages->clearShown();
        m_window = new BackupWindow(*m_context, *m_messages, *m_progress);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void cleanup() {
        delete m_window;
        m_window = nullptr;
        QCOMPARE(m_errors, QStringList());
    }

    void parts() {
        QCOMPARE(m_window->objectName(), u"Form21"_s);
        QCOMPARE(m_window->windowTitle(), u"Salvare - Restaurare"_s);
        QCOMPARE(m_window->size(), QSize(262, 125));
        QVERIFY(!(m_window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));

        auto *background =
            m_window->findChild<GradientPanel *>(QLatin1String(BackupWindow::kBackground));
        QCOMPARE(background->geometry(), QRect(0, 0, 262, 106));
        QVERIFY(background->fromMiddle());
        QCOMPARE(background->direction(), Gradient::Direction::TopToBottom);
        QCOMPARE(background->stripes(), 64);
        QCOMPARE(background->firstColor(), QColor(0xAC, 0xB8, 0xCC));
        QCOMPARE(background->lastColor(), QColor(0x52, 0x66, 0x87));

        const std::tuple<const char *, const char *, QRect> buttons[] = {
            {BackupWindow::kSaveButton, "Salveaza baza de date", QRect(29, 24, 204, 29)},
            {BackupWindow::kRestoreButton, "Restaureaza baza de date", QRect(29, 56, 204, 29)}};
        for (const auto &[name, caption, geometry] : buttons) {
            FlatButton *b = button(name);
            QVERIFY2(b, name);
            QCOMPARE(b->text(), QLatin1String(caption));
            QCOMPARE(b->geometry(), geometry);
            QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(b->font().bold());
            QCOMPARE(b->colors().face, QColor(0x88, 0x9A, 0xB7));
            QCOMPARE(b->colors().pressed, QColor(0x4E, 0x61, 0x81));
            QCOMPARE(b->colors().hot, QColor(0xBB, 0xC6, 0xD7));
            QCOMPARE(b->colors().lightEdge, QColor(0xDE, 0xDF, 0xD2));
            QCOMPARE(b->colors().shadowEdge, QColor(0x2B, 0x35, 0x46));
            QCOMPARE(b->colors().text, QColor(0x2D, 0x38, 0x4A));
        }

        auto *status = m_window->findChild<QStatusBar *>(QLatin1String(BackupWindow::kStatusBar));
        QCOMPARE(status->geometry(), QRect(0, 106, 262, 19));
        QCOMPARE(status->palette().color(QPalette::Window), QColor(0xBA, 0xC5, 0xD6));
        QCOMPARE(status->findChild<QLabel *>()->text(), u"ESC - Iesire"_s);
        QVERIFY(!m_window->findChild<QPlainTextEdit *>(QLatin1String(BackupWindow::kFileList))
                     ->isVisible());

        const std::pair<QFileDialog *, const char *> dialogs[] = {
            {m_window->saveDialog(), "Unde salvam arhiva ?"},
            {m_window->openDialog(), "Indicati salvarea precedenta Velmora."}};
        for (const auto &[dialog, title] : dialogs) {
            QCOMPARE(dialog->windowTitle(), QLatin1String(title));
            QCOMPARE(dialog->nameFilters(), QStringList{u"Arhiva Velmora (*.vmr)"_s});
            QCOMPARE(dialog->defaultSuffix(), u"vmr"_s);
            QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
        }
        QCOMPARE(m_window->saveDialog()->objectName(), u"SaveDialog1"_s);
        QCOMPARE(m_window->openDialog()->objectName(), u"OpenDialog1"_s);
        QCOMPARE(m_window->saveDialog()->acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(m_window->saveDialog()->testOption(QFileDialog::DontConfirmOverwrite));
    }

    void escapeCloses() {
        QTest::keyClick(m_window, Qt::Key_Escape);
        QVERIFY(!m_window->isVisible());
    }

    void saveWritesTheArchive() {
        m_messages->queueAnswer(MessageResult::Ok);
        run(BackupWindow::kSaveButton, {pick(m_window->saveDialog(), archive())});

        QCOMPARE(messages().size(), 1);
        QVERIFY(same(messages()[0], message(u"Informatie"_s, u"Salvare incheiata cu succes !"_s,
                                            MessageKind::Informatie, MessageButton::OK)));
        QVERIFY(!m_window->isVisible());
        QVERIFY(!m_progress->isVisible());
        QVERIFY(m_window->isEnabled());
        QCOMPARE(m_progress->descr(), u"Salvez starea actuala..."_s);
        QCOMPARE(m_progress->bar()->maximum(), 2);
        QCOMPARE(ArchiveFormat::verify(archive()),
                 (QList<ArchiveFormat::Member>{{u"Foi.dbf"_s, kSheets.size()},
                                               {u"Velm.ini"_s, kCounters.size()}}));
        QCOMPARE(m_window->findChild<QPlainTextEdit *>(QLatin1String(BackupWindow::kFileList))
                     ->toPlainText(),
                 data() + u"/Foi.dbf\n"_s + data() + u"/Velm.ini"_s);
    }

    void replacingAnArchiveAsksFirst_data() {
        QTest::addColumn<MessageResult>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("DA") << MessageResult::Yes << true;
        QTest::newRow("NU") << MessageResult::No << false;
        QTest::newRow("Esc") << MessageResult::Cancel << false;
    }
    void replacingAnArchiveAsksFirst() {
        QFETCH(MessageResult, answer);
        QFETCH(bool, replaced);
        putBytes(archive(), "earlier archive");

        m_messages->queueAnswer(answer);
        m_messages->queueAnswer(MessageResult::Ok);
        run(BackupWindow::kSaveButton, {pick(m_window->saveDialog(), archive())});

        QCOMPARE(messages().size(), replaced ? 2 : 1);
        QVERIFY(same(
            messages()[0],
            message(u"Atentionare"_s,
                    u"Vreti sa inlocuiti salvarea "_s + QDir::toNativeSeparators(archive()) + u'?',
                    MessageKind::Atentie, MessageButton::DA | MessageButton::NU)));
        QCOMPARE(m_window->isVisible(), !replaced);
        if (replaced)
            QCOMPARE(ArchiveFormat::verify(archive()).size(), 2);
        else
            QCOMPARE(bytesOf(archive()), QByteArray("earlier archive"));
    }

    void cancelledDialogsDoNothing() {
        run(BackupWindow::kSaveButton, {cancel(m_window->saveDialog())});
        run(BackupWindow::kRestoreButton, {cancel(m_window->openDialog())});
        QVERIFY(m_window->isVisible());
        QVERIFY(!QFile::exists(archive()));
        QCOMPARE(messages().size(), 0);
    }

    void saveOfAnEmptyDataDirectorySaysSo() {
        QVERIFY(QFile::remove(data() + u"/Foi.dbf"_s));
        putBytes(data() + u"/Velm.ini"_s, "");
        m_messages->queueAnswer(MessageResult::Ok);
        run(BackupWindow::kSaveButton, {pick(m_window->saveDialog(), archive())});
        QCOMPARE(messages().size(), 1);
        QCOMPARE(messages()[0].title, u"Eroare"_s);
        QCOMPARE(messages()[0].kind, MessageKind::Eroare);
        QVERIFY2(messages()[0].text.contains(u"nu a fost scrisa"_s),
                 qPrintable(messages()[0].text));
        QVERIFY(!QFile::exists(archive()));
    }

    void restoreOfAMissingFile() {
        const QString missing = m_program.filePath(u"nu-exista.vmr"_s);
        const QMap<QString, QByteArray> before = dataFiles();
        m_messages->queueAnswer(MessageResult::Ok);
        run(BackupWindow::kRestoreButton, {pick(m_window->openDialog(), missing)});
        QCOMPARE(messages().size(), 1);
        QVERIFY(same(messages()[0],
                     message(u"Eroare"_s,
                             u"Salvarea "_s + QDir::toNativeSeparators(missing) + u" nu exista !"_s,
                             MessageKind::Eroare, MessageButton::OK)));
        QVERIFY(m_window->isVisible());
        QCOMPARE(dataFiles(), before);
    }

    void restoreBringsBackTheArchiveAndEndsTheProgram() {
        const QByteArray otherSheets = tableLike(70 * 1024, 9);
        putBytes(archive(), int32le(2) + member("Data\\Foi.dbf", otherSheets) +
                                member("Data\\Sosiri.dbf", "lines"));
        QSignalSpy ended(m_window, &BackupWindow::restoreCompleted);
        qsizetype noticesBeforeEnd = -1;
        connect(m_window, &BackupWindow::restoreCompleted, this,
                [&] { noticesBeforeEnd = messages().size(); });
        m_messages->queueAnswer(MessageResult::Ok);
        run(BackupWindow::kRestoreButton, {pick(m_window->openDialog(), archive())});

        QCOMPARE(messages().size(), 1);
        QVERIFY(same(messages()[0], message(u"Informatie"_s,
                                            u"Restaurare incheiata cu succes !\r\n"
                                            u"Va rog sa porniti programul din nou !"_s,
                                            MessageKind::Informatie, MessageButton::OK)));
        // The program ends after the notice, not before.
        QCOMPARE(ended.count(), 1);
        QCOMPARE(noticesBeforeEnd, 1);
        QCOMPARE(m_progress->descr(), u"Restaurez baza de date..."_s);
        QCOMPARE(m_progress->bar()->maximum(), 2);
        QVERIFY(!m_progress->isVisible());
        QVERIFY(!m_window->isVisible());
        // Velm.ini was not in the archive: it is gone.
        const QMap<QString, QByteArray> expected = {{u"Foi.dbf"_s, otherSheets},
                                                    {u"Sosiri.dbf"_s, "lines"}};
        QCOMPARE(dataFiles(), expected);
    }

    // What the archive cannot hold is left out and named in the notice; the rest is saved.
    void saveNamesWhatItLeftOut() {
        putBytes(m_program.filePath(u"alaturi.txt"_s), "beside Data");
        QVERIFY(QFile::link(m_program.filePath(u"alaturi.txt"_s), data() + u"/legat"_s));
        putBytes(data() + u"/Nota\U0001F600.txt"_s, "a note");
        m_messages->queueAnswer(MessageResult::Ok);
        run(BackupWindow::kSaveButton, {pick(m_window->saveDialog(), archive())});

        QCOMPARE(messages().size(), 1);
        const MessageRecord shown = messages()[0];
        QCOMPARE(shown.kind, MessageKind::Informatie);
        const QStringList lines = shown.text.split(u"\r\n"_s);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], u"Salvare incheiata cu succes !"_s);
        QVERIFY2(lines.filter(QDir::toNativeSeparators(data() + u"/legat"_s)).size() == 1,
                 qPrintable(shown.text));
        QVERIFY2(lines.filter(u"Nota\U0001F600.txt"_s).size() == 1, qPrintable(shown.text));
        QCOMPARE(ArchiveFormat::verify(archive()).size(), 2);
    }

    void restoreOfAFileThatIsNoArchive() {
        const QString text = m_program.filePath(u"nota.txt"_s);
        putBytes(text, "Lista de cumparaturi: paine, lapte.\n");
        const QMap<QString, QByteArray> before = dataFiles();
        QSignalSpy ended(m_window, &BackupWindow::restoreCompleted);
        m_messages->queueAnswer(MessageResult::Ok);
        run(BackupWindow::kRestoreButton, {pick(m_window->openDialog(), text)});

        QCOMPARE(messages().size(), 1);
        QCOMPARE(messages()[0].kind, MessageKind::Eroare);
        QCOMPARE(messages()[0].text, u"Fisierul "_s + QDir::toNativeSeparators(text) +
                                         u" nu este o salvare Velmora.\r\n"
                                         u"Directorul de date a ramas neschimbat."_s);
        QCOMPARE(ended.count(), 0);
        QCOMPARE(dataFiles(), before);
    }

    // A full path typed into the name field is the archive's path, whatever folder the
    // dialog shows; a folder that does not exist is named as typed.
    void aFullPathTypedIntoTheSaveDialog() {
        QTemporaryDir elsewhere;
        const QString typed = elsewhere.filePath(u"nu-exista/salvari/copie.vmr"_s);
        QFileDialog *dialog = m_window->saveDialog();
        run(BackupWindow::kSaveButton, {ModalStep::window(dialog, [dialog, typed] {
                dialog->setDirectory(QDir::tempPath());
                auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
                QVERIFY(name);
                name->setFocus();
                // Put in whole: typed key by key, the dialog's completion list opens whenever
                // its folder listing arrives and may take the Return below.
                name->setText(typed);
                QTest::keyClick(name, Qt::Key_Return);
            })});
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors[0].startsWith(u"Arhiva "_s + QDir::toNativeSeparators(typed) + u' '),
                 qPrintable(m_errors[0]));
        m_errors.clear();
        QVERIFY(!QFileInfo::exists(elsewhere.filePath(u"nu-exista"_s)));
    }

    void damagedArchiveKeepsDataAndTheProgram() {
        QByteArray bytes = int32le(1) + member("Data\\Foi.dbf", tableLike(70 * 1024, 9));
        bytes.chop(2);
        putBytes(archive(), bytes);
        const QMap<QString, QByteArray> before = dataFiles();
        QSignalSpy ended(m_window, &BackupWindow::restoreCompleted);
        m_messages->queueAnswer(MessageResult::Ok);
        run(BackupWindow::kRestoreButton, {pick(m_window->openDialog(), archive())});

        QCOMPARE(messages().size(), 1);
        const MessageRecord shown = messages()[0];
        QCOMPARE(shown.title, u"Eroare"_s);
        QCOMPARE(shown.kind, MessageKind::Eroare);
        QVERIFY2(shown.text.contains(u"deteriorata"_s), qPrintable(shown.text));
        QVERIFY2(shown.text.contains(u"neschimbat"_s), qPrintable(shown.text));
        QCOMPARE(ended.count(), 0);
        QVERIFY(!m_progress->isVisible());
        QVERIFY(m_window->isEnabled());
        QCOMPARE(dataFiles(), before);
    }
};

QTEST_MAIN(TestBackupWindow)
#include "tst_backupwindow.moc"
