#include "QtPageSurface.h"

#include "QtImageSurface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPen>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <cmath>

namespace zenova {

namespace {

constexpr double kTenthsOfMmPerInch = 254.0;
constexpr int kMeasuringSize = 1000;  // pixel size at which a font's cell is measured

QString fromUtf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QtPageSurface::QtPageSurface(QPainter& painter, int dotsPerInch)
    : painter_(painter), scale_(std::max(dotsPerInch, 1) / kTenthsOfMmPerInch) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    applyPen();
    painter_.setBrush(brushColour_);
}

QtPageSurface::~QtPageSurface() { painter_.restore(); }

void QtPageSurface::applyPen() {
    QPen pen(penColour_);
    pen.setWidthF(penWidth_ * scale_);
    pen.setStyle(QtImageSurface::toQtPenStyle(penStyle_));
    // Round ends close the joints of a curve drawn line by line; broken lines keep square gaps.
    pen.setCapStyle(penStyle_ == PenStyle::solid ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_.setPen(pen);
}

void QtPageSurface::clear() {
    const QPaintDevice* d = painter_.device();
    painter_.fillRect(QRectF(0, 0, d->width(), d->height()), Qt::white);
}

void QtPageSurface::setPenColour(Colour colour) {
    penColour_ = QtImageSurface::toQColor(colour);
    applyPen();
}

void QtPageSurface::setPenWidth(int width) {
    penWidth_ = std::max(width, 1);
    applyPen();
}

void QtPageSurface::setPenStyle(PenStyle style) {
    penStyle_ = style;
    applyPen();
}

void QtPageSurface::setBrushColour(Colour colour) {
    brushColour_ = QtImageSurface::toQColor(colour);
    painter_.setBrush(brushColour_);
}

void QtPageSurface::setBrushClear() { painter_.setBrush(Qt::NoBrush); }

void QtPageSurface::moveTo(int x, int y) { current_ = device(x, y); }

void QtPageSurface::lineTo(int x, int y) {
    const QPointF end = device(x, y);
    if (end == current_) {
        painter_.drawPoint(end);
    } else {
        painter_.drawLine(current_, end);
    }
    current_ = end;
}

void QtPageSurface::setPixel(int x, int y, Colour colour) {
    painter_.fillRect(QRectF(device(x, y), QSizeF(scale_, scale_)), QtImageSurface::toQColor(colour));
}

void QtPageSurface::ellipse(int x1, int y1, int x2, int y2) {
    painter_.drawEllipse(QRectF(device(x1, y1), device(x2, y2)).normalized());
}

void QtPageSurface::setFont(std::string_view name, int height) {
    // The font's pixel size that gives a character cell of the height asked for, measured on
    // the device: a printer's pixels are not the screen's.
    QFont font(fromUtf8(name));
    font.setPixelSize(kMeasuringSize);
    const QFontMetricsF measured(font, painter_.device());
    const double cell = measured.ascent() + measured.descent();
    const double wanted = std::max(height, 1) * scale_;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(kMeasuringSize * wanted / cell))));
    font_ = font;
    painter_.setFont(font_);
}

void QtPageSurface::text(int x, int y, std::string_view text, TextAnchor anchor) {
    const QString s = fromUtf8(text);
    const QFontMetricsF metrics(font_, painter_.device());
    const double width = metrics.horizontalAdvance(s);
    const double cell = metrics.ascent() + metrics.descent();
    const QPointF at = device(x, y);
    const auto [left, top] = textCorner(anchor, at.x(), at.y(), width, cell);
    if (!transparentText_) {
        painter_.fillRect(QRectF(left, top, width, cell), brushColour_);
    }
    painter_.save();
    painter_.setPen(textColour_);
    painter_.drawText(QPointF(left, top + metrics.ascent()), s);
    painter_.restore();
}

int QtPageSurface::textWidth(std::string_view text) const {
    const QFontMetricsF metrics(font_, painter_.device());
    return static_cast<int>(std::ceil(metrics.horizontalAdvance(fromUtf8(text)) / scale_));
}

void QtPageSurface::setTextColour(Colour colour) { textColour_ = QtImageSurface::toQColor(colour); }

void QtPageSurface::setTransparentText(bool transparent) { transparentText_ = transparent; }

}  // namespace zenova
