#include "namesel.h"

#include "platform/twips.h"
#include "startup/appstate.h"
#include "startup/screens.h"
#include "startup/startup.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace vc {

namesel::namesel(AppState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    setObjectName(QStringLiteral("namesel"));
    setWindowTitle(QStringLiteral("名前の選択"));
    Picture12 = new QWidget(this);
    Picture12->setObjectName(QStringLiteral("Picture12"));
    Picture12->resize(twipsToPixels(15360), twipsToPixels(10800));
    auto* layout = new QVBoxLayout(Picture12);
    Label4 = new QLabel(Picture12);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setAlignment(Qt::AlignCenter);
    Label4->installEventFilter(this);
    Label4->setCursor(Qt::PointingHandCursor);
    Command7 = new QPushButton(QStringLiteral("ﾌﾟﾟﾛｸﾞﾗﾑメニューへ(0)"), Picture12);
    Command7->setObjectName(QStringLiteral("Command7"));
    layout->addWidget(Label4);
    layout->addStretch(1);
    layout->addWidget(Command7, 0, Qt::AlignRight);
    connect(Command7, &QPushButton::clicked, this, &namesel::Command7_Click);
    resize(Picture12->size());
}

bool namesel::Form_Load()
{
    setBackColor(this, state_.SeasonBackColor);
    if (refuseSecondInstance(state_))
        return false;
    show();
    QFont f = Label4->font();
    f.setPointSize(48);
    Label4->setFont(f);
    Label4->setText(state_.course.SoftwareName);
    QCoreApplication::processEvents();
    return true;
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
}

void namesel::keyPressEvent(QKeyEvent* event)
{
    if (event->text() == QStringLiteral("0") && Command7->isVisible()) {
        Command7_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool namesel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease) {
        Label4_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vc
