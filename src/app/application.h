#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace velmora {

class BackupWindow;
class TContor;
class TErori;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;

// The running program: every window, made once in a fixed order when the program starts and
// kept until it ends, and the references through which the windows reach one another.
class Application : public QObject {
    Q_OBJECT

public:
    static QString title() { return QStringLiteral("Velmora v.1.01"); }

    // programDir: the directory of the program file, where the Data directory lives.
    explicit Application(const QString &programDir);
    ~Application() override;

    // Shows the splash; its timer does the start-up work, then the main menu takes over.
    void start();
    // Another copy was started: bring this one forward instead.
    void activate();
    // Ends the program (after the menu's confirmation, or when the start-up cannot go on).
    void endProgram(int exitCode);

    TForm1 &form1() { return *m_form1; }
    TForm2 &form2() { return *m_form2; }
    TForm3 &form3() { return *m_form3; }
    TForm4 &form4() { return *m_form4; }
    TForm5 &form5() { return *m_form5; }
    TContor &contor() { return *m_contor; }
    TErori &erori() { return *m_erori; }
    BackupWindow &backupWindow() { return *m_backup; }

Q_SIGNALS:
    // Whoever runs the event loop ends it with this exit code.
    void ended(int exitCode);

private:
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm4> m_form4;
    std::unique_ptr<TForm5> m_form5;
    std::unique_ptr<TContor> m_contor;
    std::unique_ptr<TErori> m_erori;
    std::unique_ptr<BackupWindow> m_backup;
};

} // namespace velmora
