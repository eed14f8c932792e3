#include "mainfrm.h"

#include "drill/runstate.h"
#include "platform/twips.h"
#include "startup/appstate.h"
#include "startup/screens.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace vc {

namespace {

// Panel sizes in pixels (the main panel is 15360 × 10800 twips).
constexpr int kPanelWidth = 1024;
constexpr int kPanelHeight = 720;
constexpr int kBarWidth = 236;

const QColor kPanelColour(0xf4, 0xf1, 0xe6);
const QColor kStatusColour(0x2f, 0x4f, 0x6f);
const QColor kPromptColour(0xff, 0xff, 0xff);

QFont uiFont(int pixels, bool bold = false)
{
    QFont f;
    f.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Meiryo"), QStringLiteral("MS UI Gothic")});
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// Answers and tiles: a face whose letters are easy to tell apart (l, I, 1).
QFont answerFont(int pixels, bool bold = false)
{
    QFont f = uiFont(pixels, bold);
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Arial")});
    return f;
}

// A label that reacts to a click like a button.
class ClickLabel : public QLabel {
public:
    ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) { setCursor(Qt::PointingHandCursor); }
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
            onClick();
    }
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font, const QRect& geometry,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(align);
    label->setGeometry(geometry);
    return label;
}

ClickLabel* makeClickLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                           const QRect& geometry, const QString& style)
{
    auto* label = new ClickLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(geometry);
    label->setStyleSheet(style);
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text, const QFont& font, const QRect& geometry)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFont(font);
    button->setGeometry(geometry);
    return button;
}

QWidget* makeBand(QWidget* parent, const QString& name, const QColor& colour, const QRect& geometry)
{
    auto* band = new QWidget(parent);
    band->setObjectName(name);
    band->setAutoFillBackground(true);
    QPalette pal = band->palette();
    pal.setColor(QPalette::Window, colour);
    band->setPalette(pal);
    band->setGeometry(geometry);
    return band;
}

void fill(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    widget->setPalette(pal);
}

void setTextIfChanged(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

} // namespace

template <typename F>
void MainFrm::handle(F&& handler)
{
    const QPointer<MainFrm> self(this);
    handler();
    if (self) {
        render();
        keepKeyboardFocus();
    }
}

QWidget* MainFrm::keyboardHome() const
{
    const DrillScreen& s = run_->screen();
    if (run_->closed() || s.sPicture2Visible)
        return nullptr;
    if (s.Picture5Visible)
        return List1;
    if (s.CommandkakuninVisible)
        return Commandkakunin;
    return Text1->isEnabled() ? Text1 : nullptr;
}

void MainFrm::keepKeyboardFocus()
{
    QWidget* home = keyboardHome();
    if (!home || !isActiveWindow() || QApplication::activeModalWidget())
        return;
    if (QApplication::focusWidget() != home)
        home->setFocus(Qt::OtherFocusReason);
}

void MainFrm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // A message box closing hands the window back: the keys go where the
    // question waits for them.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, [self = QPointer<MainFrm>(this)] {
            if (self)
                self->keepKeyboardFocus();
        });
}

