#include "qtmessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace vc {
namespace {

// The window that asked: the active one, or else the screen on show (a
// window just opened may not be active yet), so the box never hangs at the
// middle of the display beside it.
QWidget* askingWindow()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    QWidget* best = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowType() == Qt::ToolTip || w->windowType() == Qt::Popup || w->windowType() == Qt::Tool
            || w->windowType() == Qt::SplashScreen)
            continue;
        if (!best || w->width() * w->height() > best->width() * best->height())
            best = w;
    }
    return best;
}

} // namespace

MessageService::Answer QtMessageService::show(const QString& text, const QString& title, Buttons buttons, Icon icon)
{
    QWidget* parent = askingWindow();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    QMessageBox box(parent);
    box.setText(text);
    box.setWindowTitle(title);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    const int answer = box.exec();
    // The keys go back to where they were.
    if (focus && focus->isVisible()) {
        focus->activateWindow();
        focus->setFocus(Qt::ActiveWindowFocusReason);
    }
    switch (answer) {
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Ok;
    }
}

} // namespace vc
