// SPDX-License-Identifier: GPL-3.0-or-later
// The backup window as the main menu's "Salvare" opens it, and its save dialog (Qt's own, in
// the program's Romanian) in a folder of earlier backups.
#include "app/application.h"
#include "backup/backupwindow.h"
#include "sceneprogram.h"
#include "studio.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTreeView>

using namespace velmora;
using velmora::shots::SceneProgram;
using velmora::shots::Studio;

VELMORA_SCENE(backup_window, "backup-window.png", "backup-save-dialog.png") {
    SceneProgram program(studio);
    if (!program.openAccess())
        return;
    BackupWindow &backup = program.app().backupWindow();
    QAbstractButton *open = program.menuButton("MBut3");
    auto *save = program.control<QAbstractButton>(backup, "BE1");
    QFileDialog *dialog = backup.saveDialog();
    if (!open || !save || !dialog)
        return;
    // A folder with earlier backups, as the daily timer leaves them.
    const QString folder = studio.programDir() + QStringLiteral("/Velmora-salvari");
    QDir().mkpath(folder);
    for (int back = 3; back >= 1; --back) {
        const QDateTime made(Studio::today().addDays(-back), QTime(18, 0));
        QFile file(folder + made.toString(QStringLiteral("'/Velmora-'yyyy-MM-dd-HHmm'.vmr'")));
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(48 * 1024, 'x')) < 0 ||
            !file.setFileTime(made, QFileDevice::FileModificationTime))
            return studio.fail(QStringLiteral("cannot make ") + file.fileName());
    }
    dialog->setDirectory(folder);
    // Wide enough for the columns' titles and values.
    dialog->resize(760, 460);
    if (auto *details = dialog->findChild<QTreeView *>(QStringLiteral("treeView"))) {
        const int widths[] = {280, 90, 130, 150};
        for (int column = 0; column < 4; ++column)
            details->setColumnWidth(column, widths[column]);
    }
    studio.inModal(
        backup, [open] { open->click(); },
        [&] {
            studio.save(backup, QStringLiteral("backup-window.png"));
            studio.saveModal(QStringLiteral("backup-save-dialog.png"), [save] { save->click(); });
        });
}