bool MainFrm::focusNextPrevChild(bool next)
{
    // Tab stays with the question; there is nothing else to reach by keys.
    if (keyboardHome()) {
        keepKeyboardFocus();
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

MainFrm::MainFrm(AppState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(state.course.SoftwareName);
    fill(this, QColor(0xd8, 0xe4, 0xee));

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->resize(kPanelWidth, kPanelHeight);
    fill(Picture1, kPanelColour);

    buildStatusPanel();
    buildQuestionArea();
    buildChoicePanel();
    buildTiles();
    buildOverlay();

    sTimer1 = new QTimer(this);
    sTimer1->setObjectName(QStringLiteral("sTimer1"));
    sTimer1->setInterval(1000);
    connect(sTimer1, &QTimer::timeout, this, [this] { handle([this] { run_->sTimer1_Timer(); }); });
    sTimer2 = new QTimer(this);
    sTimer2->setObjectName(QStringLiteral("sTimer2"));
    sTimer2->setInterval(10000);
    connect(sTimer2, &QTimer::timeout, this, [this] { handle([this] { run_->sTimer2_Timer(); }); });

    run_ = std::make_unique<DrillRun>(state_, static_cast<DrillHost&>(*this));
    run_->screen().barFrameWidth = kBarWidth;

    resize(kPanelWidth, kPanelHeight);
    render();
}

MainFrm::~MainFrm()
{
    if (waitForm_)
        waitForm_->close();
}

void MainFrm::buildStatusPanel()
{
    sPicture1 = new QWidget(Picture1);
    sPicture1->setObjectName(QStringLiteral("sPicture1"));
    sPicture1->setGeometry(8, 8, 260, kPanelHeight - 16);
    fill(sPicture1, kStatusColour);
    sPicture1->setStyleSheet(QStringLiteral("QLabel { color: white; }"));

    sLabel2 = makeLabel(sPicture1, QStringLiteral("sLabel2"), QString(), uiFont(22, true), QRect(10, 8, 240, 64),
                        Qt::AlignCenter);
    sLabel2->setWordWrap(true);
    sLabel14 = makeLabel(sPicture1, QStringLiteral("sLabel14"), QString(), uiFont(16), QRect(10, 74, 240, 26),
                         Qt::AlignCenter);

    // Caption, value, unit rows.
    struct Row {
        QLabel** value;
        const char* name;
        const char16_t* caption;
        const char16_t* unit;
    };
    const Row rows[] = {
        {&sLabel7, "sLabel7", u"名前", u""},
        {&sLabel8, "sLabel8", u"レベル", u""},
        {&sLabel13, "sLabel13", u"起動後", u"分"},
        {&sLabel12, "sLabel12", u"本日", u"回目"},
        {&sLabel11, "sLabel11", u"このレベル", u"回目"},
        {&sLabel9, "sLabel9", u"残り問題", u"問"},
        {&sLabel10, "sLabel10", u"タイム", u"秒"},
    };
    int y = 112;
    for (const Row& row : rows) {
        makeLabel(sPicture1, QString(), QString::fromUtf16(row.caption), uiFont(15), QRect(12, y, 90, 34));
        const bool wide = QString::fromUtf16(row.unit).isEmpty();
        *row.value = makeLabel(sPicture1, QString::fromLatin1(row.name), QString(), uiFont(wide ? 17 : 22, true),
                               QRect(100, y, wide ? 150 : 90, 34), wide ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
        if (!wide)
            makeLabel(sPicture1, QString(), QString::fromUtf16(row.unit), uiFont(15), QRect(196, y, 56, 34));
        y += 40;
    }
    sLabel10->setStyleSheet(QStringLiteral("color: #ffe680;"));

    // The time bar: the frame stands for the whole time limit.
    const int barTop = y + 12;
    timeFrame = makeBand(sPicture1, QStringLiteral("timeFrame"), QColor(0xfa, 0xfa, 0xfa), QRect(12, barTop, kBarWidth, 84));
    targetBand = makeBand(timeFrame, QStringLiteral("targetBand"), QColor(0x3c, 0xb3, 0x71), QRect(0, 6, 0, 20));
    minimumBand = makeBand(timeFrame, QStringLiteral("minimumBand"), QColor(0xf0, 0xa0, 0x30), QRect(0, 32, 0, 20));
    elapsedBand = makeBand(timeFrame, QStringLiteral("elapsedBand"), QColor(0x2a, 0x6f, 0xdb), QRect(0, 58, 0, 20));
    const QFont legend = uiFont(13);
    makeLabel(sPicture1, QString(), QStringLiteral("■目標"), legend, QRect(12, barTop + 88, 76, 20))->setStyleSheet(QStringLiteral("color: #7fe0a8;"));
    makeLabel(sPicture1, QString(), QStringLiteral("■最低"), legend, QRect(92, barTop + 88, 76, 20))->setStyleSheet(QStringLiteral("color: #f8c070;"));
    makeLabel(sPicture1, QString(), QStringLiteral("■経過"), legend, QRect(172, barTop + 88, 76, 20))->setStyleSheet(QStringLiteral("color: #90b8ff;"));

    Command1 = makeButton(sPicture1, QStringLiteral("Command1"), QStringLiteral("ギブアップ(１日５回)"), uiFont(16),
                          QRect(12, sPicture1->height() - 64, 236, 52));
    connect(Command1, &QPushButton::clicked, this, [this] { handle([this] { run_->Command1_Click(); }); });
    // Giving up throws the run away: never by a Tab and Enter meant for the answer.
    Command1->setFocusPolicy(Qt::NoFocus);
}

void MainFrm::buildQuestionArea()
{
    const int left = 280;
    const int width = kPanelWidth - left - 8;

    qLabel1 = makeLabel(Picture1, QStringLiteral("qLabel1"), QString(), uiFont(34, true), QRect(left, 12, width, 96),
                        Qt::AlignCenter);
    qLabel1->setWordWrap(true);
    qLabel1->setAutoFillBackground(true);
    QPalette pal = qLabel1->palette();
    pal.setColor(QPalette::Window, kPromptColour);
    qLabel1->setPalette(pal);
    qLabel1->setFrameShape(QFrame::Box);

    makeLabel(Picture1, QString(), QStringLiteral("この問題あと"), uiFont(18), QRect(left + 8, 114, 112, 32));
    qLabel2 = makeLabel(Picture1, QStringLiteral("qLabel2"), QString(), uiFont(24, true), QRect(left + 120, 114, 36, 32),
                        Qt::AlignCenter);
    qLabel2->setStyleSheet(QStringLiteral("color: #c0392b;"));
    makeLabel(Picture1, QString(), QStringLiteral("回でクリア"), uiFont(18), QRect(left + 158, 114, 110, 32));
    Label12 = makeLabel(Picture1, QStringLiteral("Label12"), QStringLiteral("1文字ヒント"), uiFont(17, true),
                        QRect(left + 330, 114, 130, 32), Qt::AlignCenter);
    Label12->setStyleSheet(QStringLiteral("color: white; background: #e67e22; border-radius: 6px;"));
    Label5 = makeLabel(Picture1, QStringLiteral("Label5"), QStringLiteral("音声ヒント＝”＋”"), uiFont(17, true),
                       QRect(left + 474, 114, 200, 32), Qt::AlignCenter);
    Label5->setStyleSheet(QStringLiteral("color: white; background: #8e44ad; border-radius: 6px;"));

    Text1 = new QLineEdit(Picture1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(answerFont(34));
    Text1->setGeometry(left + 120, 152, 496, 64);
    Text1->setContextMenuPolicy(Qt::NoContextMenu);  // no pasting of answers
    // Answers are English: keys come straight from the keyboard, never
    // through a Japanese input method, so every key passes Text1_KeyPress.
    Text1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Text1->installEventFilter(this);
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!rendering_)
            handle([this, text] { run_->Text1_Change(text); });
    });

    Label11 = makeLabel(Picture1, QStringLiteral("Label11"), QStringLiteral("10文字目からはキーボードで入力してください"),
                        uiFont(15), QRect(left, 220, width, 24), Qt::AlignCenter);
    Label11->setStyleSheet(QStringLiteral("color: #c0392b;"));

    seitouLabel = makeLabel(Picture1, QStringLiteral("seitouLabel"), QString(), answerFont(36, true),
                            QRect(left, 248, width, 60), Qt::AlignCenter);
    seitouLabel->setStyleSheet(QStringLiteral("color: #c0392b;"));

    Label6 = makeLabel(Picture1, QStringLiteral("Label6"), QString(), uiFont(21, true), QRect(left, 312, width, 112),
                       Qt::AlignCenter);
    Label6->setWordWrap(true);
    Label6->setStyleSheet(QStringLiteral("color: #1a5276;"));

    Commandkakunin = makeButton(Picture1, QStringLiteral("Commandkakunin"), QStringLiteral("次へ"), uiFont(20, true),
                                QRect(left + 100, 430, 160, 52));
    Command2 = makeButton(Picture1, QStringLiteral("Command2"), QStringLiteral("発音を聞く"), uiFont(18),
                          QRect(left + 276, 430, 160, 52));
    auto* again = makeClickLabel(Picture1, QStringLiteral("Label1"), QStringLiteral("もう一度聞く＝”＋”"), uiFont(16),
                                 QRect(left + 452, 438, 220, 36), QStringLiteral("color: #555;"));
    Label1 = again;
    connect(Commandkakunin, &QPushButton::clicked, this, [this] { handle([this] { run_->Commandkakunin_Click(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { handle([this] { run_->Command2_Click(); }); });
    again->onClick = [this] { handle([this] { run_->Label1_Click(); }); };
    for (QWidget* w : {static_cast<QWidget*>(Commandkakunin), static_cast<QWidget*>(Command2), static_cast<QWidget*>(Command1)})
        w->installEventFilter(this);
    Command2->setFocusPolicy(Qt::NoFocus);
}

void MainFrm::buildChoicePanel()
{
    Picture5 = new QWidget(Picture1);
    Picture5->setObjectName(QStringLiteral("Picture5"));
    Picture5->setGeometry(340, 248, 620, 272);
    List1 = new QListWidget(Picture5);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(answerFont(22));
    List1->setGeometry(0, 0, 340, 272);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setStyleSheet(QStringLiteral("QListWidget::item { padding: 1px 8px; }"));
    List1->installEventFilter(this);
    List1->viewport()->installEventFilter(this);
    Label13 = makeLabel(Picture5, QStringLiteral("Label13"), QString(), answerFont(26, true), QRect(356, 16, 264, 56),
                        Qt::AlignCenter);
    Label13->setStyleSheet(QStringLiteral("background: white; border: 1px solid #888;"));
    Command3 = makeButton(Picture5, QStringLiteral("Command3"), QStringLiteral("OK"), uiFont(22, true), QRect(356, 204, 160, 60));
    Command3->installEventFilter(this);

    connect(List1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = List1->row(item);
        handle([this, row] { run_->List1_Click(row); });
    });
    // Moving through the list with the keys picks words as clicks do. Only a
    // selection counts: the list makes its first row current by itself when
    // it gets the focus, and that is no word the student chose.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = List1->selectedItems();
        if (rendering_ || listMousePressed_ || selected.size() != 1)
            return;
        const int row = List1->row(selected.front());
        handle([this, row] { run_->List1_Click(row); });
    });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = List1->row(item);
        handle([this, row] { run_->List1_DblClick(row); });
    });
    connect(Command3, &QPushButton::clicked, this, [this] { handle([this] { run_->Command3_Click(); }); });
}

