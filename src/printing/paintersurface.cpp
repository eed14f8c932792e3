#include "printing/paintersurface.h"

#include "platform/twips.h"

#include <QFontMetricsF>
#include <QPen>
#include <cmath>

namespace vc {

QStringList fontFamiliesFor(const QString& name)
{
    // The monospaced Noto face first: layouts that line up full-width blanks
    // with half-width digits need one, and in PDFs its digits stay
    // extractable text (those of the proportional CJK faces do not).
    QStringList families{name};
    families << QStringLiteral("Noto Sans Mono CJK JP") << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("monospace");
    return families;
}

PainterSurface::PainterSurface() { fontChanged(); }

void PainterSurface::attach(QPainter* painter, double dotsPerInch)
{
    painter_ = painter;
    dpi_ = dotsPerInch > 0 ? dotsPerInch : 96;
    const double scale = dpi_ / kTwipsPerInch;
    painter_->resetTransform();
    painter_->scale(scale, scale);
    painter_->setRenderHint(QPainter::Antialiasing);
    painter_->setRenderHint(QPainter::TextAntialiasing);
    painter_->setFont(font_);
}

void PainterSurface::fontChanged()
{
    QFont f;
    f.setFamilies(fontFamiliesFor(fontName()));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(fontSize() * kTwipsPerPoint))));
    f.setBold(fontBold());
    // Measured widths then hold at every size and resolution.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    font_ = f;
    if (painter_)
        painter_->setFont(font_);
}

double PainterSurface::textWidth(const QString& text) const { return QFontMetricsF(font_).horizontalAdvance(text); }

// Text is placed and measured by its em box, as the Japanese printer fonts
// the layouts were made for are: a line is one em high and the em box's top
// (0.88 em above the baseline in CJK fonts) sits at the current position.
// The Noto faces' own line metrics are half as high again and would push
// every text below its place.
constexpr double kEmAscent = 0.88;

double PainterSurface::textHeight(const QString&) const { return font_.pixelSize(); }

void PainterSurface::printText(const QString& text)
{
    if (painter_) {
        painter_->setPen(pen(kBlack));
        painter_->drawText(QPointF(currentX(), currentY() + kEmAscent * font_.pixelSize()), text);
    }
    setCurrentY(currentY() + textHeight(text));
}

QPen PainterSurface::pen(unsigned colour) const
{
    QPen p(QColor::fromRgb(bgrToRgb(colour)));
    p.setWidthF(lineWidth() * dotTwips());
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

void PainterSurface::drawLine(double x1, double y1, double x2, double y2, unsigned colour)
{
    if (!painter_)
        return;
    painter_->setPen(pen(colour));
    painter_->drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterSurface::drawRectangle(double x1, double y1, double x2, double y2, unsigned colour)
{
    if (!painter_)
        return;
    painter_->setPen(pen(colour));
    painter_->setBrush(fillTransparent() ? QBrush(Qt::NoBrush) : QBrush(QColor::fromRgb(bgrToRgb(colour))));
    painter_->drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
    painter_->setBrush(Qt::NoBrush);
}

void PainterSurface::drawPoint(double x, double y, unsigned colour)
{
    if (!painter_)
        return;
    // A dot as wide as the line width, never thinner than one device dot.
    const double radius = std::max(1, lineWidth()) * dotTwips() / 2;
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(QColor::fromRgb(bgrToRgb(colour)));
    painter_->drawEllipse(QPointF(x, y), radius, radius);
    painter_->setBrush(Qt::NoBrush);
}

ImageSurface::ImageSurface(double innerWidthTwips, double innerHeightTwips, int pixelWidth)
    : width_(innerWidthTwips), height_(innerHeightTwips)
{
    const int w = std::max(1, pixelWidth);
    const int h = std::max(1, static_cast<int>(std::lround(w * innerHeightTwips / innerWidthTwips)));
    image_ = QImage(w, h, QImage::Format_RGB32);
    image_.fill(Qt::white);
    painter_.begin(&image_);
    attach(&painter_, kTwipsPerInch * w / innerWidthTwips);
}

ImageSurface::~ImageSurface() { painter_.end(); }

void ImageSurface::clear()
{
    painter_.save();
    painter_.resetTransform();
    painter_.fillRect(QRect(0, 0, image_.width(), image_.height()), Qt::white);
    painter_.restore();
}

const QImage& ImageSurface::image()
{
    // Finish the pending drawing, then go on drawing on the same picture.
    painter_.end();
    painter_.begin(&image_);
    attach(&painter_, kTwipsPerInch * image_.width() / width_);
    return image_;
}

} // namespace vc
