#include "app/application.h"
#include "app/singleinstance.h"
#include "app/velmoraapplication.h"

int main(int argc, char *argv[]) {
    velmora::VelmoraApplication qtApplication(argc, argv);

    // A copy already running is brought forward instead; this one ends without a window.
    velmora::SingleInstance instance(velmora::Application::title());
    if (!instance.claim())
        return 0;

    velmora::Application application(QCoreApplication::applicationDirPath());
    QObject::connect(&instance, &velmora::SingleInstance::activationRequested, &application,
                     &velmora::Application::activate);
    QObject::connect(&application, &velmora::Application::ended, &qtApplication,
                     &QCoreApplication::exit, Qt::QueuedConnection);
    application.start();
    return qtApplication.exec();
}
