#include "QtImageSurface.h"

#include <QFontMetrics>
#include <QPen>
#include <QRect>
#include <QString>

namespace zenova {

QtImageSurface::QtImageSurface(QImage& image) : image_(image) {
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    applyPen();
    painter_.setBrush(brushColour_);
    painter_.setBackground(brushColour_);
}

QtImageSurface::~QtImageSurface() { painter_.end(); }

QColor QtImageSurface::toQColor(Colour colour) { return QColor(colour.red, colour.green, colour.blue); }

Qt::PenStyle QtImageSurface::toQtPenStyle(PenStyle style) {
    switch (style) {
    case PenStyle::dotted:
        return Qt::DotLine;
    case PenStyle::dashed:
        return Qt::DashLine;
    case PenStyle::solid:
        break;
    }
    return Qt::SolidLine;
}

void QtImageSurface::applyPen() {
    QPen pen(penColour_);
    pen.setWidth(penWidth_);
    pen.setStyle(toQtPenStyle(penStyle_));
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
}

void QtImageSurface::clear() { painter_.fillRect(image_.rect(), Qt::white); }

void QtImageSurface::setPenColour(Colour colour) {
    penColour_ = toQColor(colour);
    applyPen();
}

void QtImageSurface::setPenWidth(int width) {
    penWidth_ = width < 1 ? 1 : width;
    applyPen();
}

void QtImageSurface::setPenStyle(PenStyle style) {
    penStyle_ = style;
    applyPen();
}

void QtImageSurface::setBrushColour(Colour colour) {
    brushColour_ = toQColor(colour);
    painter_.setBrush(brushColour_);
    painter_.setBackground(brushColour_);
}

void QtImageSurface::setBrushClear() { painter_.setBrush(Qt::NoBrush); }

void QtImageSurface::moveTo(int x, int y) { current_ = QPoint(x, y); }

void QtImageSurface::lineTo(int x, int y) {
    const QPoint end(x, y);
    if (end == current_) {
        painter_.drawPoint(end);
    } else {
        painter_.drawLine(current_, end);
    }
    current_ = end;
}

void QtImageSurface::setPixel(int x, int y, Colour colour) {
    if (image_.rect().contains(x, y)) {
        painter_.save();
        painter_.setPen(QPen(toQColor(colour), 1));
        painter_.drawPoint(x, y);
        painter_.restore();
    }
}

void QtImageSurface::ellipse(int x1, int y1, int x2, int y2) {
    painter_.drawEllipse(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

void QtImageSurface::setFont(std::string_view name, int height) {
    QFont font(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    font.setPixelSize(height < 1 ? 1 : height);
    font.setStyleStrategy(QFont::NoAntialias);
    painter_.setFont(font);
}

void QtImageSurface::text(int x, int y, std::string_view text, TextAnchor anchor) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics metrics(painter_.font());
    const int width = metrics.horizontalAdvance(s);
    const auto [left, top] = textCorner(anchor, x, y, width, metrics.height());
    // Text is written in its own colour whatever the pen, on a box of the brush colour that
    // hides the grid lines behind it; only text is opaque, so dotted lines keep what lies
    // beneath.
    painter_.save();
    painter_.setPen(textColour_);
    painter_.setBackgroundMode(transparentText_ ? Qt::TransparentMode : Qt::OpaqueMode);
    painter_.drawText(QRect(left, top, width, metrics.height()), Qt::AlignLeft | Qt::AlignTop, s);
    painter_.restore();
}

int QtImageSurface::textWidth(std::string_view text) const {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return QFontMetrics(painter_.font()).horizontalAdvance(s);
}

void QtImageSurface::setTextColour(Colour colour) { textColour_ = toQColor(colour); }

void QtImageSurface::setTransparentText(bool transparent) { transparentText_ = transparent; }

}  // namespace zenova
