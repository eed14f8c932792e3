#include "levelscreen/seisekitime1.h"

#include "drill/drillclock.h"
#include "drill/drillsession.h"
#include "drill/runstate.h"
#include "levelscreen/levelcolumn.h"
#include "levelscreen/reportpanel.h"
#include "platform/qtfonts.h"
#include "platform/qtscreenscale.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/listorder.h"
#include "platform/messages.h"
#include "platform/qtchoice.h"
#include "platform/twips.h"
#include "startup/appstate.h"
#include "startup/navigator.h"
#include "startup/screens.h"
#include "students/noticepage.h"
#include "students/roster.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

namespace vc {
namespace {

// Checks an option without running its handler: the code calls that itself.
void checkQuietly(QAbstractButton* option)
{
    const QSignalBlocker quiet(option);
    option->setChecked(true);
}

// Layout of the main panel in pixels; the columns area is 14592 twips wide.
constexpr int kPanelWidth = 1024;
constexpr int kPanelHeight = 748;
constexpr int kColumnsLeft = 8;
constexpr int kColumnsTop = 80;
constexpr int kColumnsHeight = 460;
constexpr int kViewsTop = kColumnsTop + kColumnsHeight + 6;
constexpr int kNoticeTop = kViewsTop + 76;

// Inside a column.
constexpr int kNameHeight = 26;
constexpr int kButtonTop = 27;
constexpr int kButtonHeight = 30;
constexpr int kLineHeight = 18;
constexpr int kLinesTop = kButtonTop + kButtonHeight + 2;
constexpr int kListTop = kLinesTop + 7 * (kLineHeight + 1);

const QString kNotReady = QStringLiteral("この機能は準備中です。");

QLabel* makeLabel(QWidget* parent, const QString& name, int pixels, bool bold = false)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(uiFont(pixels, bold));
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int pixels)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFont(uiFont(pixels));
    return button;
}

QString indexed(const char* name, int index) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index); }

} // namespace

seisekitime1::seisekitime1(AppState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("seisekitime1"));
    setWindowTitle(state_.course.SoftwareName);

    mainPanel_ = new QWidget(this);
    mainPanel_->setObjectName(QStringLiteral("mainPanel"));
    mainPanel_->resize(kPanelWidth, kPanelHeight);

    buildTopBar();

    columnsArea_ = new QWidget(mainPanel_);
    columnsArea_->setObjectName(QStringLiteral("columnsArea"));
    columnsArea_->setGeometry(kColumnsLeft, kColumnsTop, twipsToPixels(kColumnsAreaTwips), kColumnsHeight);

    buildViewsPanel();

    WebBrowser2 = new QTextBrowser(mainPanel_);
    WebBrowser2->setObjectName(QStringLiteral("WebBrowser2"));
    WebBrowser2->setOpenLinks(false);
    WebBrowser2->setGeometry(0, kNoticeTop, static_cast<int>(kPanelWidth * 1.02), kPanelHeight - kNoticeTop);

    buildPanels();
    resize(mainPanel_->size());
}

void seisekitime1::buildTopBar()
{
    Label11 = makeLabel(mainPanel_, QStringLiteral("Label11"), 24, true);
    Label11->setGeometry(8, 2, 380, 38);
    Label12 = makeLabel(mainPanel_, QStringLiteral("Label12"), 18);
    Label12->setGeometry(396, 6, 220, 30);
    Label17 = makeLabel(mainPanel_, QStringLiteral("Label17"), 15);
    Label17->setGeometry(620, 6, 110, 30);
    Label18 = makeLabel(mainPanel_, QStringLiteral("Label18"), 15, true);
    Label18->setGeometry(734, 6, 170, 30);
    Command1 = makeButton(mainPanel_, QStringLiteral("Command1"), QStringLiteral("戻る(0)"), 15);
    Command1->setGeometry(912, 4, 104, 34);

    Picture6 = new QWidget(mainPanel_);
    Picture6->setObjectName(QStringLiteral("Picture6"));
    Picture6->setGeometry(8, 44, 110, 32);
    Command29 = makeButton(Picture6, QStringLiteral("Command29"), QStringLiteral("練習"), 15);
    Command29->setGeometry(0, 0, 110, 32);
    Command33 = makeButton(mainPanel_, QStringLiteral("Command33"), QStringLiteral("一覧"), 15);
    Command33->setGeometry(126, 44, 90, 32);
    Command8 = makeButton(mainPanel_, QStringLiteral("Command8"), QStringLiteral("データ処理"), 15);
    Command8->setGeometry(224, 44, 120, 32);
    HScroll1 = new QScrollBar(Qt::Horizontal, mainPanel_);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(360, 50, kPanelWidth - 368, 22);
    HScroll1->hide();

    connect(Command1, &QPushButton::clicked, this, &seisekitime1::Command1_Click);
    connect(Command29, &QPushButton::clicked, this, &seisekitime1::Command29_Click);
    connect(Command33, &QPushButton::clicked, this, &seisekitime1::Command33_Click);
    connect(Command8, &QPushButton::clicked, this, &seisekitime1::Command8_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &seisekitime1::HScroll1_Change);
}

