#include "namesel.h"

#include "drill/soundcues.h"
#include "platform/qtscreenscale.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "platform/qtchoice.h"
#include "platform/random.h"
#include "platform/twips.h"
#include "records/resultsrewrite.h"
#include "startup/appstate.h"
#include "startup/navigator.h"
#include "startup/screens.h"
#include "startup/startup.h"
#include "students/noticepage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

namespace vc {

namespace {

const QString kPrompt = QStringLiteral("あなたの名前を選んでネ");

// The list lines line up with ideographic spaces, so they need a font whose
// full-width characters are exactly two half-width ones.
QFont listFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("MS Gothic"), QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("monospace")});
    f.setStyleHint(QFont::TypeWriter);
    f.setPixelSize(20);
    return f;
}

QFont sized(QFont f, int pixels, bool bold = false)
{
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

} // namespace

namesel::namesel(AppState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("namesel"));
    setWindowTitle(QStringLiteral("名前の選択"));

    Picture12 = new QWidget(this);
    Picture12->setObjectName(QStringLiteral("Picture12"));
    Picture12->resize(twipsToPixels(15360), twipsToPixels(10800));
    auto* grid = new QGridLayout(Picture12);
    grid->setContentsMargins(16, 8, 16, 12);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);

    Label4 = new QLabel(Picture12);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setCursor(Qt::PointingHandCursor);
    grid->addWidget(Label4, 0, 0, 1, 2);

    List1 = new QListWidget(Picture12);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(listFont());
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->addWidget(List1, 1, 0, 4, 1);

    auto* filterBox = new QGroupBox(QStringLiteral("学年"), Picture12);
    auto* filterLayout = new QVBoxLayout(filterBox);
    Combo1 = new QComboBox(filterBox);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setFont(sized(Combo1->font(), 18));
    Combo1->addItems(gradeFilters());
    filterLayout->addWidget(Combo1);
    grid->addWidget(filterBox, 1, 1);

    auto* modeBox = new QGroupBox(QStringLiteral("表示"), Picture12);
    auto* modeLayout = new QGridLayout(modeBox);
    auto* modes = new QButtonGroup(this);
    const QString captions[4] = {QStringLiteral("回数(今日／今まで）"), QStringLiteral("ポイント（今日／今まで）"),
                                 QStringLiteral("本日（ポイント／回数）"), QStringLiteral("今まで（ポイント／回数）")};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(captions[i], modeBox);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setProperty("index", i);
        option->setFont(sized(option->font(), 16));
        modes->addButton(option, i);
        modeLayout->addWidget(option, i / 2, i % 2);
        onChosen(option, this, [this, i] { Option1_Click(i); });
        Option1[static_cast<size_t>(i)] = option;
    }
    {
        const QSignalBlocker quiet(Option1[0]);
        Option1[0]->setChecked(true);
    }
    grid->addWidget(modeBox, 2, 1);

    WebBrowser2 = new QTextBrowser(Picture12);
    WebBrowser2->setObjectName(QStringLiteral("WebBrowser2"));
    WebBrowser2->setOpenLinks(false);
    grid->addWidget(WebBrowser2, 3, 1);

    auto* chosen = new QWidget(Picture12);
    auto* chosenLayout = new QVBoxLayout(chosen);
    chosenLayout->setContentsMargins(0, 0, 0, 0);
    Label1 = new QLabel(kPrompt, chosen);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(sized(Label1->font(), 30, true));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setMinimumHeight(48);
    Label2 = new QLabel(chosen);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->hide();
    Command14 = new QPushButton(QStringLiteral("名前を選んでココをクリック"), chosen);
    Command14->setObjectName(QStringLiteral("Command14"));
    Command14->setFont(sized(Command14->font(), 26, true));
    Command14->setMinimumHeight(72);
    Command7 = new QPushButton(QStringLiteral("ﾌﾟﾟﾛｸﾞﾗﾑメニューへ(0)"), chosen);
    Command7->setObjectName(QStringLiteral("Command7"));
    Command7->setFont(sized(Command7->font(), 16));
    Command7->setMinimumHeight(36);
    chosenLayout->addWidget(Label1);
    chosenLayout->addWidget(Command14);
    chosenLayout->addWidget(Command7, 0, Qt::AlignRight);
    grid->addWidget(chosen, 4, 1);

    // Across the foot of the panel, in the colour of the other screens'
    // warnings, on a pale ground that reads on every season's colour. It does
    // not block: the students go on practising.
    ShareWarning = new QLabel(Picture12);
    ShareWarning->setObjectName(QStringLiteral("ShareWarning"));
    ShareWarning->setFont(sized(ShareWarning->font(), 15, true));
    ShareWarning->setWordWrap(true);
    ShareWarning->setStyleSheet(QStringLiteral("color: #c00000; background: #fff4f0; border: 2px solid #c00000; padding: 4px 8px;"));
    ShareWarning->hide();
    grid->addWidget(ShareWarning, 5, 0, 1, 2);

    grid->setColumnStretch(0, 5);
    grid->setColumnStretch(1, 6);
    grid->setRowStretch(3, 1);

    // The hidden stores behind the visible list.
    List2 = new QListWidget(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->hide();
    List3 = new QListWidget(this);
    List3->setObjectName(QStringLiteral("List3"));
    List3->hide();

    Picture5 = new QWidget(this);
    Picture5->setObjectName(QStringLiteral("Picture5"));
    auto* waitLayout = new QVBoxLayout(Picture5);
    Label19 = new QLabel(QStringLiteral("Just a moment, please."), Picture5);
    Label19->setObjectName(QStringLiteral("Label19"));
    Label19->setFont(sized(Label19->font(), 28));
    Label19->setAlignment(Qt::AlignCenter);
    waitLayout->addWidget(Label19);

    connect(List1, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Command14, &QPushButton::clicked, this, &namesel::Command14_Click);
    connect(Command7, &QPushButton::clicked, this, &namesel::Command7_Click);
    connect(WebBrowser2, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        // Only the course's own pages open here; nothing reaches the network.
        const QUrl target = WebBrowser2->document()->baseUrl().resolved(url);
        if (target.isLocalFile() && QFileInfo(target.toLocalFile()).isFile()) {
            QFile page(target.toLocalFile());
            if (page.open(QIODevice::ReadOnly)) {
                WebBrowser2->document()->setBaseUrl(target);
                WebBrowser2->setHtml(decodeHtmlPage(page.readAll()));
            }
        }
    });

    // Keys reach the window before its controls, wherever the focus is.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    resize(Picture12->size());
}

