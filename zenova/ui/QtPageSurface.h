// The printout's drawing surface on a paint device, a printer above all: page coordinates in
// tenths of a millimetre from the top left of the printable area, y growing upwards, mapped
// by hand to device pixels (x s, -y s with s = resolution / 254) so that text stays upright.
// Pen widths and font heights are tenths of a millimetre too; a font's height is its
// character cell, ascent and descent.
#ifndef ZENOVA_QT_PAGE_SURFACE_H
#define ZENOVA_QT_PAGE_SURFACE_H

#include "DrawingSurface.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>

namespace zenova {

// Draws with a painter that is active on its device, for as long as it lives; the painter's
// state is given back at the end.
class QtPageSurface final : public DrawingSurface {
public:
    QtPageSurface(QPainter& painter, int dotsPerInch);
    ~QtPageSurface() override;
    QtPageSurface(const QtPageSurface&) = delete;
    QtPageSurface& operator=(const QtPageSurface&) = delete;

    void clear() override;
    void setPenColour(Colour colour) override;
    void setPenWidth(int width) override;
    void setPenStyle(PenStyle style) override;
    void setBrushColour(Colour colour) override;
    void setBrushClear() override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setPixel(int x, int y, Colour colour) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void setFont(std::string_view name, int height) override;
    void text(int x, int y, std::string_view text, TextAnchor anchor) override;
    int textWidth(std::string_view text) const override;
    void setTextColour(Colour colour) override;
    void setTransparentText(bool transparent) override;

    // Device pixels per tenth of a millimetre.
    double scale() const { return scale_; }
    QPointF device(int x, int y) const { return {x * scale_, -y * scale_}; }

private:
    void applyPen();

    QPainter& painter_;
    double scale_;
    QColor penColour_{Qt::black};
    double penWidth_ = 1.0;
    PenStyle penStyle_ = PenStyle::solid;
    QColor brushColour_{Qt::white};
    QColor textColour_{Qt::black};
    bool transparentText_ = false;
    QFont font_;
    QPointF current_{0.0, 0.0};
};

}  // namespace zenova

#endif
