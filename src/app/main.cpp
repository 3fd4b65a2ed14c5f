// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "app/singleinstance.h"
#include "app/velmoraapplication.h"
#include "store/programlocation.h"
#include "store/text/error.h"
#include "ui/errorbox.h"

int main(int argc, char *argv[]) {
    velmora::VelmoraApplication qtApplication(argc, argv);

    // A copy already running is brought forward instead; this one ends without a window.
    velmora::SingleInstance instance(velmora::Application::title());
    if (!instance.claim())
        return 0;

    // Beside the program file for a portable copy, in the user's home for an installed one.
    const velmora::ProgramLocation location(QCoreApplication::applicationDirPath());
    try {
        location.prepare();
    } catch (const velmora::Error &error) {
        velmora::ErrorBox::show(error.message());
        return 1;
    }

    velmora::Application application(location.programDir());
    QObject::connect(&instance, &velmora::SingleInstance::activationRequested, &application,
                     &velmora::Application::activate);
    QObject::connect(&application, &velmora::Application::ended, &qtApplication,
                     &QCoreApplication::exit, Qt::QueuedConnection);
    application.start();
    return qtApplication.exec();
}