void seisekitime1::buildViewsPanel()
{
    Label5 = makeLabel(mainPanel_, QStringLiteral("Label5"), 17, true);
    Label5->setGeometry(8, kViewsTop, 300, 30);

    Combo1 = new QComboBox(mainPanel_);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setFont(uiFont(15));
    Combo1->setGeometry(316, kViewsTop + 2, 130, 28);
    Combo2 = new QComboBox(mainPanel_);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setFont(uiFont(15));
    Combo2->setGeometry(454, kViewsTop + 2, 230, 28);
    Command17 = makeButton(mainPanel_, QStringLiteral("Command17"), QStringLiteral("グラフ"), 15);
    Command17->setGeometry(692, kViewsTop + 2, 90, 28);
    Command17->hide();

    auto* kinds = new QWidget(mainPanel_);
    kinds->setObjectName(QStringLiteral("viewKinds"));
    kinds->setGeometry(8, kViewsTop + 36, 340, 32);
    auto* kindLayout = new QHBoxLayout(kinds);
    kindLayout->setContentsMargins(0, 0, 0, 0);
    auto* kindGroup = new QButtonGroup(this);
    for (int k = 0; k < 3; ++k) {
        auto* option = new QRadioButton(viewKindCaptions()[static_cast<size_t>(k)], kinds);
        option->setObjectName(indexed("Option2", k));
        option->setProperty("index", k);
        option->setFont(uiFont(15));
        kindGroup->addButton(option, k);
        kindLayout->addWidget(option);
        onChosen(option, this, [this, k] { Option2_Click(k); });
        Option2[static_cast<size_t>(k)] = option;
    }

    Picture1 = new QWidget(mainPanel_);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(356, kViewsTop + 36, 360, 32);
    auto* orderLayout = new QHBoxLayout(Picture1);
    orderLayout->setContentsMargins(0, 0, 0, 0);
    auto* orderGroup = new QButtonGroup(this);
    for (int j = 1; j <= 3; ++j) {
        auto* option = new QRadioButton(activationOrderCaptions()[static_cast<size_t>(j - 1)], Picture1);
        option->setObjectName(indexed("Option1", j));
        option->setProperty("index", j);
        option->setFont(uiFont(15));
        orderGroup->addButton(option, j);
        orderLayout->addWidget(option);
        onChosen(option, this, [this, j] { Option1_Click(j); });
        Option1[static_cast<size_t>(j)] = option;
    }

    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Combo2, &QComboBox::activated, this, [this] { Combo2_Click(); });
    connect(Command17, &QPushButton::clicked, this, &seisekitime1::Command17_Click);
}

