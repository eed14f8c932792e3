#include "flashcards/frmfrush.h"

#include "coursetable/coursetable.h"
#include "flashcards/history.h"
#include "platform/qtfonts.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/fieldlist.h"
#include "platform/messages.h"
#include "platform/qtchoice.h"
#include "platform/random.h"
#include "platform/timer.h"
#include "printing/paintersurface.h"
#include "printing/printjob.h"
#include "records/logs.h"
#include "startup/appstate.h"
#include "startup/navigator.h"
#include "startup/screens.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>

namespace vc {
namespace {

// The main panel in pixels. The print and history panels lie beside the
// selection panel, so the word choice can change while they are open.
constexpr int kPanelWidth = 1000;
constexpr int kPanelHeight = 700;
constexpr int kSelectionLeft = 10, kSelectionTop = 60, kSelectionWidth = 370, kSelectionHeight = 520;
constexpr int kSideLeft = 392;  // the card area, and the print and history panels
constexpr int kSideWidth = kPanelWidth - kSideLeft - 8;
constexpr int kSidePanelHeight = 600;
constexpr int kButtonsTop = 640;

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, int pixels, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(uiFont(pixels, bold));
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int pixels = 15)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFont(uiFont(pixels));
    return button;
}

QFrame* makePanel(QWidget* parent, const QString& name)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    return frame;
}

QLineEdit* makeEdit(QWidget* parent, const QString& name, const QString& text)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setFont(uiFont(15));
    return edit;
}

std::vector<int> selectedRows(const QListWidget* list)
{
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows.push_back(i);
    return rows;
}

const QString kTitle = QStringLiteral("音声フラッシュ練習");

} // namespace

FrmFrush::FrmFrush(AppState& state, TimerFactory* timers, QWidget* parent) : QWidget(parent), state_(state), timers_(timers)
{
    setObjectName(QStringLiteral("FrmFrush"));
    setWindowTitle(kTitle);
    if (!timers_) {
        ownTimers_ = std::make_unique<QtTimerFactory>();
        timers_ = ownTimers_.get();
    }
    Picture3 = new QWidget(this);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->resize(kPanelWidth, kPanelHeight);
    auto* title = makeLabel(Picture3, QStringLiteral("Label7"), kTitle, 26, true);
    title->setGeometry(kSelectionLeft, 8, 360, 40);
    buildSelection();
    buildCards();
    buildPrintPanel();
    buildHistoryPanel();
    resize(Picture3->size());
}

FrmFrush::~FrmFrush() = default;

void FrmFrush::buildSelection()
{
    Picture7 = makePanel(Picture3, QStringLiteral("Picture7"));
    Picture7->setGeometry(kSelectionLeft, kSelectionTop, kSelectionWidth, kSelectionHeight);
    makeLabel(Picture7, QStringLiteral("Label11"), QStringLiteral("p"), 15, true)->setGeometry(8, 4, 60, 22);
    makeLabel(Picture7, QStringLiteral("Label12"), QStringLiteral("word"), 15, true)->setGeometry(84, 4, 200, 22);
    List4 = new QListWidget(Picture7);
    List4->setObjectName(QStringLiteral("List4"));
    List4->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List4->setFont(listFont(14));
    List4->setGeometry(6, 28, 72, kSelectionHeight - 34);
    List1 = new QListWidget(Picture7);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List1->setFont(listFont(13));
    List1->setGeometry(82, 28, kSelectionWidth - 88, kSelectionHeight - 34);
    connect(List4, &QListWidget::itemSelectionChanged, this, &FrmFrush::List4_Click);
    connect(List1, &QListWidget::itemSelectionChanged, this, &FrmFrush::List1_Click);

    // The deck takes the selection panel's place while the cards run.
    List2 = new QListWidget(Picture3);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setFont(listFont(15));
    List2->setGeometry(Picture7->geometry());
    List2->setFocusPolicy(Qt::NoFocus);
    List2->lower();

    Label6 = makeLabel(Picture3, QStringLiteral("Label6"), QString(), 14);
    Label6->setGeometry(kSelectionLeft, kSelectionTop + kSelectionHeight + 4, kSelectionWidth, 44);
    Label6->setWordWrap(true);
    Label4 = makeLabel(Picture3, QStringLiteral("Label4"), QStringLiteral("学習したい単語を選びスタートを押しなさい"), 15, true);
    Label4->setGeometry(kSelectionLeft, kSelectionTop + kSelectionHeight + 50, kSelectionWidth + 20, 26);
    Label4->setStyleSheet(QStringLiteral("color: #b00000;"));
}