void MainFrm::buildTiles()
{
    Picture2 = new QWidget(Picture1);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(280, 524, kPanelWidth - 288, 180);
    const QString tileStyle = QStringLiteral(
        "background: #fffdf4; border: 2px solid #b08d57; border-radius: 8px; color: #222;");
    const int size = 70;
    const int gap = 8;
    const int start = (Picture2->width() - (kTileCount * size + (kTileCount - 1) * gap)) / 2;
    for (int i = 0; i < kTileCount; ++i) {
        auto* tile = makeClickLabel(Picture2, QStringLiteral("Label7_%1").arg(i), QString(), answerFont(34, true),
                                    QRect(start + i * (size + gap), 8, size, size), tileStyle);
        tile->setProperty("index", i);
        tile->onClick = [this, i] { handle([this, i] { run_->Label7_Click(i); }); };
        Label7[static_cast<size_t>(i)] = tile;
    }
    const QString keyStyle = QStringLiteral("background: #5d6d7e; color: white; border-radius: 8px;");
    auto* bs = makeClickLabel(Picture2, QStringLiteral("Label9"), QStringLiteral("BS"), uiFont(24, true),
                              QRect(start, 96, 160, 64), keyStyle);
    bs->onClick = [this] { handle([this] { run_->Label9_Click(); }); };
    Label9 = bs;
    auto* judge = makeClickLabel(Picture2, QStringLiteral("Label8"), QStringLiteral("判定"), uiFont(26, true),
                                 QRect(start + kTileCount * (size + gap) - gap - 240, 96, 240, 64),
                                 QStringLiteral("background: #c0392b; color: white; border-radius: 8px;"));
    judge->onClick = [this] { handle([this] { run_->Label8_Click(); }); };
    Label8 = judge;
}

