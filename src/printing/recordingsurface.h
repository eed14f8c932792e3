#pragma once
#include "printing/surface.h"

#include <vector>

namespace vc {

// A surface that keeps every operation instead of drawing, for tests and
// benchmarks. Its page is A4 with a 10 mm border, like the PDF; a character
// is measured as wide as its font size (half that for half-width characters)
// and every text as high as the font size.
class RecordingSurface : public DrawingSurface {
public:
    enum class Kind { Text, Line, Rectangle, Point, Clear, NewPage, EndDocument };
    struct Operation {
        Kind kind = Kind::Text;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // text and point: (x1, y1)
        unsigned colour = kBlack;
        int lineWidth = 1;
        QString text;
        double fontSize = 0;
        bool bold = false;
        int page = 1;  // the page the operation landed on
    };

    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;
    void printText(const QString& text) override;
    void drawLine(double x1, double y1, double x2, double y2, unsigned colour = kBlack) override;
    void drawRectangle(double x1, double y1, double x2, double y2, unsigned colour = kBlack) override;
    void drawPoint(double x, double y, unsigned colour = kBlack) override;
    double innerWidth() const override;
    double innerHeight() const override;
    double pageWidth() const override { return kA4WidthTwips; }
    double pageHeight() const override { return kA4HeightTwips; }
    void clear() override;
    void newPage() override;
    void endDocument() override;

    std::vector<Operation> operations;
    int pages = 1;

    // The operations of one kind, in order.
    std::vector<Operation> of(Kind kind) const;
    // The texts printed, in order.
    std::vector<QString> texts() const;

private:
    Operation make(Kind kind) const;
};

} // namespace vc