void FrmFrush::buildCards()
{
    Label3 = makeLabel(Picture3, QStringLiteral("Label3"), QStringLiteral("---"), 22, true);
    Label3->setGeometry(kSideLeft, 60, 160, 34);
    Label5 = makeLabel(Picture3, QStringLiteral("Label5"), QString(), 16);
    Label5->setGeometry(kSideLeft + 170, 60, kSideWidth - 170, 34);
    Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (auto* face : {&Label1, &Label2}) {
        *face = makeLabel(Picture3, face == &Label1 ? QStringLiteral("Label1") : QStringLiteral("Label2"), QString(), face == &Label1 ? 44 : 38, true);
        (*face)->setAlignment(Qt::AlignCenter);
        (*face)->setWordWrap(true);
        (*face)->setFrameShape(QFrame::Box);
        (*face)->setAutoFillBackground(true);
        (*face)->setStyleSheet(QStringLiteral("background: white; color: #102060;"));
    }
    Label1->setGeometry(kSideLeft, 100, kSideWidth, 130);
    Label2->setGeometry(kSideLeft, 240, kSideWidth, 130);
    Command7 = makeButton(Picture3, QStringLiteral("Command7"), QStringLiteral("この語句覚えた"), 17);
    Command7->setGeometry(kSideLeft, 382, 200, 40);
    Label8 = makeLabel(Picture3, QStringLiteral("Label8"), QStringLiteral("覚えたら押しなさい。"), 15);
    Label8->setGeometry(kSideLeft + 210, 382, 240, 40);

    Picture1 = makePanel(Picture3, QStringLiteral("Picture1"));
    Picture1->setGeometry(kSideLeft, 436, 290, 120);
    const QString modes[] = {QString(), QStringLiteral("英語→日本語"), QStringLiteral("日本語→英語"), QStringLiteral("音声→日本語英語")};
    for (int i = 1; i <= 3; ++i) {
        auto* option = new QRadioButton(modes[i], Picture1);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setFont(uiFont(16));
        option->setGeometry(12, 8 + (i - 1) * 36, 270, 32);
        Option1[static_cast<size_t>(i)] = option;
        onChosen(option, this, [this, i] { Option1_Click(i); });
    }
    Picture2 = makePanel(Picture3, QStringLiteral("Picture2"));
    Picture2->setGeometry(kSideLeft + 300, 436, kSideWidth - 300, 120);
    const QString speeds[] = {QStringLiteral("遅い"), QStringLiteral("ふつう"), QStringLiteral("速い"), QStringLiteral("最速")};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(speeds[i], Picture2);
        option->setObjectName(QStringLiteral("Option2_%1").arg(i));
        option->setFont(uiFont(16));
        option->setGeometry(12 + (i % 2) * 140, 14 + (i / 2) * 50, 130, 36);
        Option2[static_cast<size_t>(i)] = option;
        onChosen(option, this, [this, i] { Option2_Click(i); });
    }

    Command6 = makeButton(Picture3, QStringLiteral("Command6"), QStringLiteral("スタート"), 18);
    Command6->setGeometry(kSideLeft, 566, 200, 48);
    Command5 = makeButton(Picture3, QStringLiteral("Command5"), QStringLiteral("番号変更"), 16);
    Command5->setGeometry(kSideLeft, 566, 200, 48);
    Command10 = makeButton(Picture3, QStringLiteral("Command10"), QStringLiteral("印刷へ"));
    Command10->setGeometry(kSideLeft, kButtonsTop, 150, 40);
    Command16 = makeButton(Picture3, QStringLiteral("Command16"), QStringLiteral("今までのデータ"));
    Command16->setGeometry(kSideLeft + 160, kButtonsTop, 170, 40);
    Command3 = makeButton(Picture3, QStringLiteral("Command3"), QStringLiteral("練習終わり"));
    Command3->setGeometry(kPanelWidth - 8 - 150, kButtonsTop, 150, 40);

    connect(Command6, &QPushButton::clicked, this, &FrmFrush::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &FrmFrush::Command7_Click);
    connect(Command5, &QPushButton::clicked, this, &FrmFrush::Command5_Click);
    connect(Command3, &QPushButton::clicked, this, &FrmFrush::Command3_Click);
    connect(Command10, &QPushButton::clicked, this, &FrmFrush::Command10_Click);
    connect(Command16, &QPushButton::clicked, this, &FrmFrush::Command16_Click);
}

