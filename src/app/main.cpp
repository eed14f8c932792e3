#include "navigator.h"
#include "program.h"

#include "platform/clock.h"
#include "platform/process.h"
#include "platform/qtmessages.h"
#include "platform/qtsound.h"
#include "platform/qtspeech.h"
#include "platform/random.h"
#include "startup/appstate.h"

#include <QApplication>
#include <QStandardPaths>
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
    vc::QtSoundPlayer sound;
    vc::QtVoiceFactory voices;

    auto state = std::make_unique<vc::AppState>();
    vc::AppNavigator navigator(*state);
    state->services = {&clock, &random, &messages, &launcher, &instance, &navigator, &sound, &voices};
    // Runs that cannot reach the shared folder wait here, on this computer.
    state->LocalDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);

    vc::startProgram(*state, navigator, QCoreApplication::applicationDirPath());
    return app.exec();
}
