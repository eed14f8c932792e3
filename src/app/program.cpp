#include "program.h"

#include "navigator.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "startup/appstate.h"
#include "startup/screens.h"
#include "startup/startup.h"

#include <QCoreApplication>

namespace vc {

Firstfrm* startProgram(AppState& state, AppNavigator& navigator, const QString& programFolder)
{
    auto* splash = new Firstfrm(state);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(splash, &Firstfrm::startupDue, splash, [&state, &navigator, splash, programFolder] {
        try {
            resolveDataAndSettings(state, programFolder);
        } catch (const DataError& e) {
            splash->hide();
            state.services.messages->show(e.message(), QStringLiteral("エラー"), MessageService::Buttons::Ok,
                                          MessageService::Icon::Critical);
            navigator.quitProgram(1);
            splash->close();
            return;
        }
        navigator.openNameSelection();
        splash->close();
    });
    splash->Form_Load();
    return splash;
}

} // namespace vc