void MainFrm::buildOverlay()
{
    sPicture2 = new QWidget(this);
    sPicture2->setObjectName(QStringLiteral("sPicture2"));
    sPicture2->setAttribute(Qt::WA_StyledBackground);
    sPicture2->setStyleSheet(QStringLiteral("#sPicture2 { background: rgba(20, 30, 50, 170); }"));
    sPicture2->move(0, 0);
    lblsss1 = makeLabel(sPicture2, QStringLiteral("lblsss1"), QStringLiteral("成績記録中"), uiFont(56, true), QRect(),
                        Qt::AlignCenter);
    lblsss2 = makeLabel(sPicture2, QStringLiteral("lblsss2"), QStringLiteral("時間切れ"), uiFont(56, true), QRect(),
                        Qt::AlignCenter);
    lblsss1->setStyleSheet(QStringLiteral("color: white;"));
    lblsss2->setStyleSheet(QStringLiteral("color: #ffd0d0;"));
    lblWait = makeLabel(sPicture2, QStringLiteral("lblWait"), QString(), uiFont(24, true), QRect(), Qt::AlignCenter);
    lblWait->setStyleSheet(QStringLiteral("color: #ffffa0;"));
    lblWait->setWordWrap(true);
    lblWait->hide();
}

void MainFrm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Picture1->move(std::max(0, (width() - Picture1->width()) / 2), std::max(0, (height() - Picture1->height()) / 2));
    sPicture2->setGeometry(rect());
    lblsss1->setGeometry(sPicture2->rect());
    lblsss2->setGeometry(sPicture2->rect());
    lblWait->setGeometry(0, sPicture2->height() / 2 + 60, sPicture2->width(), 80);
}