bool namesel::Form_Load()
{
    showNotice();
    setBackColor(this, state_.SeasonBackColor);
    setBackColor(Picture5, state_.SeasonBackColor);
    Picture5->setGeometry(rect());
    Picture5->raise();
    if (state_.services.random && state_.services.clock)
        state_.services.random->seed(static_cast<quint32>(state_.services.clock->secondsSinceMidnight()));
    if (refuseSecondInstance(state_)) {
        ending_ = true;
        return false;
    }
    showMainScreen(this);
    DisplayMode_ = DisplayMode::RunsTodayAndSoFar;
    {
        const QSignalBlocker quiet(Option1[0]);
        Option1[0]->setChecked(true);
    }
    if (!buildNameList())
        return false;
    QFont title = Label4->font();
    title.setPointSize(48);
    Label4->setFont(title);
    Label4->setText(state_.course.SoftwareName);
    // Found once at start-up; shown on every visit until it is mended.
    QStringList notices;
    if (!state_.shareSafety.safe)
        notices << state_.shareSafety.reason;
    if (!state_.setAsideResultsCopies.isEmpty())
        notices << setAsideNotice(state_.setAsideResultsCopies);
    ShareWarning->setText(QStringLiteral("【先生へ】") + notices.join(QStringLiteral("\n【先生へ】")));
    ShareWarning->setVisible(!notices.isEmpty());
    List1->setCurrentRow(0);
    QCoreApplication::processEvents();
    Picture5->hide();
    Form_Activate();
    return !ending_;
}

void namesel::Form_Activate()
{
    if (ending_)
        return;
    QCoreApplication::processEvents();
    // The filter box starts afresh; it is filled before the list is rebuilt
    // so that list and box always show the same filter.
    Combo1->clear();
    Combo1->addItems(gradeFilters());
    Combo1->setCurrentIndex(0);
    state_.SelectedGradeFilter = gradeFilters().first();
    DisplayMode_ = DisplayMode::PointsTodayAndSoFar;
    {
        const QSignalBlocker quiet(Option1[1]);
        Option1[1]->setChecked(true);
    }
    Option1_Click(1);
    if (ending_)
        return;
    // The level screen this one replaces is closed by the navigator.
    Label1->setText(kPrompt);
    QCoreApplication::processEvents();
    Picture5->hide();
}

