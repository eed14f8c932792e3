#include "admin/frmdata.h"

#include "platform/qtfonts.h"
#include "platform/qtscreenscale.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "records/resultsfile.h"
#include "startup/appstate.h"
#include "startup/navigator.h"
#include "startup/screens.h"
#include "students/roster.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardPaths>

namespace vc {
namespace {

constexpr int kPanelWidth = 1000;
constexpr int kPanelHeight = 720;
constexpr unsigned kPanelColour = 0xF0E8E0;   // 0xBBGGRR
constexpr unsigned kEditorColour = 0xE0F0FF;

const QString kTitle = QStringLiteral("注意");

} // namespace

FrmData::FrmData(AppState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("FrmData"));
    setWindowTitle(QStringLiteral("データ変更"));
    exportFolder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Vocarimo");

    mainPanel_ = new QWidget(this);
    mainPanel_->setObjectName(QStringLiteral("mainPanel"));
    mainPanel_->resize(kPanelWidth, kPanelHeight);
    setBackColor(mainPanel_, kPanelColour);

    auto* title = makeLabel(mainPanel_, QStringLiteral("Label3"), QString(), {16, 8, 500, 30}, 22, true);
    title->setText(QStringLiteral("成績データの変更・消去"));
    Label5 = makeLabel(mainPanel_, QStringLiteral("Label5"), QString(), {520, 12, 460, 24}, 16);
    Label5->setText(QStringLiteral("ダブルクリックすると変更、消去できます"));
    Label5->setStyleSheet(QStringLiteral("color: #c00000;"));

    List1 = new QListWidget(mainPanel_);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(listFont(14));
    List1->setGeometry(16, 44, 700, 660);
    List1->setUniformItemSizes(true);
    connect(List1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { List1_DblClick(List1->row(item)); });
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });

    // The editor.
    Picture3 = new QFrame(mainPanel_);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    static_cast<QFrame*>(Picture3)->setFrameShape(QFrame::Box);
    setBackColor(Picture3, kEditorColour);
    Picture3->setGeometry(730, 44, 254, 360);
    auto* numberCaption = makeLabel(Picture3, QStringLiteral("Label4"), QString(), {12, 10, 80, 26}, 16);
    numberCaption->setText(QStringLiteral("記録番号"));
    Label1 = makeLabel(Picture3, QStringLiteral("Label1"), QString(), {96, 10, 146, 26}, 18, true);
    Label2_1 = makeLabel(Picture3, QStringLiteral("Label2_1"), QString(), {12, 42, 230, 26}, 18);
    Label2_2 = makeLabel(Picture3, QStringLiteral("Label2_2"), QString(), {12, 72, 230, 26}, 18);
    Combo1 = new QComboBox(Picture3);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setFont(uiFont(16));
    Combo1->setGeometry(12, 108, 230, 30);
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    Label2_4 = makeLabel(Picture3, QStringLiteral("Label2_4"), QString(), {12, 144, 230, 26}, 18);
    Text1_1 = new QLineEdit(Picture3);
    Text1_1->setObjectName(QStringLiteral("Text1_1"));
    Text1_1->setFont(uiFont(20));
    Text1_1->setAlignment(Qt::AlignRight);
    Text1_1->setGeometry(12, 180, 120, 36);
    auto* secondsCaption = makeLabel(Picture3, QStringLiteral("Label6"), QString(), {136, 186, 30, 26}, 18);
    secondsCaption->setText(QStringLiteral("秒"));
    VScroll1 = new QScrollBar(Qt::Vertical, Picture3);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    // Every value a record can hold, a time-out (99999) included; one step a second.
    VScroll1->setRange(0, 99999);
    VScroll1->setInvertedAppearance(true);
    VScroll1->setInvertedControls(true);
    VScroll1->setGeometry(172, 176, 20, 44);
    connect(VScroll1, &QScrollBar::valueChanged, this, &FrmData::VScroll1_Change);
    Command2 = makeButton(Picture3, QStringLiteral("Command2"), QStringLiteral("変更して記録"), {12, 240, 230, 44});
    Command3 = makeButton(Picture3, QStringLiteral("Command3"), QStringLiteral("消去"), {12, 298, 230, 44});
    connect(Command2, &QPushButton::clicked, this, &FrmData::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FrmData::Command3_Click);
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    Picture3->hide();

    Command5 = makeButton(mainPanel_, QStringLiteral("Command5"), QStringLiteral("CSV保存"), {780, 560, 160, 48});
    Command4 = makeButton(mainPanel_, QStringLiteral("Command4"), QStringLiteral("戻る"), {780, 640, 160, 48});
    connect(Command5, &QPushButton::clicked, this, &FrmData::Command5_Click);
    connect(Command4, &QPushButton::clicked, this, &FrmData::Command4_Click);

    Picture1 = new QLabel(QStringLiteral("Just a moment, please."), this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    static_cast<QLabel*>(Picture1)->setAlignment(Qt::AlignCenter);
    Picture1->setFont(uiFont(28, true));
    setBackColor(Picture1, 0xFFFFFF);
    Picture1->hide();

    resize(kPanelWidth, kPanelHeight);
}