void MainFrm::Form_Load()
{
    run_->Form_Load();
    Picture1->move(std::max(0, (width() - Picture1->width()) / 2), std::max(0, (height() - Picture1->height()) / 2));
}

void MainFrm::Form_Activate()
{
    handle([this] { run_->Form_Activate(); });
    if (!run_->closed())
        sTimer2->start();
}

void MainFrm::render()
{
    const DrillScreen& s = run_->screen();
    rendering_ = true;

    setTextIfChanged(qLabel1, s.qLabel1);
    setTextIfChanged(qLabel2, s.qLabel2);
    if (Text1->text() != s.Text1)
        Text1->setText(s.Text1);  // puts the caret at the end
    Text1->setEnabled(s.Text1Enabled);
    if (Text1->isReadOnly() != s.Text1ReadOnly) {
        Text1->setReadOnly(s.Text1ReadOnly);
        Text1->setAttribute(Qt::WA_InputMethodEnabled, false);  // setReadOnly switches it back on
    }
    {
        // Enabled only: a disabled box (the choice step) keeps the greyed look.
        QPalette pal = Text1->palette();
        const QColor back = QColor::fromRgb(bgrToRgb(s.Text1BackColor));
        pal.setColor(QPalette::Active, QPalette::Base, back);
        pal.setColor(QPalette::Inactive, QPalette::Base, back);
        Text1->setPalette(pal);
    }
    Label5->setVisible(s.Label5Visible);
    Label11->setVisible(s.Label11Visible);
    Label12->setVisible(s.Label12Visible);
    setTextIfChanged(Label6, s.Label6);
    Label6->setVisible(s.Label6Visible);
    setTextIfChanged(seitouLabel, s.seitouLabel);
    seitouLabel->setVisible(s.seitouLabelVisible);
    Commandkakunin->setVisible(s.CommandkakuninVisible);
    Command2->setVisible(s.Command2Visible);
    Label1->setVisible(s.Label1Visible);
    if (Command1->text() != s.Command1Caption)
        Command1->setText(s.Command1Caption);
    Command1->setEnabled(s.Command1Enabled);

    Picture2->setVisible(s.Picture2Visible);
    for (int i = 0; i < kTileCount; ++i)
        setTextIfChanged(Label7[static_cast<size_t>(i)], s.Label7[static_cast<size_t>(i)]);

    QStringList shown;
    for (int i = 0; i < List1->count(); ++i)
        shown << List1->item(i)->text();
    if (shown != s.List1) {
        List1->clear();
        List1->addItems(s.List1);
    }
    Picture5->setVisible(s.Picture5Visible);
    setTextIfChanged(Label13, s.Label13);
    Label13->setVisible(s.Label13Visible);

    setTextIfChanged(sLabel2, s.sLabel2);
    if (sLabel2->font().pointSizeF() != s.sLabel2PointSize) {
        QFont f = sLabel2->font();
        f.setPointSizeF(s.sLabel2PointSize);
        sLabel2->setFont(f);
    }
    setTextIfChanged(sLabel7, s.sLabel7);
    setTextIfChanged(sLabel8, s.sLabel8);
    setTextIfChanged(sLabel14, s.sLabel14);
    setTextIfChanged(sLabel13, s.sLabel13);
    setTextIfChanged(sLabel12, s.sLabel12);
    setTextIfChanged(sLabel11, s.sLabel11);
    setTextIfChanged(sLabel10, s.sLabel10);
    setTextIfChanged(sLabel9, s.sLabel9);
    auto band = [this](QWidget* w, double units) {
        const int px = std::clamp(static_cast<int>(units + 0.5), 0, timeFrame->width());
        w->resize(px, w->height());
    };
    band(targetBand, s.targetBandWidth);
    band(minimumBand, s.minimumBandWidth);
    band(elapsedBand, s.elapsedBandWidth);

    sPicture2->setVisible(s.sPicture2Visible);
    lblWait->setText(s.lockWaitText);
    lblWait->setVisible(!s.lockWaitText.isEmpty());
    if (s.sPicture2Visible)
        sPicture2->raise();
    lblsss1->setVisible(s.lblsss1Visible);
    lblsss2->setVisible(s.lblsss2Visible);

    if (s.sTimer1Enabled && !sTimer1->isActive())
        sTimer1->start();
    else if (!s.sTimer1Enabled && sTimer1->isActive())
        sTimer1->stop();

    rendering_ = false;
}

