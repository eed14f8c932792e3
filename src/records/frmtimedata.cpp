#include "records/frmtimedata.h"

#include "platform/qtfonts.h"
#include "platform/qtscreenscale.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "records/distribution.h"
#include "records/resultsfile.h"
#include "startup/appstate.h"
#include "startup/navigator.h"
#include "startup/screens.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <cmath>
#include <optional>

namespace vc {
namespace {

constexpr int kPanelWidth = 1000;
constexpr int kPanelHeight = 740;
constexpr int kGridWidth = 600;
constexpr int kCellHeight = 16;
constexpr int kGridCells = 38;  // the grid is this many cells tall
constexpr unsigned kPanelColour = 0xF0E8E0;  // 0xBBGGRR
const QColor kChangedCell(255, 255, 0);

} // namespace

FrmTimeData::FrmTimeData(AppState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("FrmTimeData"));
    setWindowTitle(QStringLiteral("合格タイムデータ変更"));

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->resize(kPanelWidth, kPanelHeight);
    setBackColor(Picture1, kPanelColour);

    Label4 = makeLabel(Picture1, QStringLiteral("Label4"), QStringLiteral("合格タイムデータ変更"), {0, 0, kPanelWidth, 22}, 14);
    Label4->setStyleSheet(QStringLiteral("background: #30508c; color: white; padding-left: 8px;"));
    Label5 = makeLabel(Picture1, QStringLiteral("Label5"), QStringLiteral("成績の基準となるデータを変更できます"), {14, 28, 560, 30}, 20, true);

