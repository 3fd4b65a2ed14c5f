// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/recordlists.h"
#include "records/recordwriter.h"
#include "store/text/fixed4.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;
class QPushButton;
class QTimer;

namespace velmora {

class MessageDialog;
class ProgramContext;
class QueryTableModel;
class RecordGrid;
class SheetEditor;
class TripEditor;

// Where the records are kept: the trip sheets above, the departures and arrivals of the
// selected sheet below, a search by driver and by vehicle, and the buttons that add, change
// and delete both and print a sheet. The typed search stays between showings.
class RecordsWindow : public QDialog {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kSheetGrid[] = "SMDBGrid3";
    static constexpr const char kLineGrid[] = "SMDBGrid2";
    static constexpr const char kDriverSearch[] = "Edit1";
    static constexpr const char kPlateSearch[] = "Edit2";
    static constexpr const char kAddSheetButton[] = "FAddBut";
    static constexpr const char kChangeSheetButton[] = "FModBut";
    static constexpr const char kDeleteSheetButton[] = "FDelBut";
    static constexpr const char kAddLineButton[] = "PAddBut";
    static constexpr const char kChangeLineButton[] = "PModBut";
    static constexpr const char kDeleteLineButton[] = "PDelBut";
    static constexpr const char kPrintButton[] = "PrintBut";
    static constexpr const char kCloseButton[] = "LbSpeedButton6";

    RecordsWindow(ProgramContext &context, MessageDialog &messages, SheetEditor &sheetEditor,
                  TripEditor &tripEditor, QWidget *parent = nullptr);
    ~RecordsWindow() override;

    // Opens both lists, the latest sheet selected, and shows the window until it is closed.
    void Deschide();

    RecordLists &lists() { return m_lists; }
    // Whether typed search text waits for the pause after the last key before it filters.
    bool searchPending() const;
    RecordGrid *sheetGrid() const { return m_sheetGrid; }
    RecordGrid *lineGrid() const { return m_lineGrid; }

    void addSheet();
    void changeSheet();
    void deleteSheet();
    void addLine();
    void changeLine();
    void deleteLine();
    void printSheet();
    // What follows a saved line editor: the line written to the selected sheet, the income
    // moved, both lists reread and the new line selected.
    void saveNewLine();

Q_SIGNALS:
    // The selected sheet is to be printed.
    void printSheetRequested(const QString &idfoaie);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Puts the search texts as they stand now in force.
    void search();
    void sortByTitle(const QString &field);
    QToolButton *actionButton(const char *name, const QString &hint, const QPixmap &picture);
    QLineEdit *searchField(const char *name, const QString &label, int maxLength);
    // The line list's current row as it is stored.
    LineValues currentLine() const;
    // TOTALVEN of the selected sheet.
    Fixed4 sheetIncome() const;

    ProgramContext &m_context;
    MessageDialog &m_messages;
    SheetEditor &m_sheetEditor;
    TripEditor &m_tripEditor;
    RecordLists m_lists;
    RecordWriter m_writer;
    QueryTableModel *m_sheetModel;
    QueryTableModel *m_lineModel;
    RecordGrid *m_sheetGrid;
    RecordGrid *m_lineGrid;
    QLineEdit *m_driverSearch;
    QLineEdit *m_vehicleSearch;
    // Restarted by every key in a search field; the search runs when it runs out.
    QTimer *m_searchPause;
};

} // namespace velmora