void seisekitime1::buildPanels()
{
    const QRect over(kColumnsLeft, kColumnsTop, twipsToPixels(kColumnsAreaTwips), kColumnsHeight);

    // The report panel.
    report_ = new ReportPanel(state_, mainPanel_);
    report_->setGeometry(over);
    report_->gradeFilter = [this] { return Combo1->currentText(); };
    report_->pointsOrder = [this] {
        return settings_.pointsOrder == PointsOrder::Today ? RankingOrder::TodayPoints : RankingOrder::TotalPoints;
    };
    Picture11 = report_;
    List2 = report_->List2;
    List3 = report_->List3;
    Command24 = report_->Command24;
    Command18 = report_->Command18;

    // The teacher panel.
    Picture7 = new QFrame(mainPanel_);
    Picture7->setObjectName(QStringLiteral("Picture7"));
    Picture7->setGeometry(over.x() + over.width() / 2 - 200, over.y() + 60, 400, 220);
    static_cast<QFrame*>(Picture7)->setFrameShape(QFrame::Box);
    setBackColor(Picture7, 0xF0E8E0);
    auto* teacherLayout = new QVBoxLayout(Picture7);
    teacherLayout->setContentsMargins(24, 20, 24, 20);
    teacherLayout->setSpacing(14);
    const QString teacherCaptions[2] = {QStringLiteral("データ変更"), QStringLiteral("合格タイムデータ変更")};
    for (int i = 0; i < 2; ++i) {
        auto* button = makeButton(Picture7, indexed("Command10", i), teacherCaptions[i], 18);
        button->setProperty("index", i);
        button->setMinimumHeight(44);
        teacherLayout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, i] { Command10_Click(i); });
        Command10[static_cast<size_t>(i)] = button;
    }
    Command12 = makeButton(Picture7, QStringLiteral("Command12"), QStringLiteral("戻る"), 15);
    teacherLayout->addWidget(Command12, 0, Qt::AlignRight);
    connect(Command12, &QPushButton::clicked, this, &seisekitime1::Command12_Click);
    Picture7->hide();

    // The overview panel.
    Picture4 = new QFrame(mainPanel_);
    Picture4->setObjectName(QStringLiteral("Picture4"));
    Picture4->setGeometry(over);
    static_cast<QFrame*>(Picture4)->setFrameShape(QFrame::Box);
    setBackColor(Picture4, 0xFFFFFF);
    auto* overviewLayout = new QVBoxLayout(Picture4);
    auto* headings = new QHBoxLayout;
    for (const QString& text : {QStringLiteral("本日回数"), QStringLiteral("今まで回数"), QStringLiteral("◎＝10回　○＝1回"),
                                QStringLiteral("ダブルクリックでスタートします")}) {
        auto* heading = new QLabel(text, Picture4);
        heading->setFont(uiFont(15, true));
        headings->addWidget(heading);
    }
    overviewLayout->addLayout(headings);
    List6 = new QListWidget(Picture4);
    List6->setObjectName(QStringLiteral("List6"));
    List6->setFont(listFont(16));
    overviewLayout->addWidget(List6, 1);
    Command32 = makeButton(Picture4, QStringLiteral("Command32"), QStringLiteral("詳細へ戻る"), 15);
    overviewLayout->addWidget(Command32, 0, Qt::AlignRight);
    connect(List6, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { List6_DblClick(List6->row(item)); });
    connect(Command32, &QPushButton::clicked, this, &seisekitime1::Command32_Click);
    Picture4->hide();

    // The wait cover, over the whole window.
    Picture2 = new QWidget(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    auto* waitLayout = new QVBoxLayout(Picture2);
    waitLayout->addStretch(1);
    auto* waitText = new QLabel(QStringLiteral("Just a moment, please."), Picture2);
    waitText->setObjectName(QStringLiteral("Label16"));
    waitText->setFont(uiFont(30));
    waitText->setAlignment(Qt::AlignCenter);
    waitLayout->addWidget(waitText);
    ProgressBar1 = new QProgressBar(Picture2);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedSize(480, 22);
    waitLayout->addWidget(ProgressBar1, 0, Qt::AlignHCenter);
    waitLayout->addStretch(1);
    ProgressBar1->hide();
}

int seisekitime1::levelCount() const { return std::clamp<int>(state_.course.LevelCount, 0, kMaxLevelCount); }

bool seisekitime1::isPractice(int level) const { return isPracticeLevel(state_.LevelNames[static_cast<size_t>(level)]); }

void seisekitime1::buildColumn(int level)
{
    LevelColumn& c = columns[static_cast<size_t>(level)];
    auto* frame = new QFrame(columnsArea_);
    frame->setObjectName(indexed("LevelColumn", level));
    frame->setFrameShape(QFrame::Box);
    setBackColor(frame, 0xFAFAFA);
    c.frame = frame;

    auto label = [&](const char* name, int pixels, bool bold = false) {
        QLabel* l = makeLabel(frame, indexed(name, level), pixels, bold);
        l->setProperty("index", level);
        return l;
    };
    c.Label1 = label("Label1", 18, true);
    c.Label1->setAlignment(Qt::AlignCenter);
    c.Label3 = label("Label3", 15, true);
    c.Label3->setAlignment(Qt::AlignCenter);
    c.Label3->setCursor(Qt::PointingHandCursor);
    c.Label2 = label("Label2", 12);
    c.Label19 = label("Label19", 12);
    c.Label7 = label("Label7", 12);
    c.Label8 = label("Label8", 12);
    c.Label14 = label("Label14", 13);
    c.Label15 = label("Label15", 13);
    c.Label9 = label("Label9", 12, true);
    c.Label10 = label("Label10", 12, true);
    c.Label10->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.List5 = new QListWidget(frame);
    c.List5->setObjectName(indexed("List5", level));
    c.List5->setProperty("index", level);
    c.List5->setFont(listFont(13));
    c.List5->setUniformItemSizes(true);
    c.Command4 = makeButton(frame, indexed("Command4", level), startCaption(level), 15);
    c.Command4->setProperty("index", level);
    c.Text1 = new QLineEdit(kBanCoverText, frame);
    c.Text1->setObjectName(indexed("Text1", level));
    c.Text1->setProperty("index", level);
    c.Text1->setReadOnly(true);
    c.Text1->setAlignment(Qt::AlignCenter);
    c.Text1->setFont(uiFont(15, true));
    c.Text1->setStyleSheet(QStringLiteral("QLineEdit { background: #ffe0e0; color: #c00000; border: 2px solid #c00000; }"));
    c.Text1->hide();

    const QString name = state_.LevelNames[static_cast<size_t>(level)];
    c.Label1->setText(QString::number(level));
    c.Label3->setText(name);
    c.Label3->setToolTip(name);
    if (const std::optional<unsigned> colour = levelNameColour(name, state_.course.GroupByThree, level))
        setBackColor(c.Label3, *colour);
    fillMarksAndPeriodLine(level);
    if (const StandardsRow* row = state_.standards.level(level))
        c.Label7->setText(standardsLine(*row));

    connect(c.Command4, &QPushButton::clicked, this, [this, level] { Command4_Click(level); });
    layOutColumn(level, false, 0);
}

