#include "levelscreen/reportpanel.h"

#include "levelscreen/report.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "printing/paintersurface.h"
#include "printing/printjob.h"
#include "startup/appstate.h"
#include "students/roster.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

namespace vc {
namespace {

QFont panelFont(int pixels)
{
    QFont f;
    f.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("MS UI Gothic"), QStringLiteral("sans-serif")});
    f.setPixelSize(pixels);
    return f;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFont(panelFont(14));
    return button;
}

// The student number at the end of a student-list entry: "中１ /  山田/12".
qint16 studentOfEntry(const QString& entry)
{
    bool ok = false;
    const int number = entry.mid(entry.lastIndexOf(u'/') + 1).trimmed().toInt(&ok);
    return ok && number >= 0 && number <= kMaxStudent ? static_cast<qint16>(number) : 0;
}

} // namespace

ReportPanel::ReportPanel(AppState& state, QWidget* parent) : QFrame(parent), state_(state)
{
    setObjectName(QStringLiteral("Picture11"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);

    Command25 = makeButton(this, QStringLiteral("Command25"), QStringLiteral("他の人のデータを見る"));
    List2 = new QListWidget(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setSelectionMode(QAbstractItemView::MultiSelection);
    List2->setFont(panelFont(13));
    Label27 = new QLabel(QStringLiteral("ﾚﾍﾞﾙ"), this);
    Label27->setObjectName(QStringLiteral("Label27"));
    Label27->setFont(panelFont(13));
    List3 = new QListWidget(this);
    List3->setObjectName(QStringLiteral("List3"));
    List3->setSelectionMode(QAbstractItemView::MultiSelection);
    List3->setFont(panelFont(13));
    Command24[0] = makeButton(this, QStringLiteral("Command24_0"), QStringLiteral("表示"));
    Command24[1] = makeButton(this, QStringLiteral("Command24_1"), QStringLiteral("印刷"));
    for (int i = 0; i < 2; ++i)
        Command24[static_cast<size_t>(i)]->setProperty("index", i);
    Command18 = makeButton(this, QStringLiteral("Command18"), QStringLiteral("戻る"));

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("reportScroll"));
    scroll_->setWidgetResizable(false);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Picture12 = new QLabel;
    Picture12->setObjectName(QStringLiteral("Picture12"));
    Picture12->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll_->setWidget(Picture12);

    connect(Command25, &QPushButton::clicked, this, &ReportPanel::Command25_Click);
    connect(List2, &QListWidget::itemClicked, this, [this] { List2_Click(); });
    connect(List3, &QListWidget::itemClicked, this, [this] { List3_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(Command24[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { Command24_Click(i); });
    connect(Command18, &QPushButton::clicked, this, &ReportPanel::Command18_Click);
    List2->hide();
    hide();
}

void ReportPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    layOut();
}

void ReportPanel::layOut()
{
    const int left = 200;
    const int h = height();
    Command25->setGeometry(6, 6, left - 10, 30);
    List2->setGeometry(6, 6, left - 10, std::max(60, h - 200));
    const int levelsTop = std::max(70, h - 188);
    Label27->setGeometry(8, levelsTop, left - 12, 20);
    List3->setGeometry(6, levelsTop + 20, left - 10, 120);
    Command24[0]->setGeometry(6, h - 42, 60, 34);
    Command24[1]->setGeometry(70, h - 42, 60, 34);
    Command18->setGeometry(134, h - 42, 60, 34);
    scroll_->setGeometry(left, 4, std::max(100, width() - left - 4), h - 8);
}

void ReportPanel::prepare(const QStringList& students, int levelCount)
{
    List2->clear();
    List2->addItems(students);
    List3->clear();
    for (int i = 1; i <= levelCount; ++i)
        List3->addItem(QString::number(i));
    reportStudent = state_.CurrentStudentNumber;
}

void ReportPanel::Command17_Click()
{
    reportStudent = state_.CurrentStudentNumber;
    List2->hide();
    Command25->show();
    List2->clearSelection();
    List3->clearSelection();
    for (int i = 0; i < std::min(3, List3->count()); ++i)
        List3->item(i)->setSelected(true);
    baseFontSize = 6;
    Command21_Click(0);
}

void ReportPanel::Command25_Click()
{
    Command25->hide();
    List2->show();
    List2->raise();
}

void ReportPanel::List2_Click() { Command24_Click(0); }

void ReportPanel::List3_Click()
{
    if (isVisible())
        Command24_Click(0);
}

void ReportPanel::Command24_Click(int index)
{
    bool any = false;
    for (int row = 0; row < List2->count(); ++row) {
        if (!List2->item(row)->isSelected())
            continue;
        any = true;
        reportStudent = studentOfEntry(List2->item(row)->text());
        Command21_Click(index);
    }
    if (!any)
        Command21_Click(index);
}

void ReportPanel::Command18_Click() { hide(); }

void ReportPanel::showError(const QString& message)
{
    if (state_.services.messages)
        state_.services.messages->show(message, QStringLiteral("エラー"), MessageService::Buttons::Ok, MessageService::Icon::Warning);
}

void ReportPanel::Command21_Click(int output)
{
    ReportRequest request;
    request.student = reportStudent;
    request.periodDays = reportPeriod;
    for (int row = 0; row < List3->count(); ++row)
        if (List3->item(row)->isSelected())
            request.levels.push_back(row + 1);
    request.gradeFilter = gradeFilter ? gradeFilter() : QStringLiteral("全学年");
    request.pointsOrder = pointsOrder ? pointsOrder() : RankingOrder::TotalPoints;
    request.toPaper = output == 1;
    request.baseFontSize = baseFontSize;

    if (output == 0) {
        // The picture fills the width beside the lists (the panel may not be laid out yet).
        layOut();
        const int pixels = std::max(200, scroll_->width() - scroll_->verticalScrollBar()->sizeHint().width() - 2 * scroll_->frameWidth());
        // The picture is the printed page's drawable area, so both lay out alike.
        const QSizeF area = state_.services.printing ? state_.services.printing->drawableArea() : pdfDrawableArea();
        ImageSurface surface(area.width(), area.height(), pixels);
        try {
            drawReport(state_, request, surface);
        } catch (const DataError& e) {
            showError(e.message());
        }
        picture_ = surface.image().copy();
        Picture12->setPixmap(QPixmap::fromImage(picture_));
        Picture12->resize(picture_.size());
        scroll_->verticalScrollBar()->setValue(0);
        raise();
        show();
        return;
    }

    // Everything is read before the job starts: a results file that cannot be
    // read sends no blank page to the printer and leaves no empty PDF.
    ReportData data;
    try {
        data = readReportData(state_);
    } catch (const DataError& e) {
        showError(e.message());
        return;
    }

    // On paper: one job per report, to the printer or, without one, to a PDF.
    std::unique_ptr<SystemPrintService> fallback;
    PrintService* printing = state_.services.printing;
    if (!printing) {
        fallback = std::make_unique<SystemPrintService>(state_.services.clock);
        printing = fallback.get();
    }
    const QString name = reportStudent >= 1 && reportStudent <= kMaxStudent
        ? trimSpaces(state_.roster.StudentNames[static_cast<size_t>(reportStudent)])
        : QString();
    std::unique_ptr<PrintJob> job = printing->startJob(QStringLiteral("成績レポート_") + name);
    drawReport(state_, request, data, *job);
    job->endDocument();
    if (state_.services.messages)
        tellPrintOutcome(*state_.services.messages, job->outcome());
}

} // namespace vc