void FrmFrush::buildPrintPanel()
{
    Picture4 = makePanel(Picture3, QStringLiteral("Picture4"));
    Picture4->setGeometry(kSideLeft, 0, kSideWidth, kSidePanelHeight + 30);
    // The settings in three rows above the preview, which takes the panel's width.
    makeLabel(Picture4, QStringLiteral("Label13"), QStringLiteral("見出し"), 14)->setGeometry(10, 8, 50, 30);
    Text4 = makeEdit(Picture4, QStringLiteral("Text4"), QString());
    Text4->setGeometry(62, 8, 210, 30);
    Command18 = makeButton(Picture4, QStringLiteral("Command18"), QStringLiteral("記録"));
    Command18->setGeometry(278, 7, 70, 32);
    makeLabel(Picture4, QStringLiteral("Label14"), QStringLiteral("部数"), 14)->setGeometry(364, 8, 36, 30);
    Text2 = makeEdit(Picture4, QStringLiteral("Text2"), QStringLiteral("1"));
    Text2->setGeometry(402, 8, 48, 30);
    Command14 = makeButton(Picture4, QStringLiteral("Command14"), QStringLiteral("印刷から戻る"));
    Command14->setGeometry(kSideWidth - 136, 7, 124, 32);
    Check1 = new QCheckBox(QStringLiteral("並べ替え"), Picture4);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setFont(uiFont(15));
    Check1->setGeometry(10, 46, 110, 30);
    makeLabel(Picture4, QStringLiteral("Label15"), QStringLiteral("センター位置調整"), 14)->setGeometry(140, 46, 124, 30);
    Text3 = makeEdit(Picture4, QStringLiteral("Text3"), QStringLiteral("0"));
    Text3->setGeometry(266, 46, 70, 30);
    Command8[1] = makeButton(Picture4, QStringLiteral("Command8_1"), QStringLiteral("全部同じ"));
    Command8[1]->setGeometry(10, 84, 150, 36);
    Command11 = makeButton(Picture4, QStringLiteral("Command11"), QStringLiteral("全部ばらばら"));
    Command11->setGeometry(170, 84, 150, 36);
    Command11->hide();
    Command13 = makeButton(Picture4, QStringLiteral("Command13"), QStringLiteral("問題用紙も印刷"));
    Command13->setGeometry(330, 84, 170, 36);

    previewScroll_ = new QScrollArea(Picture4);
    previewScroll_->setObjectName(QStringLiteral("previewScroll"));
    previewScroll_->setGeometry(6, 128, kSideWidth - 12, kSidePanelHeight + 30 - 134);
    previewScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    previewScroll_->setBackgroundRole(QPalette::Dark);
    previewScroll_->setAlignment(Qt::AlignHCenter);
    Picture5 = new QLabel;
    Picture5->setObjectName(QStringLiteral("Picture5"));
    previewScroll_->setWidget(Picture5);
    Picture4->hide();

    connect(Command18, &QPushButton::clicked, this, &FrmFrush::Command18_Click);
    onChosen(Check1, this, [this] { Check1_Click(); });
    connect(Command8[1], &QPushButton::clicked, this, [this] { Command8_Click(1); });
    connect(Command11, &QPushButton::clicked, this, &FrmFrush::Command11_Click);
    connect(Command13, &QPushButton::clicked, this, &FrmFrush::Command13_Click);
    connect(Command14, &QPushButton::clicked, this, &FrmFrush::Command14_Click);
    connect(Text3, &QLineEdit::textChanged, this, &FrmFrush::Text3_Change);
}