void seisekitime1::layOutColumn(int level, bool topPartOnly, double heightTwips)
{
    LevelColumn& c = columns[static_cast<size_t>(level)];
    const int w = columnWidth_;
    const int numberWidth = static_cast<int>(w * 0.2);
    c.Label1->setGeometry(0, 0, numberWidth, kNameHeight);
    c.Label3->setGeometry(numberWidth, 0, w - numberWidth, kNameHeight);
    c.Command4->setGeometry(2, kButtonTop, w - 4, kButtonHeight);
    c.Text1->setGeometry(c.Command4->geometry());
    QLabel* lines[] = {c.Label2, c.Label19, c.Label7, c.Label8, c.Label14, c.Label15};
    for (int k = 0; k < 6; ++k)
        lines[k]->setGeometry(2, kLinesTop + k * (kLineHeight + 1), w - 4, kLineHeight);
    const int headingTop = kLinesTop + 6 * (kLineHeight + 1);
    c.Label9->setGeometry(4, headingTop, w / 2 - 4, kLineHeight);
    c.Label10->setGeometry(w / 2, headingTop, w / 2 - 4, kLineHeight);
    c.List5->setGeometry(2, kListTop, w - 4, kColumnsHeight - kListTop - 2);

    for (QWidget* part : std::initializer_list<QWidget*>{c.Label2, c.Label19, c.Label7, c.Label8, c.Label14, c.Label15, c.Label9, c.Label10})
        part->setVisible(!topPartOnly);
    if (topPartOnly)
        c.List5->hide();
    const int height = topPartOnly ? twipsToPixels(heightTwips) : kColumnsHeight;
    c.frame->resize(w, height);
}

void seisekitime1::fillMarksAndPeriodLine(int level)
{
    LevelColumn& c = columns[static_cast<size_t>(level)];
    const LevelFigures& f = state_.statistics.at(level, state_.CurrentStudentNumber);
    c.Label2->setText(runMarks(wholeRuns(f.todayRuns)));
    setBackColor(c.Label2, todayMarksColour(f.todayRuns));
    c.Label19->setText(runMarks(f.judgeRuns));
    setBackColor(c.Label19, periodMarksColour(f.judgeRuns));
    // The marks stay readable on the dark blue of a level run within the period.
    QPalette marks = c.Label19->palette();
    marks.setColor(QPalette::WindowText, f.judgeRuns >= 1 ? Qt::white : Qt::black);
    c.Label19->setPalette(marks);
    if (const StandardsRow* row = state_.standards.level(level))
        c.Label8->setText(periodLine(*row, f));
}

void seisekitime1::Form_Load()
{
    setBackColor(this, state_.SeasonBackColor);
    setBackColor(Picture2, state_.SeasonBackColor);
    Picture2->move(0, 0);

    const QString page = state_.paths.CourseFolder + QStringLiteral("PageSeisekisita.htm");
    QFile file(page);
    if (file.open(QIODevice::ReadOnly)) {
        WebBrowser2->setSearchPaths({state_.paths.CourseFolder});
        WebBrowser2->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
        WebBrowser2->setHtml(decodeHtmlPage(file.readAll()));
    } else {
        WebBrowser2->clear();
    }

    const int n = levelCount();
    columnWidth_ = twipsToPixels(columnWidthTwips(n));
    if (columnsScroll(n)) {
        const QSignalBlocker quiet(HScroll1);
        HScroll1->setRange(1, scrollMaximum(n));
        HScroll1->setPageStep(1);
        HScroll1->setValue(1);
        HScroll1->show();
    } else {
        HScroll1->hide();
    }
    firstVisible_ = 1;

    Combo1->clear();
    Combo1->addItems(gradeFilters());
    // A filter the box does not offer would list nobody; start with all grades then.
    const int chosen = Combo1->findText(state_.SelectedGradeFilter);
    Combo1->setCurrentIndex(chosen >= 0 ? chosen : 0);
    Combo2->clear();
    Combo2->addItems(periodItems());
    Combo2->setCurrentIndex(kDefaultPeriod - 1);
    settings_.period = kDefaultPeriod;

    columns.assign(static_cast<size_t>(n) + 1, LevelColumn{});
    buttons_ = StartButtons(n);
    for (int i = 1; i <= n; ++i)
        buildColumn(i);
    placeColumns();

    // Keys reach the screen before its controls, wherever the focus is.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    Picture2->setGeometry(rect());
    Picture2->raise();
    showMainScreen(this);
}

