// SPDX-License-Identifier: GPL-3.0-or-later
#include "sceneprogram.h"

#include "app/application.h"
#include "app/mainmenu.h"
#include "app/splashwindow.h"
#include "records/samplegenerator.h"
#include "store/datastore.h"
#include "store/programcontext.h"
#include "store/text/textform.h"
#include "studio.h"
#include "ui/messagedialog.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace velmora::shots {

SceneProgram::SceneProgram(Studio &studio)
    : m_studio(studio)
    , m_app(std::make_unique<Application>(studio.programDir())) {
    QSignalSpy finished(&m_app->splash(), &SplashWindow::startupFinished);
    if (auto *timer = m_app->splash().findChild<QTimer *>(QStringLiteral("Timer1")))
        timer->setInterval(10);
    m_app->start();
    if (finished.isEmpty() && !finished.wait(60000)) {
        m_studio.fail(QStringLiteral("the program did not finish its start-up"));
        return;
    }
    if (!Studio::shown(m_app->mainMenu())) {
        m_studio.fail(QStringLiteral("the main menu did not come on screen"));
        return;
    }
    // The menu shows the day it is shown on; the shots show theirs.
    if (auto *date = m_app->mainMenu().findChild<QLabel *>(QStringLiteral("Label1")))
        date->setText(TextForm::date(Studio::today()));
}

SceneProgram::~SceneProgram() = default;

void SceneProgram::fillYear(const QString &programDir) {
    DataStore store(programDir);
    store.ensureDataDir();
    store.createTables();
    // Some four sheets a day for a small fleet, each with a few departures and arrivals.
    SampleGenerator(store, Studio::today().addYears(-1).addDays(1)).generate(1400, 4, 2026);
}

bool SceneProgram::openAccess() {
    if (m_app->context().accessGranted())
        return true;
    // Without a password the gate only warns, and then opens.
    m_app->messageDialog().queueAnswer(MessageResult::Ok);
    if (QAbstractButton *gate = menuButton("MButAdm"))
        gate->click();
    if (!m_app->context().accessGranted()) {
        m_studio.fail(QStringLiteral("the gate did not open access"));
        return false;
    }
    return true;
}

QAbstractButton *SceneProgram::menuButton(const char *name) {
    return control<QAbstractButton>(m_app->mainMenu(), name);
}

void SceneProgram::missing(const QWidget &window, const char *name) {
    m_studio.fail(window.objectName() + QStringLiteral(" has no control ") + QLatin1String(name));
}

void SceneProgram::typeInto(QWidget *field, const QString &text) {
    if (!field)
        return;
    // As the keyboard does: to the field with the focus, which hands them to its own editor.
    field->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(field, text);
}

void SceneProgram::closeSuggestions(QWidget *field) {
    auto *combo = qobject_cast<QComboBox *>(field);
    if (!combo || !combo->completer() || !combo->completer()->popup()->isVisible())
        return;
    QTest::keyClick(combo->completer()->popup(), Qt::Key_Escape);
}

} // namespace velmora::shots
