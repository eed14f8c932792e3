#pragma once
#include "printing/paintersurface.h"

#include <QDateTime>
#include <QSizeF>
#include <QString>
#include <memory>

class QPrinter;

namespace vc {

class Clock;
class MessageService;

// How a print job ended.
struct PrintOutcome {
    enum class Kind { Printed, SavedAsPdf, Failed };
    Kind kind = Kind::Failed;
    QString printerName;  // Printed
    QString pdfPath;      // SavedAsPdf, and Failed when the PDF could not be written
    QString error;        // Failed: what went wrong, in Japanese
};

// One document on paper: the default printer, or, when the machine has none,
// a PDF file in the documents folder. Pages and copies as the surface's
// operations say; endDocument() sends the job and settles the outcome.
class PrintJob : public PainterSurface {
public:
    ~PrintJob() override;

    double innerWidth() const override { return innerWidth_; }
    double innerHeight() const override { return innerHeight_; }
    double pageWidth() const override { return pageWidth_; }
    double pageHeight() const override { return pageHeight_; }
    void clear() override {}
    void newPage() override;
    void endDocument() override;
    void setCopyCount(int copies) override;
    void setPaperSize(int code) override;
    void setOrientation(int code) override;

    // Known once the document has ended (a job left unended fails).
    const PrintOutcome& outcome() const { return outcome_; }

private:
    friend class SystemPrintService;
    PrintJob();
    // Opens the printer or the PDF; false (with the outcome set) when it cannot.
    bool open();
    void fail(const QString& error);

    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    bool toPdf_ = false;
    bool ended_ = false;
    double innerWidth_ = 0, innerHeight_ = 0, pageWidth_ = kA4WidthTwips, pageHeight_ = kA4HeightTwips;
    PrintOutcome outcome_;
};

// Starts print jobs. Injected, so tests and machines without a printer write PDFs.
class PrintService {
public:
    virtual ~PrintService() = default;
    // A new A4 portrait document; `what` names what is printed (it goes into
    // the PDF's file name). Drawing on a job that could not start draws
    // nothing, and its endDocument() reports the failure.
    virtual std::unique_ptr<PrintJob> startJob(const QString& what) = 0;
    // The drawable area of the pages a job would print, in twips: the size a
    // preview picture takes so that both lay out alike.
    virtual QSizeF drawableArea() const = 0;
};

class SystemPrintService : public PrintService {
public:
    enum class Target { DefaultPrinterOrPdf, PdfOnly };
    // `clock` dates the PDF names; `pdfFolder` empty means the documents folder's "Vocarimo".
    explicit SystemPrintService(const Clock* clock, Target target = Target::DefaultPrinterOrPdf, QString pdfFolder = {});
    std::unique_ptr<PrintJob> startJob(const QString& what) override;
    QSizeF drawableArea() const override;

private:
    const Clock* clock_;
    Target target_;
    QString pdfFolder_;
};

// The drawable area of the PDFs' pages: A4 with a 10 mm border.
QSizeF pdfDrawableArea();

// QStandardPaths' documents folder + "/Vocarimo".
QString defaultPdfFolder();
// A new file in `folder` named "yyyyMMdd-HHmmss-<what>.pdf" (what's characters
// that a file name cannot hold become "_"), with "-2", "-3", … before the
// extension while the name is taken. The file is created empty, so another
// job, here or on another computer, cannot take the same name. Empty when the
// folder cannot be made or written.
QString reservePdfPath(const QString& folder, const QString& what, const QDateTime& when, QString* error = nullptr);

// Tells the user where a PDF went, or why a print failed; a print on the
// printer itself needs no message.
void tellPrintOutcome(MessageService& messages, const PrintOutcome& outcome);

} // namespace vc