void FrmData::Form_Load()
{
    setBackColor(this, state_.SeasonBackColor);
    showMainScreen(this);
    buildResultsList();
}

void FrmData::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    mainPanel_->move(std::max(0, (width() - mainPanel_->width()) / 2), std::max(0, (height() - mainPanel_->height()) / 2));
    Picture1->setGeometry(rect());
}

QString FrmData::resultsPath() const
{
    return resultsFilePath(state_.paths.CourseFolder);
}

AdminSchool FrmData::school() const
{
    return {state_.settings.SchoolCode, state_.settings.SchoolName};
}

void FrmData::showError(const QString& text)
{
    if (state_.services.messages)
        state_.services.messages->show(text, QStringLiteral("エラー"), MessageService::Buttons::Ok, MessageService::Icon::Warning);
}

void FrmData::buildResultsList()
{
    const QDate today = state_.services.clock ? state_.services.clock->today() : QDate::currentDate();
    try {
        adminRosterPass(rosterPath(state_.paths), schoolYearOf(today, state_.settings.SchoolYearStartMonth), roster_);
    } catch (const DataError& e) {
        // The list still shows every run, without the names.
        showError(e.message());
    }
    {
        const QSignalBlocker block(Combo1);
        const QString text = Combo1->currentText();
        Combo1->clear();
        Combo1->addItems(roster_.choices);
        Combo1->setEditText(text);
    }
    List1->clear();
    try {
        // A deletion another computer left half done is finished first.
        if (recoverResultsFile(resultsPath()) == Recovery::SetAside)
            showError(setAsideNotice(setAsideCopies(resultsPath())));
        rows_ = buildAdminRows(resultsPath(), roster_, school());
    } catch (const DataError& e) {
        rows_.clear();
        showError(e.message());
    }
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(rows_.size()));
    for (const AdminRow& row : rows_)
        lines.append(row.line);
    // The number field is as wide as the largest number, so the text order
    // of the lines is the record order they are added in.
    List1->addItems(lines);
}

void FrmData::closeEditor()
{
    Picture3->hide();
    Command2->setEnabled(false);
    Command3->setEnabled(false);
}

void FrmData::listWasStale()
{
    if (state_.services.messages)
        state_.services.messages->show(QStringLiteral("この記録は、ほかのコンピューターで変更または消去されています。\n"
                                                      "何も変更していません。一覧を作り直しましたので、もう一度選んでください。"),
                                       kTitle, MessageService::Buttons::Ok, MessageService::Icon::Warning);
    closeEditor();
    buildResultsList();
}

