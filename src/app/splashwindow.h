#pragma once

#include "store/datastore.h"
#include "store/text/fixed4.h"

#include <QWidget>

class QLabel;
class QTimer;

namespace velmora {

class Application;
class PickListSink;
class Query;

// The splash window shown while the program starts, and the holder of what every other
// window shares: the program and data directories, the access flag, the shared query and the
// operations on the tables, the counters file and the settings. It lives, hidden after the
// start, until the program ends.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kBarLeft = 48;
    static constexpr int kBarTop = 160;
    static constexpr int kBarBottom = 178;

    SplashWindow(Application &application, const QString &programDir);

    QString ProgramDir() const { return m_store.programDir(); }
    QString DataDir() const { return m_store.dataDir(); }
    bool AccessGranted() const { return m_accessGranted; }
    void setAccessGranted(bool granted) { m_accessGranted = granted; }
    Fixed4 ProgressValue() const { return m_progressValue; }
    // Width in pixels of the bar drawn so far.
    int progressWidth() const;

    DataStore &store() { return m_store; }
    Query &Sx() { return m_store.sx(); }

    QString NextId(const QString &counter);
    QString IniRead(const QString &section, const QString &key);
    void IniWrite(const QString &section, const QString &key, const QString &value);
    QString ReadSetting(const QString &name);
    void WriteSetting(const QString &name, const QString &value);
    void CreateTables();
    void ResetQuery(Query &query);
    void FillPickList(PickListSink &box, const QString &tablePath, const QString &column,
                      const QString &condition);
    QString JoinConditions(const QString &conditions);
    QString SquashSpaces(const QString &text);
    void PackTable(const QString &tablePath);
    void StepProgress(int n);
    void ShowFieldHint(const QString &text, QWidget *control);

Q_SIGNALS:
    // The start-up work is over and the main menu is shown (possibly after an error box).
    void startupFinished();
    // The data directory or a table could not be made: the program cannot work and ends.
    void startupFailed();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void runStartup();
    QLabel *shadowedLabel(const char *name, const char *shadowName, const QFont &font,
                          const QColor &shadow, QPoint at, QPoint shadowOffset);

    Application &m_application;
    DataStore m_store;
    bool m_accessGranted = false;
    Fixed4 m_progressValue;
    QTimer *m_startTimer;
    QLabel *m_heading;
    QLabel *m_headingShadow;
    QLabel *m_status;
    QLabel *m_barPattern;
};

} // namespace velmora
