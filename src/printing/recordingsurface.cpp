#include "printing/recordingsurface.h"

namespace vc {
namespace {

constexpr double kBorderTwips = 567;  // 10 mm

bool isWide(QChar c) { return c.unicode() >= 0x1100 && !(c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F); }

} // namespace

RecordingSurface::Operation RecordingSurface::make(Kind kind) const
{
    Operation op;
    op.kind = kind;
    op.lineWidth = lineWidth();
    op.fontSize = fontSize();
    op.bold = fontBold();
    op.page = pages;
    return op;
}

double RecordingSurface::textWidth(const QString& text) const
{
    double units = 0;
    for (QChar c : text)
        units += isWide(c) ? 1.0 : 0.5;
    return units * fontSize() * kTwipsPerPoint;
}

double RecordingSurface::textHeight(const QString&) const { return fontSize() * kTwipsPerPoint; }

void RecordingSurface::printText(const QString& text)
{
    Operation op = make(Kind::Text);
    op.x1 = currentX();
    op.y1 = currentY();
    op.text = text;
    operations.push_back(op);
    setCurrentY(currentY() + textHeight(text));
}

void RecordingSurface::drawLine(double x1, double y1, double x2, double y2, unsigned colour)
{
    Operation op = make(Kind::Line);
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2, op.colour = colour;
    operations.push_back(op);
}

void RecordingSurface::drawRectangle(double x1, double y1, double x2, double y2, unsigned colour)
{
    Operation op = make(Kind::Rectangle);
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2, op.colour = colour;
    operations.push_back(op);
}

void RecordingSurface::drawPoint(double x, double y, unsigned colour)
{
    Operation op = make(Kind::Point);
    op.x1 = x, op.y1 = y, op.colour = colour;
    operations.push_back(op);
}

double RecordingSurface::innerWidth() const { return kA4WidthTwips - 2 * kBorderTwips; }
double RecordingSurface::innerHeight() const { return kA4HeightTwips - 2 * kBorderTwips; }

void RecordingSurface::clear() { operations.push_back(make(Kind::Clear)); }

void RecordingSurface::newPage()
{
    ++pages;
    operations.push_back(make(Kind::NewPage));
}

void RecordingSurface::endDocument() { operations.push_back(make(Kind::EndDocument)); }

std::vector<RecordingSurface::Operation> RecordingSurface::of(Kind kind) const
{
    std::vector<Operation> found;
    for (const Operation& op : operations)
        if (op.kind == kind)
            found.push_back(op);
    return found;
}

std::vector<QString> RecordingSurface::texts() const
{
    std::vector<QString> found;
    for (const Operation& op : operations)
        if (op.kind == Kind::Text)
            found.push_back(op.text);
    return found;
}

} // namespace vc
