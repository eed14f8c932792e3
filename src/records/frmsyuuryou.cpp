#include "records/frmsyuuryou.h"

#include "drill/runstate.h"
#include "drill/soundcues.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "platform/twips.h"
#include "records/endofdrill.h"
#include "startup/appstate.h"
#include "startup/navigator.h"
#include "startup/screens.h"
#include "students/roster.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vc {
namespace {

constexpr int kSettleMs = 500;
constexpr unsigned kPanelColour = 0xFFF8F0;   // pale blue, 0xBBGGRR
constexpr unsigned kTargetColour = 0xC0FFFF;  // light yellow

QLabel* makeLabel(QWidget* parent, const QString& name, int pixels, bool bold = false, const QString& text = {})
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont f;
    f.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("MS UI Gothic"), QStringLiteral("sans-serif")});
    f.setPixelSize(pixels);
    f.setBold(bold);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    QFont f = button->font();
    f.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("sans-serif")});
    f.setPixelSize(22);
    f.setBold(true);
    button->setFont(f);
    button->setMinimumSize(200, 52);
    return button;
}

} // namespace

FrmSyuuryou::FrmSyuuryou(AppState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("FrmSyuuryou"));
    setWindowTitle(QStringLiteral("終了"));

    Picture4 = new QWidget(this);
    Picture4->setObjectName(QStringLiteral("Picture4"));
    Picture4->resize(twipsToPixels(10800), twipsToPixels(8400));
    setBackColor(Picture4, kPanelColour);
    auto* layout = new QVBoxLayout(Picture4);
    layout->setContentsMargins(32, 20, 32, 24);
    layout->setSpacing(6);

    Label15 = makeLabel(Picture4, QStringLiteral("Label15"), 22, true);
    Label16 = makeLabel(Picture4, QStringLiteral("Label16"), 20);
    Label17 = makeLabel(Picture4, QStringLiteral("Label17"), 20);
    Label18 = makeLabel(Picture4, QStringLiteral("Label18"), 40, true);
    Label19 = makeLabel(Picture4, QStringLiteral("Label19"), 26);
    Label13 = makeLabel(Picture4, QStringLiteral("Label13"), 18);
    Label14 = makeLabel(Picture4, QStringLiteral("Label14"), 18);
    Label20 = makeLabel(Picture4, QStringLiteral("Label20"), 32, true);
    Label20->setStyleSheet(QStringLiteral("color: #d00000;"));
    Label20->hide();
    Label2 = makeLabel(Picture4, QStringLiteral("Label2"), 26, true);
    Label2->setStyleSheet(QStringLiteral("color: #0040c0;"));
    Label2->hide();

    auto* counts = new QHBoxLayout;
    counts->addStretch(1);
    counts->addWidget(Label13);
    counts->addWidget(Label14);
    counts->addStretch(1);

    Command4 = makeButton(Picture4, QStringLiteral("Command4"), QStringLiteral("メニューへ"));
    Command5 = makeButton(Picture4, QStringLiteral("Command5"), QStringLiteral("もう一度"));
    Command4->hide();
    Command5->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command4);
    buttons->addSpacing(24);
    buttons->addWidget(Command5);
    buttons->addStretch(1);

    layout->addWidget(Label15);
    layout->addWidget(Label16);
    layout->addWidget(Label17);
    layout->addSpacing(8);
    layout->addWidget(Label18);
    layout->addWidget(Label19);
    layout->addLayout(counts);
    layout->addWidget(Label20);
    layout->addWidget(Label2);
    layout->addStretch(1);
    layout->addLayout(buttons);

    // The target-level panel lies over the middle of the screen.
    Picture1 = new QWidget(Picture4);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    setBackColor(Picture1, kTargetColour);
    auto* targetLayout = new QVBoxLayout(Picture1);
    Label1 = makeLabel(Picture1, QStringLiteral("Label1"), 30, true, kTargetClearedText);
    Label1->setStyleSheet(QStringLiteral("color: #c00000;"));
    targetLayout->addWidget(Label1);
    Picture1->setGeometry(24, Picture4->height() / 2 - 60, Picture4->width() - 48, 120);
    Picture1->hide();

    Timer1 = new QTimer(this);
    Timer1->setInterval(kSettleMs);
    connect(Timer1, &QTimer::timeout, this, &FrmSyuuryou::Timer1_Timer);
    connect(Command4, &QPushButton::clicked, this, &FrmSyuuryou::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &FrmSyuuryou::Command5_Click);

    resize(Picture4->size());
}

void FrmSyuuryou::Form_Load()
{
    setBackColor(this, state_.SeasonBackColor);
    // The window fills the screen; resizeEvent keeps the panel in its middle.
    showMaximized();
}

void FrmSyuuryou::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Picture4->move(std::max(0, (width() - Picture4->width()) / 2), std::max(0, (height() - Picture4->height()) / 2));
}

bool FrmSyuuryou::letEventsRun()
{
    QPointer<FrmSyuuryou> self(this);
    QCoreApplication::processEvents();
    return self && !leaving_;
}

