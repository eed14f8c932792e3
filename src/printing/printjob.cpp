#include "printing/printjob.h"

#include "platform/clock.h"
#include "platform/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace vc {
namespace {

// The PDF keeps the border a printer cannot print on anyway, so both lay out alike.
constexpr double kPdfMarginMm = 10;

double toTwips(double value, double dpi) { return value * kTwipsPerInch / dpi; }

QString safeFileText(const QString& what)
{
    QString text;
    for (QChar c : what) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c) || c.isSpace())
            text += u'_';
        else
            text += c;
    }
    return text.left(60);
}

} // namespace

PrintJob::PrintJob() = default;

PrintJob::~PrintJob()
{
    if (painter_.isActive())
        painter_.end();
}

bool PrintJob::open()
{
    if (!painter_.begin(printer_.get())) {
        fail(toPdf_ ? QStringLiteral("PDFファイルを書けません。") : QStringLiteral("プリンターを使えません。"));
        return false;
    }
    const double dpi = printer_->resolution();
    const QRectF paper = printer_->paperRect(QPrinter::DevicePixel);
    const QRectF page = printer_->pageRect(QPrinter::DevicePixel);
    pageWidth_ = toTwips(paper.width(), dpi);
    pageHeight_ = toTwips(paper.height(), dpi);
    innerWidth_ = toTwips(page.width(), dpi);
    innerHeight_ = toTwips(page.height(), dpi);
    attach(&painter_, dpi);
    return true;
}

void PrintJob::fail(const QString& error)
{
    outcome_.kind = PrintOutcome::Kind::Failed;
    outcome_.error = error;
    ended_ = true;
    // The name reserved for a PDF that never came to be is given back.
    if (toPdf_ && !outcome_.pdfPath.isEmpty() && QFileInfo(outcome_.pdfPath).isFile() && QFileInfo(outcome_.pdfPath).size() == 0)
        QFile::remove(outcome_.pdfPath);
}

void PrintJob::newPage()
{
    if (ended_ || !painter_.isActive())
        return;
    if (!printer_->newPage())
        fail(QStringLiteral("新しいページを始められません。"));
}

void PrintJob::setCopyCount(int copies)
{
    DrawingSurface::setCopyCount(copies);
    if (printer_)
        printer_->setCopyCount(copyCount());
}

// The page is A4 portrait from the start; other sizes are not used.
void PrintJob::setPaperSize(int code) { DrawingSurface::setPaperSize(code); }
void PrintJob::setOrientation(int code) { DrawingSurface::setOrientation(code); }

void PrintJob::endDocument()
{
    if (ended_)
        return;
    ended_ = true;
    if (!painter_.end() || printer_->printerState() == QPrinter::Error) {
        outcome_.kind = PrintOutcome::Kind::Failed;
        outcome_.error = toPdf_ ? QStringLiteral("PDFファイルを書けません。") : QStringLiteral("印刷に失敗しました。");
        return;
    }
    if (toPdf_) {
        // A PDF that did not come out whole is not reported as saved.
        if (QFileInfo(outcome_.pdfPath).size() == 0) {
            outcome_.kind = PrintOutcome::Kind::Failed;
            outcome_.error = QStringLiteral("PDFファイルを書けません。");
            return;
        }
        outcome_.kind = PrintOutcome::Kind::SavedAsPdf;
    } else {
        outcome_.kind = PrintOutcome::Kind::Printed;
    }
}

SystemPrintService::SystemPrintService(const Clock* clock, Target target, QString pdfFolder)
    : clock_(clock), target_(target), pdfFolder_(std::move(pdfFolder))
{
}

std::unique_ptr<PrintJob> SystemPrintService::startJob(const QString& what)
{
    std::unique_ptr<PrintJob> job(new PrintJob);
    const QPrinterInfo printerInfo = target_ == Target::DefaultPrinterOrPdf ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
    if (!printerInfo.isNull()) {
        job->printer_ = std::make_unique<QPrinter>(printerInfo, QPrinter::HighResolution);
        job->outcome_.printerName = printerInfo.printerName();
    } else {
        job->toPdf_ = true;
        const QDateTime when = clock_ ? QDateTime(clock_->today(), clock_->timeOfDay()) : QDateTime::currentDateTime();
        const QString folder = pdfFolder_.isEmpty() ? defaultPdfFolder() : pdfFolder_;
        QString error;
        const QString path = reservePdfPath(folder, what, when, &error);
        job->outcome_.pdfPath = path.isEmpty() ? folder : path;
        if (path.isEmpty()) {
            job->fail(error);
            return job;
        }
        job->printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        job->printer_->setOutputFormat(QPrinter::PdfFormat);
        job->printer_->setOutputFileName(path);
        job->printer_->setDocName(what);
        job->printer_->setPageMargins(QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm), QPageLayout::Millimeter);
    }
    job->printer_->setPageSize(QPageSize(QPageSize::A4));
    job->printer_->setPageOrientation(QPageLayout::Portrait);
    job->printer_->setDocName(what);
    job->open();
    return job;
}

QSizeF pdfDrawableArea()
{
    // The page layout the PDF printer gets, measured as the job measures it.
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                             QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm), QPageLayout::Millimeter);
    return layout.paintRect(QPageLayout::Point).size() * kTwipsPerPoint;
}

QSizeF SystemPrintService::drawableArea() const
{
    const QPrinterInfo info = target_ == Target::DefaultPrinterOrPdf ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
    if (info.isNull())
        return pdfDrawableArea();
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    const double dpi = printer.resolution();
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    return {toTwips(page.width(), dpi), toTwips(page.height(), dpi)};
}

QString defaultPdfFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Vocarimo");
}

QString reservePdfPath(const QString& folder, const QString& what, const QDateTime& when, QString* error)
{
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("フォルダ「%1」を作れません。").arg(QDir::toNativeSeparators(folder));
        return {};
    }
    const QString stem = folder + u'/' + when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + u'-' + safeFileText(what);
    for (int n = 1; n < 1000; ++n) {
        const QString path = n == 1 ? stem + QStringLiteral(".pdf") : stem + QStringLiteral("-%1.pdf").arg(n);
        QFile file(path);
        // NewOnly fails when the name is taken: an older file is never overwritten.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        if (!QFile::exists(path))
            break;
    }
    if (error)
        *error = QStringLiteral("フォルダ「%1」にPDFファイルを作れません。").arg(QDir::toNativeSeparators(folder));
    return {};
}

void tellPrintOutcome(MessageService& messages, const PrintOutcome& outcome)
{
    const QString title = QStringLiteral("印刷");
    switch (outcome.kind) {
    case PrintOutcome::Kind::Printed:
        return;
    case PrintOutcome::Kind::SavedAsPdf:
        messages.show(QStringLiteral("プリンターがないため、PDFファイルに保存しました。\n%1").arg(QDir::toNativeSeparators(outcome.pdfPath)),
                      title, MessageService::Buttons::Ok, MessageService::Icon::Information);
        return;
    case PrintOutcome::Kind::Failed: {
        QString text = QStringLiteral("印刷できませんでした。") + outcome.error;
        if (!outcome.pdfPath.isEmpty())
            text += u'\n' + QDir::toNativeSeparators(outcome.pdfPath);
        messages.show(text, title, MessageService::Buttons::Ok, MessageService::Icon::Warning);
        return;
    }
    }
}

} // namespace vc