bool MainFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            listMousePressed_ = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            listMousePressed_ = false;
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);

    // The form sees every key before its controls.
    const auto* key = static_cast<QKeyEvent*>(event);
    QChar c;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        c = kEnterKey;
    else if (!key->text().isEmpty())
        c = key->text().at(0);
    const QPointer<MainFrm> self(this);
    if (!c.isNull())
        run_->Form_KeyPress(c);
    bool swallowed = false;
    if (watched == Text1) {
        swallowed = run_->Text1_KeyPress(c);
    } else if (c == kEnterKey && self) {
        // Enter presses the focused button ("次へ" after a wrong answer).
        if (auto* button = qobject_cast<QPushButton*>(watched); button && button->isEnabled()) {
            button->click();
            swallowed = true;
        }
    }
    if (self)
        render();
    return swallowed || QWidget::eventFilter(watched, event);
}

void MainFrm::closeEvent(QCloseEvent* event)
{
    // The window's own close button does not end a run: it is finished, or given up.
    if (event->spontaneous() && !run_->closed()) {
        event->ignore();
        return;
    }
    sTimer1->stop();
    sTimer2->stop();
    run_->Form_Unload();
    event->accept();
}

// ---- DrillHost ---------------------------------------------------------------

void MainFrm::letEventsRun()
{
    render();
    QCoreApplication::processEvents();
}

void MainFrm::idle(int ms)
{
    render();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void MainFrm::giveFocus(DrillControl control)
{
    render();
    switch (control) {
    case DrillControl::Text1:
        Text1->setFocus();
        break;
    case DrillControl::List1:
        List1->setFocus();
        break;
    case DrillControl::Commandkakunin:
        Commandkakunin->setFocus();
        break;
    }
}

void MainFrm::clearClipboard()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->clear();
}

void MainFrm::showWaitForm()
{
    if (!waitForm_) {
        waitForm_ = new WaitForm();
        waitForm_->setAttribute(Qt::WA_DeleteOnClose);
    }
    waitForm_->Form_Load();
}

void MainFrm::paintOnly()
{
    render();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainFrm::closeScreen()
{
    sTimer1->stop();
    sTimer2->stop();
    render();
    hide();
}

} // namespace vc