bool namesel::buildNameList()
{
    NameList list;
    try {
        list = vc::buildNameList(state_, DisplayMode_, Combo1->currentText());
    } catch (const DataError& e) {
        ending_ = true;
        if (state_.services.messages)
            state_.services.messages->show(e.message(), QStringLiteral("エラー"), MessageService::Buttons::Ok,
                                           MessageService::Icon::Critical);
        if (state_.services.navigator)
            state_.services.navigator->quitProgram(1);
        return false;
    }
    List1->clear();
    List2->clear();
    List3->clear();
    List1->addItems(list.List1);
    List2->addItems(list.List2);
    List3->addItems(list.List3);
    List1->setCurrentRow(0);
    return true;
}

void namesel::showNotice()
{
    const QString path = state_.paths.CourseFolder + QStringLiteral("PageName.htm");
    QFile page(path);
    if (!page.open(QIODevice::ReadOnly)) {
        WebBrowser2->clear();
        return;
    }
    WebBrowser2->setSearchPaths({state_.paths.CourseFolder});
    WebBrowser2->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    WebBrowser2->setHtml(decodeHtmlPage(page.readAll()));
}

void namesel::List1_Click()
{
    const int row = List1->currentRow();
    if (row <= 0) {
        Label1->setText(kPrompt);
        return;
    }
    Label1->setText(trimSpaces(List1->item(row)->text().left(10)));
    if (row - 1 < List3->count()) {
        const QString carried = List3->item(row - 1)->text();
        Label2->setText(carried.mid(carried.indexOf(u'*') + 1));
    }
}

void namesel::List1_DblClick()
{
    List1_Click();
    const int row = List1->currentRow();
    if (row > 0) {
        const QString line = List1->item(row)->text();
        Label1->setText(line.left(line.indexOf(u'/')));
    }
    Command14_Click();
}

void namesel::Combo1_Click()
{
    state_.SelectedGradeFilter = Combo1->currentText();
    if (!buildNameList())
        return;
    List1->setFocus();
}

void namesel::Option1_Click(int index)
{
    DisplayMode_ = static_cast<DisplayMode>(index);
    buildNameList();
}

void namesel::Command14_Click()
{
    const QString chosen = Label1->text();
    bool numbered = false;
    const int number = Label2->text().toInt(&numbered);
    if (chosen.isEmpty() || chosen == kPrompt || !numbered || number < 0 || number > kMaxStudent) {
        if (playCategoryCue(state_, kWrongAnswerCue) == CueResult::ProgramEnds) {
            ending_ = true;
            return;
        }
        state_.FirstVisitFlag = 1;
        return;
    }
    const double seconds = state_.services.clock ? state_.services.clock->secondsSinceMidnight() : 0.0;
    state_.LoginTime = static_cast<qint32>(std::nearbyint(seconds));
    state_.CurrentStudentNumber = static_cast<qint16>(number);
    state_.CurrentStudentName = state_.roster.StudentNames[static_cast<size_t>(number)];
    state_.CurrentStudentClass = state_.roster.StudentClasses[static_cast<size_t>(number)];
    Command14->hide();
    Picture5->setGeometry(rect());
    Picture5->show();
    Picture5->raise();
    QCoreApplication::processEvents();
    // Set before the course starts: the level screen reads it when it opens.
    state_.FirstVisitFlag = 1;
    startCourse(state_);
}

void namesel::Command7_Click()
{
    returnToLauncher(state_);
}

void namesel::Label4_Click()
{
    frmver dialog(state_, this);
    dialog.adjustSize();
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    dialog.move(origin.x() + (width() - dialog.width()) / 2, origin.y() + (height() - dialog.height()) / 2);
    dialog.exec();
    // Closing the dialog makes this window the active one again.
    Form_Activate();
}

bool namesel::windowKey(const QString& text)
{
    if (text == u'1' && Command14->isVisible()) {
        Command14_Click();
        return true;
    }
    if (text == u'0' && Command7->isVisible()) {
        Command7_Click();
        return true;
    }
    return false;
}

void namesel::keyPressEvent(QKeyEvent* event)
{
    if (windowKey(event->text()))
        return;
    QWidget::keyPressEvent(event);
}

bool namesel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (windowKey(key->text()))
            return true;
        if (watched == List1 && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            Command14_Click();
            return true;
        }
    }
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease) {
        Label4_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void namesel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Centred in the window, which fills the screen.
    Picture12->move(std::max(0, (width() - Picture12->width()) / 2), std::max(0, (height() - Picture12->height()) / 2));
    Picture5->setGeometry(rect());
}

} // namespace vc