    MSFlexGrid1 = new QTableWidget(Picture1);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setFont(uiFont(12));
    MSFlexGrid1->setColumnCount(kGridColumns);
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->verticalHeader()->setMinimumSectionSize(kCellHeight);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(kCellHeight);
    // Narrow columns: the headings wrap onto two lines rather than being cut.
    MSFlexGrid1->horizontalHeader()->setFixedHeight(2 * kCellHeight);
    MSFlexGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    MSFlexGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1->horizontalHeader()->setMinimumSectionSize(8);
    MSFlexGrid1->horizontalHeader()->setFont(uiFont(11));
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    MSFlexGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSFlexGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MSFlexGrid1->setFocusPolicy(Qt::NoFocus);
    MSFlexGrid1->setGeometry(14, 62, kGridWidth, kGridCells * kCellHeight);
    connect(MSFlexGrid1, &QTableWidget::cellClicked, this, [this](int row, int column) { MSFlexGrid1_Click(row + 1, column); });
    // The edit box follows its cell when the grid scrolls.
    connect(MSFlexGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (Gridinputtext->isVisible())
            placeEditBox();
    });

    Gridinputtext = new QLineEdit(Picture1);
    Gridinputtext->setObjectName(QStringLiteral("Gridinputtext"));
    Gridinputtext->setFont(uiFont(12));
    Gridinputtext->setFrame(false);
    Gridinputtext->setTextMargins(2, 0, 0, 0);
    Gridinputtext->setStyleSheet(QStringLiteral("background: #fff8d0;"));
    Gridinputtext->installEventFilter(this);
    connect(Gridinputtext, &QLineEdit::textChanged, this, &FrmTimeData::storeEditBox);
    Gridinputtext->hide();

    const int right = 14 + kGridWidth + 14;
    const int rightWidth = kPanelWidth - right - 14;
    Label6 = makeLabel(Picture1, QStringLiteral("Label6"), QStringLiteral("列の説明"), {right, 30, rightWidth, 24}, 15, true);
    Label3 = makeLabel(Picture1, QStringLiteral("Label3"), QString(), {right, 54, rightWidth, 74}, 13);
    Label3->setFrameShape(QFrame::Box);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setWordWrap(true);
    Label3->setStyleSheet(QStringLiteral("background: white; padding: 3px;"));

    Picture3 = new QFrame(Picture1);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    static_cast<QFrame*>(Picture3)->setFrameShape(QFrame::Box);
    Picture3->setGeometry(right, 136, rightWidth, 498);
    // The two lists one above the other, so that long rows of stars fit.
    const int listWidth = rightWidth - 12;
    Label7 = makeLabel(Picture3, QStringLiteral("Label7"), QStringLiteral("現在までの成績度数分布"), {6, 4, rightWidth - 12, 24}, 15, true);
    Label9 = makeLabel(Picture3, QStringLiteral("Label9"), QStringLiteral("全成績"), {6, 30, listWidth, 20}, 14);
    Label10 = makeLabel(Picture3, QStringLiteral("Label10"), QStringLiteral("最高タイム"), {6, 262, listWidth, 20}, 14);
    List3 = new QListWidget(Picture3);
    List3->setObjectName(QStringLiteral("List3"));
    List4 = new QListWidget(Picture3);
    List4->setObjectName(QStringLiteral("List4"));
    for (QListWidget* list : {List3, List4}) {
        list->setFont(listFont(11));
        list->setUniformItemSizes(true);
        list->setFocusPolicy(Qt::NoFocus);
    }
    List3->setGeometry(6, 50, listWidth, 208);
    List4->setGeometry(6, 282, listWidth, 208);
    Option1_0 = new QRadioButton(QStringLiteral("度数表示"), Picture1);
    Option1_0->setObjectName(QStringLiteral("Option1_0"));
    Option1_1 = new QRadioButton(QStringLiteral("度数非表示"), Picture1);
    Option1_1->setObjectName(QStringLiteral("Option1_1"));
    Option1_0->setFont(uiFont(14));
    Option1_1->setFont(uiFont(14));
    Option1_0->setGeometry(right + 8, 640, 120, 24);
    Option1_1->setGeometry(right + 140, 640, 120, 24);
    Option1_0->setChecked(true);
    Option1_0->setFocusPolicy(Qt::NoFocus);
    Option1_1->setFocusPolicy(Qt::NoFocus);
    connect(Option1_0, &QRadioButton::toggled, this, [this](bool on) { if (on) Option1_Click(0); });
    connect(Option1_1, &QRadioButton::toggled, this, [this](bool on) { if (on) Option1_Click(1); });

    Label1 = makeLabel(Picture1, QStringLiteral("Label1"), QStringLiteral("スペース：セルクリア　　Shift + ↓：セルコピー"),
                       {14, 62 + kGridCells * kCellHeight + 8, kGridWidth, 24}, 15);
    Command3 = makeButton(Picture1, QStringLiteral("Command3"), QStringLiteral("更新記録"), {right, 676, 114, 44});
    Command2 = makeButton(Picture1, QStringLiteral("Command2"), QStringLiteral("元に戻す"), {right + 124, 676, 114, 44});
    Command4 = makeButton(Picture1, QStringLiteral("Command4"), QStringLiteral("戻る"), {right + 248, 676, rightWidth - 248, 44});
    for (QPushButton* b : {Command3, Command2, Command4})
        b->setFocusPolicy(Qt::NoFocus);  // typing always stays in the edit box
    connect(Command3, &QPushButton::clicked, this, &FrmTimeData::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmTimeData::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &FrmTimeData::Command4_Click);

    Picture6 = new QLabel(QStringLiteral("Just a moment,please."), this);
    Picture6->setObjectName(QStringLiteral("Picture6"));
    Picture6->setAlignment(Qt::AlignCenter);
    Picture6->setFont(uiFont(28, true));
    setBackColor(Picture6, 0xFFFFFF);
    Picture6->resize(1024, 768);  // 15360 × 11520 twips
    Picture6->hide();

    resize(kPanelWidth, kPanelHeight);
}

void FrmTimeData::Form_Load()
{
    setBackColor(this, state_.SeasonBackColor);
    showMainScreen(this);
}

void FrmTimeData::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Picture1->move(std::max(0, (width() - Picture1->width()) / 2), std::max(0, (height() - Picture1->height()) / 2));
    Picture6->move((width() - Picture6->width()) / 2, (height() - Picture6->height()) / 2);
    if (Gridinputtext->isVisible())
        placeEditBox();
}