void FrmFrush::buildHistoryPanel()
{
    Picture6 = makePanel(Picture3, QStringLiteral("Picture6"));
    Picture6->setGeometry(kSideLeft, 0, kSideWidth, kSidePanelHeight + 30);
    Label10 = makeLabel(Picture6, QStringLiteral("Label10"), QString(), 14);
    Label10->setGeometry(10, 8, kSideWidth - 20, 24);
    Check2 = new QCheckBox(QStringLiteral("間違いのみ"), Picture6);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setFont(uiFont(15));
    Check2->setGeometry(10, 36, 160, 28);
    Check2->setChecked(true);
    Command17 = makeButton(Picture6, QStringLiteral("Command17"), QStringLiteral("戻る"));
    Command17->setGeometry(kSideWidth - 120, 34, 110, 32);
    List3 = new QListWidget(Picture6);
    List3->setObjectName(QStringLiteral("List3"));
    List3->setFont(listFont(13));
    List3->setGeometry(10, 72, kSideWidth - 20, kSidePanelHeight - 50);
    Picture6->hide();
    onChosen(Check2, this, [this] { Check2_Click(); });
    connect(Command17, &QPushButton::clicked, this, &FrmFrush::Command17_Click);
}

void FrmFrush::Form_Load()
{
    setBackColor(this, state_.SeasonBackColor);
    Label6->setText(QStringLiteral("p を選択してください。") + u'\n' + QStringLiteral("word は一部のみ選択しなおすこともできます"));
    try {
        heading_ = readHeading(headingFilePath(state_.paths.CourseFolder));
    } catch (const DataError& e) {
        // The sheets still print under the default heading.
        heading_ = kDefaultHeading;
        showError(e.message());
    }
    Text4->setText(heading_);
    cycle_ = std::make_unique<CardCycle>(state_.services.voices, *timers_);
    cycle_->setChanged([this] { refresh(); });
    cycle_->setFocusRequest([this] {
        if (Command7->isVisible() || !isVisible())
            Command7->setFocus();
    });
    {
        const QSignalBlocker quiet1(Option1[2]);
        const QSignalBlocker quiet2(Option2[2]);
        Option1[2]->setChecked(true);
        Option2[2]->setChecked(true);  // shown; C = 1, S = 0.8 stay until a speed is clicked
    }
    const WordList words = readWords();
    cycle_->loadWordList(words);
    {
        const QSignalBlocker quiet4(List4);
        const QSignalBlocker quiet1(List1);
        List4->clear();
        List4->addItems(cycle_->unitList());
        List1->clear();
        List1->addItems(cycle_->wordRows());
    }
    refresh();
}

WordList FrmFrush::readWords()
{
    // Read afresh as the drill does; the table read at start-up stands in
    // when the file cannot be read now.
    CourseTable table;
    try {
        readScrambledTable(state_.paths.ProgramFolder + QStringLiteral("E0002.csv"), table);
        return wordListFromTable(table);
    } catch (const DataError& e) {
        showError(e.message());
        return wordListFromTable(state_.courseTable);
    }
}

void FrmFrush::showError(const QString& message)
{
    if (state_.services.messages)
        state_.services.messages->show(message, kTitle, MessageService::Buttons::Ok, MessageService::Icon::Warning);
}

Random& FrmFrush::random()
{
    if (state_.services.random)
        return *state_.services.random;
    if (!ownRandom_)
        ownRandom_ = std::make_unique<SystemRandom>();
    return *ownRandom_;
}

