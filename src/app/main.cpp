#include "navigator.h"

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/process.h"
#include "platform/qtmessages.h"
#include "platform/random.h"
#include "startup/appstate.h"
#include "startup/screens.h"
#include "startup/startup.h"

#include <QApplication>
#include <QTimer>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vocarimo"));

    vc::SystemClock clock;
    vc::SystemRandom random;
    vc::QtMessageService messages;
    vc::ProcessLauncher launcher;
    vc::LockFileInstanceGuard instance(QCoreApplication::applicationFilePath());

    auto state = std::make_unique<vc::AppState>();
    vc::AppNavigator navigator(*state);
    state->services = {&clock, &random, &messages, &launcher, &instance, &navigator};

    auto* splash = new vc::Firstfrm(*state);
    QObject::connect(splash, &vc::Firstfrm::startupDue, [&] {
        try {
            vc::resolveDataAndSettings(*state, QCoreApplication::applicationDirPath());
        } catch (const vc::DataError& e) {
            splash->hide();
            messages.show(e.message(), QStringLiteral("エラー"), vc::MessageService::Buttons::Ok,
                          vc::MessageService::Icon::Critical);
            navigator.quitProgram(1);
            return;
        }
        navigator.openNameSelection();
        splash->close();
        splash->deleteLater();
    });
    splash->Form_Load();
    return app.exec();
}
