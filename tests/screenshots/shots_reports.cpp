// SPDX-License-Identifier: GPL-3.0-or-later
// The period report's preview with Qt's own dialogs over it (page setup, print), and the
// backup's file dialog: the dialogs that come with Qt, in the program's Romanian.
#include "app/application.h"
#include "backup/backupwindow.h"
#include "records/samplegenerator.h"
#include "reports/periodreport.h"
#include "store/datastore.h"
#include "studio.h"
#include "ui/flatbutton.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QTreeView>

using namespace velmora;
using velmora::shots::Studio;

namespace {

QAction *toolbarAction(QPrintPreviewDialog &preview, const QString &text) {
    for (QAction *action : preview.findChild<QToolBar *>()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// Runs look on the preview once it is up, then closes it.
void withPreview(const std::function<void()> &open,
                 const std::function<void(QPrintPreviewDialog &)> &look) {
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!preview || !preview->isVisible())
            return;
        watch.stop();
        look(*preview);
        preview->reject();
    });
    watch.start();
    open();
}

} // namespace

VELMORA_SCENE(period_preview) {
    // Made-up sheets of a year, some fifty days of them reported: two pages.
    DataStore store(studio.programDir());
    store.ensureDataDir();
    store.createTables();
    SampleGenerator(store, QDate(2026, 1, 1)).generate(900, 2, 7);
    PeriodReport report(store.dataDir());
    withPreview(
        [&] { report.showPeriod(QDate(2026, 1, 1), QDate(2026, 2, 20)); },
        [&](QPrintPreviewDialog &preview) {
            if (!Studio::shown(preview))
                return;
            // The toolbar speaks through its tooltips: the one of "next page", as the
            // pointer resting on it shows it.
            if (QAction *next = toolbarAction(preview, QStringLiteral("Pagina urmatoare"))) {
                QWidget *button = preview.findChild<QToolBar *>()->widgetForAction(next);
                QToolTip::showText(button->mapToGlobal(button->rect().center()) + QPoint(4, 12),
                                   next->toolTip(), button);
                Studio::settle(600);
            }
            studio.save(preview, QStringLiteral("period-preview.png"));
            QToolTip::hideText();
            const auto escape = [](QWidget &dialog) {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            };
            if (QAction *setup = toolbarAction(preview, QStringLiteral("Configurare pagina")))
                studio.saveModal(
                    QStringLiteral("period-page-setup.png"), [setup] { setup->trigger(); }, escape);
            if (QAction *print = toolbarAction(preview, QStringLiteral("Tipareste")))
                studio.saveModal(
                    QStringLiteral("period-print.png"), [print] { print->trigger(); }, escape);
        });
}

VELMORA_SCENE(backup_file_dialog) {
    Application app(studio.programDir());
    BackupWindow &backup = app.backupWindow();
    // A folder with earlier backups, as the daily timer leaves them.
    const QString folder = studio.programDir() + QStringLiteral("/Velmora-salvari");
    QDir().mkpath(folder);
    for (const char *name : {"Velmora-2026-02-18-1800.vmr", "Velmora-2026-02-19-1800.vmr",
                             "Velmora-2026-02-20-1800.vmr"}) {
        QFile file(folder + u'/' + QLatin1String(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(48 * 1024, 'x'));
    }
    auto *dialog = backup.findChild<QFileDialog *>(QStringLiteral("SaveDialog1"));
    if (!dialog)
        return;
    dialog->setDirectory(folder);
    // Wide enough for the columns' titles and values.
    dialog->resize(760, 460);
    if (auto *details = dialog->findChild<QTreeView *>(QStringLiteral("treeView"))) {
        const int widths[] = {280, 90, 130, 150};
        for (int column = 0; column < 4; ++column)
            details->setColumnWidth(column, widths[column]);
    }
    backup.show();
    if (!Studio::shown(backup))
        return;
    studio.saveModal(QStringLiteral("backup-save-dialog.png"),
                     [&] { backup.findChild<FlatButton *>(QStringLiteral("BE1"))->click(); });
    backup.close();
}
