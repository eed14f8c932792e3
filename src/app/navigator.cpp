#include "navigator.h"

#include "admin/frmdata.h"
#include "drill/mainfrm.h"
#include "flashcards/frmfrush.h"
#include "levelscreen/seisekitime1.h"
#include "platform/qtscreenscale.h"
#include "records/frmsyuuryou.h"
#include "records/frmtimedata.h"
#include "startup/appstate.h"
#include "students/namesel.h"

#include <QApplication>

namespace vc {

AppNavigator::AppNavigator(AppState& state, std::function<void(int)> quit)
    : state_(state), quit_(quit ? std::move(quit) : [](int status) { QCoreApplication::exit(status); })
{
}

void AppNavigator::replace(QWidget* next)
{
    if (current_) {
        current_->close();
        current_->deleteLater();
    }
    current_ = next;
}

void AppNavigator::openNameSelection()
{
    auto* screen = new namesel(state_);
    screen->setAttribute(Qt::WA_DeleteOnClose, false);
    replace(screen);
    screen->Form_Load();
}

void AppNavigator::openLevelScreen()
{
    auto* screen = new seisekitime1(state_);
    replace(screen);
    screen->Form_Load();
    screen->Form_Activate();
}

void AppNavigator::openDrill()
{
    auto* screen = new MainFrm(state_);
    replace(screen);
    screen->Form_Load();
    showMainScreen(screen);
    screen->Form_Activate();
}

void AppNavigator::openEndOfDrill()
{
    auto* screen = new FrmSyuuryou(state_);
    replace(screen);
    screen->Form_Load();
    screen->Form_Activate();
}

void AppNavigator::openResultsAdmin()
{
    auto* screen = new FrmData(state_);
    replace(screen);
    screen->Form_Load();
}

void AppNavigator::openStandardsEditor()
{
    auto* screen = new FrmTimeData(state_);
    replace(screen);
    screen->Form_Load();
    screen->Form_Activate();
}

void AppNavigator::openFlashCards()
{
    auto* screen = new FrmFrush(state_);
    replace(screen);
    screen->Form_Load();
    showMainScreen(screen);
}

void AppNavigator::quitProgram(int status)
{
    quitting_ = true;
    if (current_)
        current_->close();
    quit_(status);
}

} // namespace vc
