#pragma once
#include "printing/surface.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>

namespace vc {

// The drawing operations on a QPainter whose world is laid out in twips.
// Fonts are sized by pixel size in that world (points × 20): a point size
// would be scaled by the device's resolution a second time.
class PainterSurface : public DrawingSurface {
public:
    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;
    void printText(const QString& text) override;
    void drawLine(double x1, double y1, double x2, double y2, unsigned colour = kBlack) override;
    void drawRectangle(double x1, double y1, double x2, double y2, unsigned colour = kBlack) override;
    void drawPoint(double x, double y, unsigned colour = kBlack) override;

    // The QFont the surface draws with now.
    const QFont& font() const { return font_; }

protected:
    PainterSurface();
    // Starts drawing with `painter`, already begun, whose device has `dotsPerInch`
    // and whose drawable area starts at its origin.
    void attach(QPainter* painter, double dotsPerInch);
    QPainter* painter() const { return painter_; }
    void fontChanged() override;

private:
    QPen pen(unsigned colour) const;
    double dotTwips() const { return kTwipsPerInch / dpi_; }

    QPainter* painter_ = nullptr;
    double dpi_ = 96;
    QFont font_;
};

// The on-screen preview: a picture of the drawable area, `pixelWidth` pixels
// wide and as high as the area's proportions make it.
class ImageSurface : public PainterSurface {
public:
    ImageSurface(double innerWidthTwips, double innerHeightTwips, int pixelWidth);
    ~ImageSurface() override;

    double innerWidth() const override { return width_; }
    double innerHeight() const override { return height_; }
    double pageWidth() const override { return width_; }
    double pageHeight() const override { return height_; }
    void clear() override;
    void newPage() override { clear(); }
    void endDocument() override {}

    // The picture as drawn so far (the painter is flushed first).
    const QImage& image();

private:
    double width_;
    double height_;
    QImage image_;
    QPainter painter_;
};

// Fonts the program asks for by their Windows names, with the CJK fonts this
// platform has behind them.
QStringList fontFamiliesFor(const QString& name);

} // namespace vc