void seisekitime1::Form_Activate()
{
    if (ending_)
        return;
    const int n = levelCount();
    const QString name = state_.CurrentStudentName;

    Picture6->setVisible(state_.PracticePanelFlag == 1);
    Command8->setVisible(isTeacher(name));
    Command24[1]->setVisible(showsReportPrint(name));

    const double now = state_.services.clock ? state_.services.clock->secondsSinceMidnight() : 0.0;
    Label17->setText(minutesSinceLoginText(wholeMinutesSinceLogin(state_.LoginTime, now)));
    QFont title = Label11->font();
    title.setPointSize(titlePointSize(state_.course.SoftwareName));
    Label11->setFont(title);
    Label11->setText(state_.course.SoftwareName);
    Label12->setText(state_.CurrentStudentClass + u' ' + trimSpaces(name));

    busy_ = 0;
    showWaitCover();

    try {
        if (state_.services.clock)
            computeStatistics(state_.paths.CourseFolder, state_.standards, *state_.services.clock, state_.loadedResults,
                              state_.statistics);
    } catch (const DataError& e) {
        failWith(e.message());
        return;
    }

    const int total = todayTotal(state_.statistics, state_.CurrentStudentNumber);
    Label18->setText(todayTotalText(total));

    // The points view in cumulative order. The view-kind handler only clears
    // the screen while the suppress flag is set; the ranking is filled here.
    ProgressBar1->setMaximum(n);
    settings_.suppress = true;
    checkQuietly(Option2[1]);
    Option2_Click(1);
    settings_.suppress = false;
    Combo2->hide();
    settings_.viewKind = ViewKind::Points;
    checkQuietly(Option1[1]);
    fillPointsRankings(PointsOrder::Total);
    for (int j = 1; j <= 3; ++j)
        Option1[static_cast<size_t>(j)]->setText(activationOrderCaptions()[static_cast<size_t>(j - 1)]);
    Option1[3]->setEnabled(true);
    Picture1->setEnabled(true);
    Command1->setEnabled(true);

    for (int i = 1; i <= n; ++i) {
        LevelColumn& c = columns[static_cast<size_t>(i)];
        const LevelFigures& f = state_.statistics.at(i, state_.CurrentStudentNumber);
        if (isPractice(i)) {
            if (StandardsRow* row = state_.standards.level(i)) {
                row->targetTime = 600;
                row->minimumTime = 600;
            }
            layOutColumn(i, true, kPracticeColumnTwips);
        } else {
            layOutColumn(i, false, 0);
            c.List5->show();
        }
        fillMarksAndPeriodLine(i);
        setBackColor(c.Label7, kColourLightGrey);
        setBackColor(c.Label8, kColourLightGrey);
        buttons_.enabled[static_cast<size_t>(i)] = true;
        c.Label14->setText(todayLine(f));
        c.Label15->setText(totalsLine(f));
    }

    runBanEvaluation();

    hideWaitCover();
    QCoreApplication::processEvents();
    if (ending_)
        return;
    busy_ = 1;

    if (firstVisitHintDue(state_.FirstVisitFlag, state_.PracticePanelFlag, total)) {
        state_.FirstVisitFlag = 0;
        if (state_.services.messages)
            state_.services.messages->show(kFirstVisitHint, state_.course.SoftwareName, MessageService::Buttons::Ok,
                                           MessageService::Icon::Information);
    }
}

void seisekitime1::failWith(const QString& message)
{
    ending_ = true;
    if (state_.services.messages)
        state_.services.messages->show(message, QStringLiteral("エラー"), MessageService::Buttons::Ok, MessageService::Icon::Critical);
    if (state_.services.navigator)
        state_.services.navigator->quitProgram(1);
}

void seisekitime1::showWaitCover()
{
    Picture2->setGeometry(rect());
    Picture2->raise();
    Picture2->show();
}

void seisekitime1::hideWaitCover()
{
    Picture2->hide();
    ProgressBar1->hide();
}

void seisekitime1::hideAllLists()
{
    for (int i = 1; i <= levelCount(); ++i)
        columns[static_cast<size_t>(i)].List5->hide();
}

void seisekitime1::resetHeadings()
{
    for (int i = 1; i <= levelCount(); ++i) {
        LevelColumn& c = columns[static_cast<size_t>(i)];
        c.Label9->setText(kHeadingToday);
        c.Label10->setText(kHeadingSoFar);
        c.List5->clear();
    }
    pendingFills_.clear();
}

void seisekitime1::clearListSelections()
{
    for (int i = 1; i <= levelCount(); ++i)
        columns[static_cast<size_t>(i)].List5->clearSelection();
}