void FrmSyuuryou::Form_Activate()
{
    if (activated_)
        return;
    activated_ = true;
    // The flags describe the run just recorded and are used up here, whatever
    // the student clicks meanwhile: left set, the next run would announce a
    // record it did not set.
    const RunOutcomeFlags flags = state_.runFlags;
    state_.runFlags.personalBest = false;
    state_.runFlags.levelRecord = false;
    // The cues wait in a loop that lets timers run; the screen settles only
    // once they are over, as if they had held the screen.
    activating_ = true;
    struct Done {
        FrmSyuuryou* screen;
        QPointer<FrmSyuuryou> alive;
        ~Done()
        {
            if (!alive)
                return;
            screen->activating_ = false;
            if (screen->settleDue_ && !screen->leaving_)
                screen->Timer1_Timer();
        }
    } done{this, this};
    const int level = state_.CurrentLevel;
    const int student = state_.CurrentStudentNumber;
    const int target = state_.TargetLevel;

    try {
        if (state_.services.clock)
            computeStatistics(state_.paths.CourseFolder, state_.standards, *state_.services.clock, state_.loadedResults,
                              state_.statistics);
    } catch (const DataError& e) {
        leaving_ = true;
        if (state_.services.messages)
            state_.services.messages->show(e.message(), QStringLiteral("エラー"), MessageService::Buttons::Ok,
                                           MessageService::Icon::Critical);
        if (state_.services.navigator)
            state_.services.navigator->quitProgram(1);
        return;
    }

    if (showsTargetPanel(state_.standards, state_.statistics, level, target, student)) {
        Picture1->raise();
        Picture1->show();
    }
    if (!letEventsRun())
        return;
    Timer1->start();

    const qint32 seconds = state_.run.resultSeconds;
    static const StandardsRow kNoStandards{};
    const StandardsRow* row = state_.standards.level(level);
    const StandardsRow& standards = row ? *row : kNoStandards;
    Label19->setText(pointsLine(standards, seconds));
    Label18->setText(resultLine(seconds));

    Label17->setText(trimSpaces(state_.CurrentStudentName));
    Label15->setText(state_.course.SoftwareName);
    Label16->setText(level >= 0 && level <= kMaxLevel ? state_.LevelNames[static_cast<size_t>(level)] : QString());
    Label13->setText(levelTodayLine(state_.statistics.at(level, student).todayRuns));
    float today = 0;
    for (int i = 1; i <= kMaxLevel; ++i)
        today += state_.statistics.at(i, student).todayRuns;
    Label14->setText(allTodayLine(static_cast<int>(today)));
    if (!letEventsRun())
        return;

    const RecordAnnouncement announcement = recordAnnouncement(seconds, flags, standards.minimumTime);
    if (!announcement.message.isEmpty()) {
        Label20->setText(announcement.message);
        Label20->show();
        if (!letEventsRun())
            return;
    }
    QPointer<FrmSyuuryou> self(this);
    switch (announcement.cue) {
    case RecordAnnouncement::Cue::PersonalBest:
        playCategoryCue(state_, kPersonalBestCue);
        break;
    case RecordAnnouncement::Cue::LevelRecord:
        playFileCue(state_, QStringLiteral("最高1.wav"));
        break;
    case RecordAnnouncement::Cue::MinimumLine:
        playCategoryCue(state_, kMinimumLineCue);
        break;
    case RecordAnnouncement::Cue::None:
        break;
    }
    if (!self || leaving_)
        return;
    if (announcement.cue == RecordAnnouncement::Cue::PersonalBest || announcement.cue == RecordAnnouncement::Cue::LevelRecord)
        if (!letEventsRun())
            return;

    if (level == target && isLevelCleared(state_.standards, state_.statistics, level, student)) {
        if (playsClearedCue(state_.standards, state_.statistics, level, target, student, flags.wasClearedBefore)) {
            playFileCue(state_, QStringLiteral("合格.wav"));
            if (!self || leaving_)
                return;
        }
    } else {
        Picture1->hide();
    }

    // The wait form the drill showed while it recorded the run.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* wait = qobject_cast<WaitForm*>(w); wait && wait->parent() != this)
            wait->close();
}

void FrmSyuuryou::Timer1_Timer()
{
    Timer1->stop();
    if (activating_) {
        settleDue_ = true;
        return;
    }
    settleDue_ = false;
    Picture1->hide();
    Command4->show();
    Command4->setFocus();

    const SettledButtons settled = settledButtons(state_.standards, state_.statistics, state_.CurrentLevel, state_.TargetLevel,
                                                  state_.CurrentStudentNumber, state_.targetLevelCleared);
    if (settled.moveOn) {
        Label2->setText(kMoveOnText);
        Label2->show();
    } else {
        Label2->clear();
        Label2->hide();
        Command5->show();
    }
}

void FrmSyuuryou::Command4_Click()
{
    if (leaving_)
        return;
    leaving_ = true;
    Command4->setEnabled(false);
    Timer1->stop();
    if (state_.services.navigator)
        state_.services.navigator->openLevelScreen();
    QCoreApplication::processEvents();
}

void FrmSyuuryou::Command5_Click()
{
    if (leaving_)
        return;
    leaving_ = true;
    Command4->setEnabled(false);
    Timer1->stop();
    // Owned by this screen, so it goes when the drill replaces it.
    auto* wait = new WaitForm(this);
    wait->Form_Load();
    hide();
    QCoreApplication::processEvents();
    startDrill(state_);
}

} // namespace vc