QString FrmTimeData::standardsPath() const
{
    return standardsFilePath(state_.paths.CourseFolder);
}

void FrmTimeData::Form_Activate()
{
    MSFlexGrid1->setColumnCount(kGridColumns);
    Label4->setText(QString());
    Picture1->show();
    loadStandardsGrid();
    // Every column a thirteenth of the grid, column 1 eight tenths of column 2.
    const int width = MSFlexGrid1->viewport()->width() / kGridColumns;
    for (int c = 0; c < kGridColumns; ++c)
        MSFlexGrid1->setColumnWidth(c, width);
    MSFlexGrid1->setColumnWidth(1, static_cast<int>(std::lround(0.8 * width)));
    if (grid_.setCurrent(1, 1)) {
        Gridinputtext->show();
        placeEditBox();
        Gridinputtext->setFocus();
        loadEditBox();
    }
    refreshDistribution();
}

void FrmTimeData::showGrid()
{
    MSFlexGrid1->clearContents();
    MSFlexGrid1->setRowCount(grid_.rowCount() - 1);
    QStringList headings;
    for (int c = 0; c < kGridColumns; ++c)
        headings.append(grid_.cell(0, c));
    MSFlexGrid1->setHorizontalHeaderLabels(headings);
    for (int r = 1; r < grid_.rowCount(); ++r)
        for (int c = 0; c < kGridColumns; ++c) {
            auto* item = new QTableWidgetItem(grid_.cell(r, c));
            if (c == 0) {
                item->setBackground(QColor(0xD8, 0xD8, 0xD8));
                item->setTextAlignment(Qt::AlignCenter);
            }
            MSFlexGrid1->setItem(r - 1, c, item);
        }
}

void FrmTimeData::paintCell(int row, int column)
{
    QTableWidgetItem* item = MSFlexGrid1->item(row - 1, column);
    if (!item)
        return;
    item->setText(grid_.cell(row, column));
    if (grid_.marked(row, column))
        item->setBackground(kChangedCell);
}

void FrmTimeData::loadStandardsGrid()
{
    try {
        grid_.load(standardsPath());
    } catch (const DataError& e) {
        if (state_.services.messages)
            state_.services.messages->show(e.message(), QStringLiteral("エラー"), MessageService::Buttons::Ok,
                                           MessageService::Icon::Warning);
    }
    showGrid();
    // Without a level row there is nothing to edit and nothing to save.
    if (!grid_.editable())
        Gridinputtext->hide();
    Command3->setEnabled(grid_.editable());
}

void FrmTimeData::placeEditBox()
{
    if (!grid_.editable() || grid_.currentRow() < 1)
        return;
    QTableWidgetItem* item = MSFlexGrid1->item(grid_.currentRow() - 1, grid_.currentColumn());
    MSFlexGrid1->scrollToItem(item);
    const QRect cell = MSFlexGrid1->visualItemRect(item);
    const QPoint at = MSFlexGrid1->viewport()->mapTo(Picture1, cell.topLeft());
    Gridinputtext->setGeometry(QRect(at, cell.size()));
    Gridinputtext->raise();
    Gridinputtext->setFocus();
    Gridinputtext->setCursorPosition(10);
    Label3->setText(StandardsGrid::helpText(grid_.currentColumn()));
}

void FrmTimeData::loadEditBox()
{
    if (!grid_.editable() || grid_.currentRow() < 1)
        return;
    loading_ = true;
    Gridinputtext->setText(grid_.currentText());
    loading_ = false;
    Gridinputtext->setCursorPosition(10);
}

void FrmTimeData::storeEditBox(const QString& text)
{
    if (loading_ || !grid_.editable())
        return;
    grid_.storeEditBox(text);
    paintCell(grid_.currentRow(), grid_.currentColumn());
}