void FrmData::List1_DblClick(int row)
{
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    rememberedRow_ = row + 1;
    try {
        if (!rowStillListed(resultsPath(), rows_[static_cast<size_t>(row)])) {
            listWasStale();
            return;
        }
    } catch (const DataError& e) {
        showError(e.message());
        return;
    }
    editing_ = rows_[static_cast<size_t>(row)];
    const AdminEditorTexts texts = adminEditorTexts(editing_, roster_);
    Label1->setText(texts.number);
    Command3->setEnabled(true);
    Command2->setEnabled(true);
    Label2_1->setText(texts.level);
    Label2_2->setText(texts.date);
    Label2_4->setText(texts.classLabel);
    {
        const QSignalBlocker block(VScroll1);
        VScroll1->setValue(editing_.record.seconds);
    }
    Text1_1->setText(texts.seconds);
    Combo1->setEditText(texts.student);
    Picture3->show();
}

void FrmData::List1_Click()
{
    Picture3->hide();
}

void FrmData::Combo1_Click()
{
    Label2_4->setText(classOfChoice(Combo1->currentText(), roster_));
}

void FrmData::VScroll1_Change(int value)
{
    Text1_1->setText(QString::number(value));
}

void FrmData::Command2_Click()
{
    if (editing_.number == 0)
        return;
    const std::optional<qint32> seconds = secondsOfText(Text1_1->text());
    if (!seconds) {
        if (state_.services.messages)
            state_.services.messages->show(QStringLiteral("秒数は 0 から 99999 までの整数で入力してください。"), kTitle);
        return;
    }
    const std::optional<qint16> student = studentOfChoice(Combo1->currentText());
    if (!student) {
        if (state_.services.messages)
            state_.services.messages->show(QStringLiteral("生徒を一覧から選んでください。"), kTitle);
        return;
    }
    try {
        if (saveAdminRow(resultsPath(), editing_, *student, *seconds) == RewriteOutcome::Stale) {
            listWasStale();
            return;
        }
    } catch (const DataError& e) {
        showError(e.message());
        return;
    }
    // The editor now holds the run as stored, so a second save checks against it.
    editing_.bytes = changedRecordBytes(editing_, *student, *seconds);
    editing_.record = decodeResultRecord(editing_.bytes.constData());
    buildResultsList();
    if (rememberedRow_ >= 1 && rememberedRow_ <= List1->count())
        List1->setCurrentRow(rememberedRow_ - 1);
}

void FrmData::Command3_Click()
{
    if (editing_.number == 0)
        return;
    if (state_.services.messages
        && state_.services.messages->show(QStringLiteral("本当に消去しますか"), kTitle, MessageService::Buttons::OkCancel,
                                          MessageService::Icon::Question)
               != MessageService::Answer::Ok)
        return;
    try {
        if (deleteAdminRow(resultsPath(), editing_) == RewriteOutcome::Stale) {
            listWasStale();
            return;
        }
    } catch (const DataError& e) {
        showError(e.message());
        return;
    }
    // The run is gone: nothing is left for the editor to change or delete.
    editing_ = {};
    closeEditor();
    buildResultsList();
    const int row = rowAfterDeletion(rememberedRow_, List1->count());
    if (row >= 0)
        List1->setCurrentRow(row);
}

void FrmData::Command4_Click()
{
    Picture1->raise();
    Picture1->show();
    QCoreApplication::processEvents();
    if (state_.services.navigator)
        state_.services.navigator->openLevelScreen();
}

void FrmData::Command5_Click()
{
    const QDateTime now = state_.services.clock ? QDateTime(state_.services.clock->today(), state_.services.clock->timeOfDay())
                                                : QDateTime::currentDateTime();
    try {
        const QString path = writeAdminCsv(exportFolder_, rows_, roster_, school(), state_.LevelNames, now);
        if (state_.services.messages)
            state_.services.messages->show(QStringLiteral("%1 件の記録を CSV ファイルに保存しました。\n%2").arg(rows_.size()).arg(path),
                                           QStringLiteral("CSV保存"), MessageService::Buttons::Ok, MessageService::Icon::Information);
    } catch (const DataError& e) {
        showError(e.message());
    }
}

} // namespace vc
