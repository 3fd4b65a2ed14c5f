// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/backupwindow.h"

#include "backup/archiveformat.h"
#include "backup/datarestore.h"
#include "backup/datasnapshot.h"
#include "store/programcontext.h"
#include "store/text/error.h"
#include "ui/cylinderbar.h"
#include "ui/flatbutton.h"
#include "ui/gradientpanel.h"
#include "ui/keypreview.h"
#include "ui/look.h"
#include "ui/messagedialog.h"
#include "ui/progresswindow.h"
#include "ui/slotguard.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>

namespace velmora {

namespace {

constexpr int kStatusHeight = 19;

FlatButton *commandButton(QWidget *parent, const char *name, const QString &caption, int top) {
    auto *button = new FlatButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(29, top, 204, 29);
    button->setFont(Look::dialogFont(8, true));
    button->setCursor(Qt::PointingHandCursor);
    button->setColors({QColor(0x88, 0x9A, 0xB7), QColor(0x4E, 0x61, 0x81), QColor(0xBB, 0xC6, 0xD7),
                       QColor(0xDE, 0xDF, 0xD2), QColor(0x2B, 0x35, 0x46),
                       QColor(0x2D, 0x38, 0x4A)});
    return button;
}

QFileDialog *archiveDialog(QWidget *parent, const char *name, const QString &title,
                           QFileDialog::AcceptMode mode) {
    auto *dialog = new QFileDialog(parent, title);
    dialog->setObjectName(QLatin1String(name));
    dialog->setAcceptMode(mode);
    // A name that does not exist may be typed in either; the window answers it itself, and
    // it asks about replacing an archive itself too.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setNameFilter(QStringLiteral("Arhiva Velmora (*.vmr)"));
    dialog->setDefaultSuffix(QStringLiteral("vmr"));
    return dialog;
}

} // namespace

BackupWindow::BackupWindow(ProgramContext &context, MessageDialog &messages,
                           ProgressWindow &progress, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
    , m_context(context)
    , m_messages(messages)
    , m_progress(progress) {
    setObjectName(QStringLiteral("Form21"));
    setWindowTitle(QStringLiteral("Salvare - Restaurare"));
    setFont(Look::dialogFont(8));
    setFixedSize(kWidth, kHeight);

    m_background = new GradientPanel(this);
    m_background->setObjectName(QLatin1String(kBackground));
    m_background->setDirection(Gradient::Direction::TopToBottom);
    m_background->setStripes(64);
    m_background->setMiddleColors(QColor(0xAC, 0xB8, 0xCC), QColor(0x52, 0x66, 0x87));
    m_background->setGeometry(0, 0, kWidth, kHeight - kStatusHeight);

    m_save = commandButton(m_background, kSaveButton, QStringLiteral("Salveaza baza de date"), 24);
    m_restore =
        commandButton(m_background, kRestoreButton, QStringLiteral("Restaureaza baza de date"), 56);

    m_status = new QStatusBar(this);
    m_status->setObjectName(QLatin1String(kStatusBar));
    m_status->setSizeGripEnabled(false);
    m_status->setGeometry(0, kHeight - kStatusHeight, kWidth, kStatusHeight);
    Look::setBackground(m_status, QColor(0xBA, 0xC5, 0xD6));
    auto *panel = new QLabel(QStringLiteral("ESC - Iesire"), m_status);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setMinimumWidth(50);
    m_status->addWidget(panel);

    m_fileList = new QPlainTextEdit(this);
    m_fileList->setObjectName(QLatin1String(kFileList));
    m_fileList->setReadOnly(true);
    m_fileList->hide();

    m_saveDialog = archiveDialog(this, kSaveDialog, QStringLiteral("Unde salvam arhiva ?"),
                                 QFileDialog::AcceptSave);
    m_openDialog =
        archiveDialog(this, kOpenDialog, QStringLiteral("Indicati salvarea precedenta Velmora."),
                      QFileDialog::AcceptOpen);

    new KeyPreview(this);
    connect(m_save, &FlatButton::clicked, this, guardSlot([this] { saveDatabase(); }));
    connect(m_restore, &FlatButton::clicked, this, guardSlot([this] { restoreDatabase(); }));
}

QString BackupWindow::choose(QFileDialog &dialog) {
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QFileInfo(chosen.first()).absoluteFilePath();
}

void BackupWindow::showProgress(int position, int maximum) {
    m_progress.bar()->setMaximum(maximum);
    m_progress.bar()->setPosition(position);
    QCoreApplication::processEvents();
}

template <typename Work>
auto BackupWindow::underProgress(const QString &description, Work work) {
    m_progress.setDescr(description);
    m_progress.Arata(this);
    struct Done {
        BackupWindow &window;
        ~Done() {
            window.m_progress.Distruge(&window);
            window.close();
            QCoreApplication::processEvents();
        }
    } done{*this};
    return work();
}

void BackupWindow::saveDatabase() {
    const QString path = choose(*m_saveDialog);
    if (path.isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo::exists(path) &&
        m_messages.Mesaj(QStringLiteral("Atentionare"),
                         QStringLiteral("Vreti sa inlocuiti salvarea ") + shown + u'?',
                         MessageKind::Atentie,
                         MessageButton::DA | MessageButton::NU) != MessageResult::Yes)
        return;

    // The listing and the copies aside take a moment; only the compression needs the bar.
    const DataSnapshot snapshot(m_context.programDir());
    m_fileList->setPlainText(snapshot.originals().join(u'\n'));
    // What the archive cannot hold is named, after the outcome.
    QString leftOut;
    for (const QString &file : snapshot.skipped())
        leftOut += QStringLiteral("\r\n") + file;
    if (snapshot.files().isEmpty()) {
        // Nothing would be written: saying "done" here would promise a backup there is not.
        m_messages.Mesaj(QStringLiteral("Eroare"),
                         QStringLiteral("Directorul de date nu contine niciun fisier de salvat; "
                                        "arhiva nu a fost scrisa.") +
                             leftOut,
                         MessageKind::Eroare, MessageButton::OK);
        return;
    }
    underProgress(QStringLiteral("Salvez starea actuala..."), [&] {
        return ArchiveFormat::compressFiles(snapshot.files(), path,
                                            [this](int p, int m) { showProgress(p, m); });
    });
    m_messages.Mesaj(QStringLiteral("Informatie"),
                     QStringLiteral("Salvare incheiata cu succes !") + leftOut,
                     MessageKind::Informatie, MessageButton::OK);
}

void BackupWindow::restoreDatabase() {
    const QString path = choose(*m_openDialog);
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isFile()) {
        m_messages.Mesaj(QStringLiteral("Eroare"),
                         QStringLiteral("Salvarea ") + QDir::toNativeSeparators(path) +
                             QStringLiteral(" nu exista !"),
                         MessageKind::Eroare, MessageButton::OK);
        return;
    }
    try {
        underProgress(QStringLiteral("Restaurez baza de date..."), [&] {
            return DataRestore::restore(path, m_context.programDir(),
                                        [this](int p, int m) { showProgress(p, m); });
        });
    } catch (const Error &error) {
        // The data directory is as it was: the program goes on with it, and the user learns
        // why the archive was not taken.
        m_messages.Mesaj(QStringLiteral("Eroare"), error.message(), MessageKind::Eroare,
                         MessageButton::OK);
        return;
    }
    m_messages.Mesaj(QStringLiteral("Informatie"),
                     QStringLiteral("Restaurare incheiata cu succes !\r\nVa rog sa porniti "
                                    "programul din nou !"),
                     MessageKind::Informatie, MessageButton::OK);
    Q_EMIT restoreCompleted();
}

} // namespace velmora