void seisekitime1::runBanEvaluation()
{
    const int n = levelCount();
    std::vector<QString> names(state_.LevelNames.begin(), state_.LevelNames.begin() + n + 1);
    const BanInput input{state_.standards, state_.statistics, state_.CurrentStudentNumber, isTeacher(state_.CurrentStudentName), names};
    state_.targetLevelCleared = evaluateBan(input, buttons_);
    for (int i = 1; i <= n; ++i) {
        LevelColumn& c = columns[static_cast<size_t>(i)];
        c.Command4->setEnabled(buttons_.enabled[static_cast<size_t>(i)]);
        const bool covered = buttons_.covered[static_cast<size_t>(i)];
        c.Text1->setVisible(covered);
        if (covered) {
            c.Text1->setText(kBanCoverText);
            c.Text1->raise();
        }
    }
}

void seisekitime1::placeColumns()
{
    const int n = levelCount();
    for (int i = 1; i <= n; ++i) {
        int x = (i - firstVisible_) * columnWidth_;
        // Columns before the first visible one wait out of sight on the right.
        if (x < 0)
            x = columnsArea_->width();
        columns[static_cast<size_t>(i)].frame->move(x, 0);
    }
}

void seisekitime1::HScroll1_Change()
{
    firstVisible_ = vc::firstVisibleLevel(HScroll1->value(), levelCount());
    placeColumns();
    fillColumnsInView();
}

// ---- Starting a level -------------------------------------------------------

void seisekitime1::startLevel(int level)
{
    state_.CurrentLevel = static_cast<qint16>(level);
    busy_ = 0;
    startDrill(state_);
}

// The cover bans the level on every path, not only the mouse on the button.
bool seisekitime1::mayStart(int level) const
{
    if (level < 1 || level > levelCount() || Picture7->isVisible())
        return false;
    const LevelColumn& c = columns[static_cast<size_t>(level)];
    return c.Command4->isEnabled() && !buttons_.covered[static_cast<size_t>(level)];
}

void seisekitime1::Command4_Click(int level)
{
    if (!mayStart(level))
        return;
    showWaitCover();
    state_.CurrentLevel = static_cast<qint16>(level);
    QCoreApplication::processEvents();
    startLevel(level);
}

void seisekitime1::Label3_Click(int level)
{
    if (mayStart(level))
        startLevel(level);
}

bool seisekitime1::Form_KeyPress(const QString& text)
{
    if (busy_ == 0 || text.size() != 1)
        return false;
    const QChar key = text.at(0);
    int level = 0;
    if (key >= u'1' && key <= u'9')
        level = key.unicode() - u'0';
    else if (key >= u'a' && key <= u'd')
        level = 10 + (key.unicode() - u'a');
    else if (key == u'0') {
        if (Command1->isEnabled())
            Command1_Click();
        return true;
    } else {
        return false;
    }
    if (level <= levelCount())
        Command4_Click(level);
    return true;
}

void seisekitime1::Command1_Click()
{
    showWaitCover();
    QCoreApplication::processEvents();
    if (state_.services.navigator)
        state_.services.navigator->openNameSelection();
}

// ---- Panels -----------------------------------------------------------------

void seisekitime1::notReadyYet(const QString& title)
{
    if (state_.services.messages)
        state_.services.messages->show(kNotReady, title, MessageService::Buttons::Ok, MessageService::Icon::Information);
}

void seisekitime1::Command29_Click()
{
    if (state_.services.navigator)
        state_.services.navigator->openFlashCards();
}

void seisekitime1::Command8_Click()
{
    Picture7->raise();
    Picture7->show();
}

void seisekitime1::Command10_Click(int index)
{
    if (state_.services.navigator && index == 0)
        state_.services.navigator->openResultsAdmin();
    else if (state_.services.navigator && index == 1)
        state_.services.navigator->openStandardsEditor();
}

void seisekitime1::Command12_Click() { Picture7->hide(); }

void seisekitime1::Command33_Click()
{
    Command31_Click();
    Picture4->raise();
    Picture4->show();
}

void seisekitime1::Command31_Click()
{
    List6->clear();
    for (int i = 1; i <= levelCount(); ++i) {
        const LevelFigures& f = state_.statistics.at(i, state_.CurrentStudentNumber);
        List6->addItem(overviewLine(i, state_.LevelNames[static_cast<size_t>(i)], runMarks(wholeRuns(f.todayRuns)), runMarks(f.judgeRuns)));
    }
}

void seisekitime1::Command32_Click() { Picture4->hide(); }

void seisekitime1::List6_DblClick(int row)
{
    if (row >= 0)
        Command4_Click(row + 1);
}

void seisekitime1::Command17_Click() { report_->Command17_Click(); }

void seisekitime1::Command18_Click() { report_->Command18_Click(); }

// ---- Views ------------------------------------------------------------------

