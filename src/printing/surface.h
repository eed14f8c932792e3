#pragma once
#include <QString>
#include <QStringList>

namespace vc {

// Page geometry in twips (1440 per inch).
inline constexpr double kTwipsPerInch = 1440;
inline constexpr double kTwipsPerPoint = 20;
inline constexpr double kA4WidthTwips = 11906;   // 210 mm
inline constexpr double kA4HeightTwips = 16838;  // 297 mm
// The paper size and orientation codes the printing callers use.
inline constexpr int kPaperA4 = 9;
inline constexpr int kOrientationPortrait = 1;

// Colours 0xBBGGRR, as everywhere in the data.
inline constexpr unsigned kBlack = 0x000000;
inline constexpr unsigned kRed = 0x0000FF;
inline constexpr unsigned kBlue = 0xFF0000;

// What every printing screen draws on: the printer (or the PDF that stands in
// for it) and the on-screen preview alike, so one piece of drawing code
// serves both. Lengths are twips from the top-left corner of the drawable
// area; line widths are device dots (pixels on screen, printer dots on paper).
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    // Where the next text starts (its top-left corner).
    void setCurrentPosition(double x, double y) { x_ = x; y_ = y; }
    void setCurrentX(double x) { x_ = x; }
    void setCurrentY(double y) { y_ = y; }
    double currentX() const { return x_; }
    double currentY() const { return y_; }

    // The font of text drawn and measured from now on.
    void setFontName(const QString& name) { fontName_ = name; fontChanged(); }
    void setFontSize(double points) { fontSize_ = points; fontChanged(); }
    void setFontBold(bool bold) { bold_ = bold; fontChanged(); }
    const QString& fontName() const { return fontName_; }
    double fontSize() const { return fontSize_; }
    bool fontBold() const { return bold_; }

    // Measured in the current font, in twips.
    virtual double textWidth(const QString& text) const = 0;
    virtual double textHeight(const QString& text) const = 0;
    // Draws the text with its top-left corner at the current position, then
    // moves the position one text height down (x stays), ready for the next line.
    virtual void printText(const QString& text) = 0;

    // A straight line in the current line width.
    virtual void drawLine(double x1, double y1, double x2, double y2, unsigned colour = kBlack) = 0;
    // A rectangle by two corners; only its outline while the fill style is transparent.
    virtual void drawRectangle(double x1, double y1, double x2, double y2, unsigned colour = kBlack) = 0;
    // One dot, as wide as the current line width.
    virtual void drawPoint(double x, double y, unsigned colour = kBlack) = 0;

    void setLineWidth(int dots) { lineWidth_ = dots < 1 ? 1 : dots; }
    int lineWidth() const { return lineWidth_; }
    void setFillTransparent(bool transparent) { fillTransparent_ = transparent; }
    bool fillTransparent() const { return fillTransparent_; }

    // The drawable area and the whole sheet, in twips.
    virtual double innerWidth() const = 0;
    virtual double innerHeight() const = 0;
    virtual double pageWidth() const = 0;
    virtual double pageHeight() const = 0;

    // Preview: erases every drawing. On paper a page cannot be erased: nothing happens.
    virtual void clear() = 0;
    // Paper: the next drawing goes to the top of a fresh page. Preview: the
    // picture is erased, as it shows one page at a time.
    virtual void newPage() = 0;
    // Paper: the pages drawn so far go out as one job (one document); the
    // surface takes no more drawing. Preview: nothing happens.
    virtual void endDocument() = 0;

    // Paper only; set before the first drawing. A preview remembers them.
    virtual void setCopyCount(int copies) { copies_ = copies < 1 ? 1 : copies; }
    int copyCount() const { return copies_; }
    // A4 (9) and portrait (1) are the only ones the program uses.
    virtual void setPaperSize(int code) { paperSize_ = code; }
    virtual void setOrientation(int code) { orientation_ = code; }
    int paperSize() const { return paperSize_; }
    int orientation() const { return orientation_; }

protected:
    virtual void fontChanged() {}

private:
    double x_ = 0;
    double y_ = 0;
    QString fontName_ = QStringLiteral("ＭＳ ゴシック");
    double fontSize_ = 9;
    bool bold_ = false;
    int lineWidth_ = 1;
    bool fillTransparent_ = true;
    int copies_ = 1;
    int paperSize_ = kPaperA4;
    int orientation_ = kOrientationPortrait;
};

} // namespace vc

namespace vc {

// Breaks `text` into lines no wider than `width` twips in the surface's
// current font, as a multi-line text box of that width would: after the
// last blank that fits, or, in a run without blanks (Japanese), after the
// last character that fits; a line break in the text always ends a line.
// Every line holds at least one character and at most 128, and blanks at a
// break are dropped.
QStringList wrapText(const DrawingSurface& surface, const QString& text, double width);

} // namespace vc