void FrmFrush::refresh()
{
    if (!cycle_)
        return;
    const FlashScreen& s = cycle_->screen();
    Label1->setText(s.Label1);
    Label2->setText(s.Label2);
    Label3->setText(s.Label3);
    Label5->setText(s.Label5);
    Command6->setVisible(s.Command6Visible);
    Command5->setVisible(s.Command5Visible);
    Command5->setEnabled(s.Command5Enabled);
    Command7->setVisible(s.Command7Visible);
    Command7->setEnabled(s.Command7Enabled);
    Label8->setVisible(s.Label8Visible);
    Picture7->setVisible(s.Picture7Visible);
    List2->setVisible(!s.Picture7Visible);
    Label6->setVisible(s.Label6Visible);
    Label4->setVisible(s.Label4Visible);
    Command10->setVisible(s.Command10Visible && !printOpen_ && !historyOpen_);
    Command16->setVisible(!printOpen_ && !historyOpen_);
    if (cycle_->deck() != shownDeck_) {
        shownDeck_ = cycle_->deck();
        List2->clear();
        List2->addItems(shownDeck_);
    }
    // The card on show is marked in the deck.
    const int row = shownDeck_.indexOf(cycle_->current());
    if (row >= 0 && !s.Picture7Visible)
        List2->setCurrentRow(row);
    else
        List2->clearSelection();
}

// ---- Word selection and the card cycle ---------------------------------------

void FrmFrush::List4_Click()
{
    if (!cycle_)
        return;
    cycle_->chooseUnits(readWords(), selectedRows(List4));
    {
        const QSignalBlocker quiet(List1);
        List1->clear();
        List1->addItems(cycle_->wordRows());
        List1->selectAll();
    }
    refresh();
    if (printOpen_)
        Command8_Click(0);
    if (historyOpen_)
        fillHistory();
}

void FrmFrush::List1_Click()
{
    if (!cycle_)
        return;
    cycle_->chooseWords(selectedRows(List1));
    refresh();
    if (printOpen_)
        Command8_Click(0);
}

void FrmFrush::Option1_Click(int mode)
{
    if (cycle_)
        cycle_->Option1_Click(mode);
}

void FrmFrush::Option2_Click(int index)
{
    if (cycle_)
        cycle_->Option2_Click(index);
}

void FrmFrush::Command6_Click()
{
    if (cycle_)
        cycle_->Command6_Click();
}

void FrmFrush::Command7_Click()
{
    if (cycle_)
        cycle_->Command7_Click();
}

void FrmFrush::Command5_Click()
{
    if (cycle_)
        cycle_->Command5_Click();
}

void FrmFrush::Command3_Click()
{
    if (state_.services.navigator)
        state_.services.navigator->openLevelScreen();
    else
        close();
}

void FrmFrush::closeEvent(QCloseEvent* event)
{
    // Unloading stops the timers and releases the voice, cutting off its speech.
    cycle_.reset();
    QWidget::closeEvent(event);
}

void FrmFrush::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Picture3->move(std::max(0, (width() - Picture3->width()) / 2), std::max(0, (height() - Picture3->height()) / 2));
}

// ---- Print panel -------------------------------------------------------------

void FrmFrush::Command10_Click()
{
    printOpen_ = true;
    Picture4->raise();
    Picture4->show();
    refresh();
    Command8_Click(0);
}

void FrmFrush::Command14_Click()
{
    printOpen_ = false;
    Picture4->hide();
    refresh();
}

void FrmFrush::Command18_Click()
{
    heading_ = Text4->text();
    try {
        writeHeading(headingFilePath(state_.paths.CourseFolder), heading_);
    } catch (const DataError& e) {
        // The heading still prints until the screen closes.
        showError(e.message());
    }
    Command8_Click(0);
}

void FrmFrush::Check1_Click()
{
    Command8_Click(0);
    Command11->setVisible(Check1->isChecked());
}

void FrmFrush::Text3_Change()
{
    if (!foldAdjustmentInRange(leadingNumber(Text3->text())) && state_.services.messages)
        state_.services.messages->show(kFoldRangeMessage, kTitle, MessageService::Buttons::Ok, MessageService::Icon::Warning);
}

