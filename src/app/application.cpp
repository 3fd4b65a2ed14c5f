#include "app/application.h"

#include "admin/tform4.h"
#include "admin/tform5.h"
#include "app/tform1.h"
#include "app/tform2.h"
#include "app/tform3.h"
#include "backup/backupwindow.h"
#include "ui/modal.h"
#include "ui/tcontor.h"
#include "ui/terori.h"

namespace velmora {

Application::Application(const QString &programDir) {
    // The start-up window comes first: it holds what the others share.
    m_form1 = std::make_unique<TForm1>(*this, programDir);
    m_form2 = std::make_unique<TForm2>();
    m_form3 = std::make_unique<TForm3>(*this);
    m_form4 = std::make_unique<TForm4>([this]() -> TErori & { return erori(); });
    m_form5 = std::make_unique<TForm5>();
    m_contor = std::make_unique<TContor>();
    m_erori = std::make_unique<TErori>();
    m_backup = std::make_unique<BackupWindow>(m_form1->ProgramDir(), *m_erori, *m_contor);

    connect(m_form4.get(), &TForm4::accessChanged, this, [this](bool granted) {
        m_form1->setAccessGranted(granted);
        m_form3->SetAccess(granted);
    });
    connect(m_form3.get(), &TForm3::programEndRequested, this, [this] { endProgram(0); });
    connect(m_form3.get(), &TForm3::salvareRequested, this, [this] { Modal::exec(*m_backup); });
    // The next start must work on the restored files.
    connect(m_backup.get(), &BackupWindow::restoreCompleted, this, [this] { endProgram(0); });
    connect(m_form1.get(), &TForm1::startupFailed, this, [this] { endProgram(1); });
}

Application::~Application() = default;

void Application::start() {
    m_form1->show();
}

void Application::activate() {
    QWidget *window = m_form3->isVisible() ? static_cast<QWidget *>(m_form3.get())
                                           : static_cast<QWidget *>(m_form1.get());
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}

void Application::endProgram(int exitCode) {
    Q_EMIT ended(exitCode);
}

} // namespace velmora
