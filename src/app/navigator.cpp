#include "navigator.h"

#include "startup/appstate.h"
#include "startup/screens.h"
#include "students/namesel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vc {
namespace {

// Stands in for the level screen until it is built: shows the course's levels
// and leads back to the name selection.
class LevelPlaceholder : public QWidget {
public:
    LevelPlaceholder(AppState& state, Navigator& nav)
    {
        setObjectName(QStringLiteral("seisekitime1"));
        setWindowTitle(state.course.SoftwareName);
        setBackColor(this, state.SeasonBackColor);
        auto* layout = new QVBoxLayout(this);
        auto* who = new QLabel(state.CurrentStudentName.trimmed(), this);
        layout->addWidget(who);
        auto* list = new QListWidget(this);
        for (int i = 1; i <= state.course.LevelCount; ++i)
            list->addItem(QStringLiteral("%1  %2").arg(i).arg(state.LevelNames[static_cast<size_t>(i)]));
        layout->addWidget(list);
        auto* back = new QPushButton(QStringLiteral("戻る(0)"), this);
        back->setObjectName(QStringLiteral("Command3"));
        layout->addWidget(back);
        QObject::connect(back, &QPushButton::clicked, this, [&nav] { nav.openNameSelection(); });
        resize(800, 600);
    }
};

} // namespace

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
    auto* screen = new LevelPlaceholder(state_, *this);
    replace(screen);
    screen->show();
}

void AppNavigator::quitProgram(int status)
{
    quitting_ = true;
    if (current_)
        current_->close();
    quit_(status);
}

} // namespace vc