void seisekitime1::Option2_Click(int index)
{
    Command17->hide();
    Picture11->hide();
    Command1->setEnabled(false);
    hideAllLists();
    showWaitCover();
    QCoreApplication::processEvents();
    if (settings_.suppress)
        return;

    auto selectedOrder = [this] {
        for (int j = 1; j <= 3; ++j)
            if (Option1[static_cast<size_t>(j)]->isChecked())
                return j;
        return 1;
    };
    switch (index) {
    case 0:
        for (int j = 1; j <= 3; ++j)
            Option1[static_cast<size_t>(j)]->setText(timeOrderCaptions()[static_cast<size_t>(j - 1)]);
        Option1[3]->setEnabled(true);
        settings_.viewKind = ViewKind::Time;
        Option1_Click(selectedOrder());
        break;
    case 1: {
        Combo2->hide();
        for (int j = 1; j <= 3; ++j)
            Option1[static_cast<size_t>(j)]->setText(pointsOrderCaptions()[static_cast<size_t>(j - 1)]);
        Option1[3]->setEnabled(true);
        settings_.viewKind = ViewKind::Points;
        QCoreApplication::processEvents();
        const int j = selectedOrder();
        if (j == 1)
            settings_.pointsOrder = PointsOrder::Total;
        else if (j == 2)
            settings_.pointsOrder = PointsOrder::Today;
        Option1_Click(j);
        break;
    }
    case 2:
        Command17->show();
        Combo2->hide();
        Command16_Click();
        break;
    default:
        break;
    }
}

void seisekitime1::Option1_Click(int index)
{
    Command1->setEnabled(false);
    hideAllLists();
    showWaitCover();
    Combo2->hide();
    Picture1->setEnabled(false);
    QCoreApplication::processEvents();

    if (settings_.viewKind == ViewKind::Unset)
        settings_.viewKind = ViewKind::Time;
    if (settings_.viewKind == ViewKind::Time) {
        if (index == 1)
            Command6_Click();
        else if (index == 2)
            Command5_Click();
        else if (index == 3)
            Command7_Click();
    } else {
        if (settings_.pointsOrder == PointsOrder::Unset)
            settings_.pointsOrder = PointsOrder::Total;
        if (index == 1)
            fillPointsRankings(PointsOrder::Total);
        else if (index == 2)
            fillPointsRankings(PointsOrder::Today);
        else if (index == 3)
            Command7_Click();
        Picture1->setEnabled(true);
    }
    Command1->setEnabled(true);
    afterViewChange(kPracticeColumnShortTwips);
}

void seisekitime1::afterViewChange(double practiceHeightTwips)
{
    runBanEvaluation();
    for (int i = 1; i <= levelCount(); ++i) {
        if (isPractice(i)) {
            layOutColumn(i, true, practiceHeightTwips);
        } else {
            layOutColumn(i, false, 0);
            columns[static_cast<size_t>(i)].List5->show();
        }
    }
    hideWaitCover();
}

void seisekitime1::fillPointsRankings(PointsOrder order)
{
    settings_.pointsOrder = order;
    Label5->setText(order == PointsOrder::Today ? kHeadlineTodayPoints : kHeadlineTotalPoints);
    const int n = levelCount();
    ProgressBar1->setRange(0, n);
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    rankingRoster_ = rankingRoster(state_, Combo1->currentText());
    for (int i = 1; i <= n; ++i) {
        Command3_Click(i);
        ProgressBar1->setValue(i);
    }
}

void seisekitime1::Command6_Click()
{
    Label5->setText(kHeadlineBestTime);
    resetHeadings();
    const int n = levelCount();
    ProgressBar1->setRange(0, n);
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    rankingRoster_ = rankingRoster(state_, Combo1->currentText());
    for (int i = 1; i <= n; ++i) {
        if (isPractice(i))
            layOutColumn(i, true, kPracticeColumnShortTwips);
        else
            Command3_Click(i);
        ProgressBar1->setValue(i);
    }
    clearListSelections();
    Picture1->setEnabled(true);
}

void seisekitime1::Command3_Click(int level)
{
    LevelColumn& c = columns[static_cast<size_t>(level)];
    c.Label9->setText(kHeadingToday);
    c.Label10->setText(kHeadingSoFar);
    RankingOrder order = RankingOrder::BestTime;
    if (settings_.viewKind == ViewKind::Points)
        order = settings_.pointsOrder == PointsOrder::Today ? RankingOrder::TodayPoints : RankingOrder::TotalPoints;
    QCoreApplication::processEvents();
    fillWhenSeen(level, [this, level, order] { fillRankingColumn(level, order); });
}

void seisekitime1::fillRankingColumn(int level, RankingOrder order)
{
    LevelColumn& c = columns[static_cast<size_t>(level)];
    fillRankingFigures(state_, level, rankingRoster_);
    const QStringList lines = listOrderedLines(rankLevel(rankingRoster_, order));
    c.List5->clear();
    c.List5->addItems(lines);
    const int above = rowAboveOwnLine(lines);
    if (above >= 0) {
        c.List5->setCurrentRow(above);
        c.List5->scrollToItem(c.List5->item(above), QAbstractItemView::PositionAtTop);
    }
    c.List5->clearSelection();
}

bool seisekitime1::isColumnInView(int level) const
{
    const int x = (level - firstVisible_) * columnWidth_;
    return x >= 0 && x < columnsArea_->width();
}