SheetOptions FrmFrush::sheetOptions() const
{
    SheetOptions o;
    o.heading = heading_.isEmpty() ? kDefaultHeading : heading_;
    o.date = state_.services.clock ? state_.services.clock->today() : QDate::currentDate();
    o.shuffle = Check1->isChecked();
    o.fold = leadingNumber(Text3->text());
    return o;
}

void FrmFrush::Command8_Click(int index)
{
    if (!cycle_)
        return;
    if (index == 1) {
        int copies = copiesFromText(Text2->text());
        if (copies == 0) {
            Text2->setText(QStringLiteral("1"));
            copies = 1;
        }
        print(QStringLiteral("単語シート"), [&](DrawingSurface& paper) {
            printSameSheets(paper, copies, sheet_, cycle_->deckCards(), sheetOptions(), random());
        });
        return;
    }
    // The preview: the drawable area of the pages the print service prints.
    const QSizeF area = state_.services.printing ? state_.services.printing->drawableArea() : pdfDrawableArea();
    const int pixels = std::max(200, previewScroll_->width() - previewScroll_->verticalScrollBar()->sizeHint().width() - 6);
    ImageSurface surface(area.width(), area.height(), pixels);
    SheetOptions options = sheetOptions();
    options.toPaper = false;
    const auto show = [&] {
        previewImage_ = surface.image().copy();
        Picture5->setPixmap(QPixmap::fromImage(previewImage_));
        Picture5->resize(previewImage_.size());
    };
    drawWordSheet(surface, sheet_, cycle_->deckCards(), options, random(), [&] {
        show();
        if (!state_.services.messages)
            return true;
        return state_.services.messages->show(QStringLiteral("次のページへ"), kTitle, MessageService::Buttons::OkCancel,
                                              MessageService::Icon::Question) == MessageService::Answer::Ok;
    });
    show();
}

void FrmFrush::print(const QString& what, const std::function<void(DrawingSurface&)>& draw)
{
    if (!state_.services.printing)
        return;
    std::unique_ptr<PrintJob> job = state_.services.printing->startJob(what);
    draw(*job);
    job->endDocument();
    if (state_.services.messages)
        tellPrintOutcome(*state_.services.messages, job->outcome());
}

void FrmFrush::Command11_Click()
{
    if (!cycle_)
        return;
    const int copies = copiesFromText(Text2->text());
    if (copies < 1)
        return;
    print(QStringLiteral("単語シート"), [&](DrawingSurface& paper) {
        printSeparateSheets(paper, copies, sheet_, cycle_->deckCards(), sheetOptions(), random(),
                            [] { QCoreApplication::processEvents(); });
    });
}

void FrmFrush::Command13_Click()
{
    if (!cycle_)
        return;
    const int copies = copiesFromText(Text2->text());
    if (copies < 1)
        return;
    print(QStringLiteral("単語シートと問題用紙"), [&](DrawingSurface& paper) {
        printSheetsWithQuestions(paper, copies, sheet_, cycle_->deckCards(), sheetOptions(), random(),
                                 [] { QCoreApplication::processEvents(); });
    });
}

// ---- History panel -----------------------------------------------------------

void FrmFrush::Command16_Click()
{
    historyOpen_ = true;
    fillHistory();
    Picture6->raise();
    Picture6->show();
    refresh();
}

void FrmFrush::Command17_Click()
{
    historyOpen_ = false;
    Picture6->hide();
    refresh();
}

void FrmFrush::Check2_Click() { fillHistory(); }

void FrmFrush::fillHistory()
{
    if (!cycle_)
        return;
    Label10->setText(historyCaption(state_.CurrentStudentNumber));
    QStringList units;
    for (int row : selectedRows(List4))
        units.append(List4->item(row)->text());
    const HistoryRows history = readHistory(answerLogPath(state_.paths.CourseFolder, state_.CurrentStudentNumber), units, Check2->isChecked());
    List3->clear();
    List3->addItems(history.rows);
    if (!history.error.isEmpty())
        showError(history.error);
}

} // namespace vc
