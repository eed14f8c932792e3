#include "screens.h"

#include "appstate.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/twips.h"
#include "startup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace vc {

void setBackColor(QWidget* widget, unsigned bgr)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(bgrToRgb(bgr)));
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

void centreOnScreen(QWidget* window, QWidget* child)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen || !child)
        return;
    const QRect area = screen->geometry();
    child->move((area.width() - child->width()) / 2, (area.height() - child->height()) / 2);
}

namespace {

QPixmap splashPicture(const QSize& size, const QString& title)
{
    QPixmap pm(size);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0x1e, 0x5a, 0x9c));
    g.setColorAt(1, QColor(0x8f, 0xc3, 0xea));
    p.fillRect(pm.rect(), g);
    QFont f = p.font();
    f.setPixelSize(size.height() / 6);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(pm.rect().adjusted(0, 0, 0, -size.height() / 3), Qt::AlignCenter, title);
    return pm;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, int pixelSize)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont f = label->font();
    f.setPixelSize(pixelSize);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

Firstfrm::Firstfrm(AppState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("Firstfrm"));
    setWindowTitle(QStringLiteral("Vocarimo"));
    setWindowFlag(Qt::FramelessWindowHint);
    const QSize pictureSize(twipsToPixels(7200), twipsToPixels(4800));
    resize(pictureSize);
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(splashPicture(pictureSize, QStringLiteral("Vocarimo")));
    Picture1->setGeometry(QRect(QPoint(0, 0), pictureSize));
    Label5 = makeLabel(this, QStringLiteral("Label5"), QString(), 22);
    Label5->setStyleSheet(QStringLiteral("color: white;"));
    Label5->setGeometry(0, pictureSize.height() * 2 / 3 - 30, pictureSize.width(), 36);
    Label19 = makeLabel(this, QStringLiteral("Label19"), QStringLiteral("Just a moment, please."), 20);
    Label19->setStyleSheet(QStringLiteral("color: white;"));
    Label19->setGeometry(0, pictureSize.height() * 2 / 3 + 16, pictureSize.width(), 32);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1->stop();
        emit startupDue();
    });
}

void Firstfrm::Form_Load()
{
    QCoreApplication::processEvents();
    show();
    QCoreApplication::processEvents();
    const Clock& clock = *state_.services.clock;
    state_.services.random->seed(static_cast<quint32>(clock.secondsSinceMidnight()));
    const QDate today = clock.today();
    Label5->setText(japaneseEraDate(today));
    state_.SeasonBackColor = seasonBackColor(today.month());
    show();
    QCoreApplication::processEvents();
    Timer1->start();
}

void Firstfrm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    centreOnScreen(this, this);
}

WaitForm::WaitForm(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("BASEFRM"));
    const QSize size(twipsToPixels(5400), twipsToPixels(1800));
    resize(size);
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(splashPicture(size, QString()));
    Picture1->setGeometry(QRect(QPoint(0, 0), size));
    auto* text = makeLabel(this, QStringLiteral("Label19"), QStringLiteral("Just a moment, please."), 22);
    text->setStyleSheet(QStringLiteral("color: white;"));
    text->setGeometry(rect());
}

void WaitForm::Form_Load()
{
    show();
    QCoreApplication::processEvents();
    centreOnScreen(this, this);
}

frmver::frmver(AppState& state, QWidget* parent) : QDialog(parent), state_(state)
{
    setObjectName(QStringLiteral("frmver"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    Label1 = makeLabel(this, QStringLiteral("Label1"), QString(), 24);
    Label2 = makeLabel(this, QStringLiteral("Label2"), QString(), 16);
    auto* publisher = makeLabel(this, QStringLiteral("Label3"), QStringLiteral("Vocarimo 開発チーム"), 14);
    auto* legal = makeLabel(this, QStringLiteral("Label5"),
                            QStringLiteral("このプログラムは塾での学習用です。無断での複製・配布を禁じます。"), 12);
    legal->setWordWrap(true);
    Command1 = new QPushButton(QStringLiteral("O.K."), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(publisher);
    layout->addWidget(legal);
    layout->addWidget(Command1, 0, Qt::AlignCenter);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    resize(twipsToPixels(6000), twipsToPixels(3600));
}

void frmver::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    Label1->setText(state_.course.SoftwareName);
    Label2->setText(versionLine(VC_VERSION_MAJOR, VC_VERSION_MINOR, VC_VERSION_PATCH));
}

} // namespace vc