void seisekitime1::fillWhenSeen(int level, std::function<void()> fill)
{
    if (pendingFills_.size() <= static_cast<size_t>(level))
        pendingFills_.resize(static_cast<size_t>(level) + 1);
    if (isColumnInView(level)) {
        pendingFills_[static_cast<size_t>(level)] = nullptr;
        fill();
    } else {
        pendingFills_[static_cast<size_t>(level)] = std::move(fill);
    }
}

void seisekitime1::fillColumnsInView()
{
    for (size_t i = 1; i < pendingFills_.size() && i <= static_cast<size_t>(levelCount()); ++i) {
        if (pendingFills_[i] && isColumnInView(static_cast<int>(i))) {
            const std::function<void()> fill = std::move(pendingFills_[i]);
            pendingFills_[i] = nullptr;
            fill();
        }
    }
}

void seisekitime1::showRunList(RunList list)
{
    resetHeadings();
    Label5->setText(runListHeadline(list));
    const RunListRequest request{list, settings_.viewKind == ViewKind::Unset ? ViewKind::Time : settings_.viewKind,
                                 settings_.period, Combo1->currentText()};
    ScanProgress progress;
    progress.range = [this](qint64 maximum) {
        ProgressBar1->setRange(0, static_cast<int>(std::min<qint64>(maximum, INT_MAX)));
        ProgressBar1->setValue(0);
        ProgressBar1->show();
    };
    progress.value = [this](qint64 record) { ProgressBar1->setValue(static_cast<int>(std::min<qint64>(record, INT_MAX))); };
    std::vector<QStringList> lines;
    try {
        lines = runListLines(state_, request, progress);
    } catch (const DataError& e) {
        // The lists stay empty; the student can go on with the other views.
        if (state_.services.messages)
            state_.services.messages->show(e.message(), QStringLiteral("エラー"), MessageService::Buttons::Ok,
                                           MessageService::Icon::Warning);
    }
    if (list == RunList::Period)
        report_->reportPeriod = periodDays(request.period, state_.services.clock ? state_.services.clock->today() : QDate::currentDate());
    for (int i = 1; i <= levelCount() && static_cast<size_t>(i) < lines.size(); ++i) {
        fillWhenSeen(i, [this, i, level = lines[static_cast<size_t>(i)]]() mutable {
            sortListTexts(level);
            QListWidget* list = columns[static_cast<size_t>(i)].List5;
            list->addItems(level);
            list->clearSelection();
        });
    }
    clearListSelections();
}

void seisekitime1::Command5_Click()
{
    showRunList(RunList::Today);
    Picture1->setEnabled(true);
}

void seisekitime1::Command7_Click()
{
    showRunList(RunList::Period);
    Picture1->setEnabled(true);
    Combo2->show();
}

void seisekitime1::Command16_Click()
{
    // Prepares the report panel for the student's own report.
    QStringList students;
    try {
        readRosterForResults(state_, students);
    } catch (const DataError& e) {
        failWith(e.message());
        return;
    }
    sortListTexts(students);
    report_->prepare(students, levelCount());
    report_->reportPeriod = kPersonalPeriodDays;

    showRunList(RunList::Personal);
    hideWaitCover();
    runBanEvaluation();
    for (int i = 1; i <= levelCount(); ++i) {
        if (isPractice(i)) {
            layOutColumn(i, true, kPracticeColumnTwips);
        } else {
            layOutColumn(i, false, 0);
            columns[static_cast<size_t>(i)].List5->show();
        }
    }
    Command1->setEnabled(true);
}

void seisekitime1::Combo1_Click()
{
    if (Option2[0]->isChecked()) {
        Option2_Click(0);
    } else {
        // A grade chosen in the personal-times view shows the points view.
        checkQuietly(Option2[1]);
        Option2_Click(1);
    }
    if (levelCount() >= 1)
        columns[1].Command4->setFocus();
}

void seisekitime1::Combo2_Click()
{
    if (!Option1[3]->isChecked())
        return;
    settings_.period = periodOfItem(Combo2->currentIndex());
    Option1_Click(3);
}

// ---- Events -----------------------------------------------------------------

void seisekitime1::keyPressEvent(QKeyEvent* event)
{
    if (Form_KeyPress(event->text()))
        return;
    QWidget::keyPressEvent(event);
}

bool seisekitime1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        if (Form_KeyPress(static_cast<QKeyEvent*>(event)->text()))
            return true;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        if (auto* label = qobject_cast<QLabel*>(watched); label && label->objectName().startsWith(QStringLiteral("Label3_"))) {
            Label3_Click(label->property("index").toInt());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void seisekitime1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    mainPanel_->move(std::max(0, (width() - mainPanel_->width()) / 2), std::max(0, (height() - mainPanel_->height()) / 2));
    Picture2->setGeometry(rect());
}

} // namespace vc