bool FrmTimeData::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != Gridinputtext || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape)
        return true;
    const bool typed = !key->text().isEmpty() && (key->text().at(0).isPrint() || key->key() == Qt::Key_Backspace);
    if (!typed) {
        using Key = StandardsGrid::Key;
        std::optional<Key> k;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: k = Key::Enter; break;
        case Qt::Key_Up: k = Key::Up; break;
        case Qt::Key_Down: k = key->modifiers() & Qt::ShiftModifier ? Key::ShiftDown : Key::Down; break;
        case Qt::Key_Left: k = Key::Left; break;
        case Qt::Key_Right: k = Key::Right; break;
        default: break;
        }
        const int firstRow = grid_.currentRow();
        if (k && grid_.keyDown(*k, Gridinputtext->text())) {
            loadEditBox();
            placeEditBox();
        } else if (k == Key::ShiftDown) {
            for (int r = firstRow; r <= grid_.selectionLastRow(); ++r)
                paintCell(r, grid_.currentColumn());
        }
    }
    // Every key but Esc: the distribution follows the current row.
    refreshDistribution();
    loadEditBox();
    if (!typed)
        return true;  // the caret keys and Delete do nothing inside the box
    if (key->text() == QStringLiteral(" ")) {
        // A blank clears the cell and is not itself typed.
        Gridinputtext->setText(QString());
        return true;
    }
    // Typing adds to the end of any value of up to ten characters.
    Gridinputtext->setCursorPosition(10);
    return false;
}

void FrmTimeData::refreshDistribution()
{
    if (Picture3->isHidden())
        return;
    const int level = grid_.editable() && grid_.currentRow() >= 1 ? grid_.currentRow() : 1;
    List3->clear();
    List4->clear();
    try {
        const LevelDistribution d = readDistribution(resultsFilePath(state_.paths.CourseFolder), level);
        List3->addItems(allRunsLines(d));
        List4->addItems(bestTimeLines(d));
    } catch (const DataError& e) {
        List3->addItem(e.message());
    }
}

void FrmTimeData::MSFlexGrid1_Click(int row, int column)
{
    if (!grid_.setCurrent(row, column))
        return;
    placeEditBox();
    refreshDistribution();
    loadEditBox();
}

void FrmTimeData::Command2_Click()
{
    loadStandardsGrid();
    if (grid_.setCurrent(1, 1)) {
        Gridinputtext->show();
        placeEditBox();
        loadEditBox();
    }
    refreshDistribution();
}

void FrmTimeData::showWaitPanel(bool on)
{
    Picture6->setVisible(on);
    if (on)
        Picture6->raise();
    QCoreApplication::processEvents();
}

bool FrmTimeData::save()
{
    if (!grid_.editable()) {
        if (state_.services.messages)
            state_.services.messages->show(fileMessage(standardsPath(), QStringLiteral("を読めなかったため、記録できません。")),
                                           QStringLiteral("エラー"), MessageService::Buttons::Ok, MessageService::Icon::Warning);
        return false;
    }
    showWaitPanel(true);
    QString failure;
    try {
        grid_.save(standardsPath(), state_.standards);
    } catch (const DataError& e) {
        failure = e.message();
    }
    showWaitPanel(false);
    if (!failure.isEmpty() && state_.services.messages)
        state_.services.messages->show(failure, QStringLiteral("エラー"), MessageService::Buttons::Ok, MessageService::Icon::Warning);
    const bool saved = failure.isEmpty();
    Gridinputtext->setFocus();
    return saved;
}

void FrmTimeData::Command3_Click()
{
    save();
}

void FrmTimeData::Command4_Click()
{
    if (grid_.gridChanged() && state_.services.messages
        && state_.services.messages->show(QStringLiteral("データが変更されています。記録しますか？"), QStringLiteral("注意"),
                                          MessageService::Buttons::YesNo, MessageService::Icon::Question)
               == MessageService::Answer::Yes
        && !save())
        return;  // not written: the edits stay on the screen
    showWaitPanel(true);
    if (state_.services.navigator)
        state_.services.navigator->openLevelScreen();
}

void FrmTimeData::Option1_Click(int index)
{
    // "度数非表示" hides the panel; "度数表示" shows it again, up to date.
    Picture3->setVisible(index == 0);
    if (index == 0)
        refreshDistribution();
}

} // namespace vc
