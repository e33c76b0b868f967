// The diagram's drawing surface on a QImage: what the diagram window shows and what the
// tests render to PNG. Lines are drawn without antialiasing, so every curve keeps its exact
// colour.
#ifndef ZENOVA_QT_IMAGE_SURFACE_H
#define ZENOVA_QT_IMAGE_SURFACE_H

#include "DrawingSurface.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>

namespace zenova {

// Paints on the image for as long as it lives; the image must outlive it. Text needs a
// QGuiApplication.
class QtImageSurface final : public DrawingSurface {
public:
    explicit QtImageSurface(QImage& image);
    ~QtImageSurface() override;
    QtImageSurface(const QtImageSurface&) = delete;
    QtImageSurface& operator=(const QtImageSurface&) = delete;

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

    static QColor toQColor(Colour colour);
    static Qt::PenStyle toQtPenStyle(PenStyle style);

private:
    void applyPen();

    QImage& image_;
    QPainter painter_;
    QColor penColour_{Qt::black};
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::solid;
    QColor brushColour_{Qt::white};
    QColor textColour_{Qt::black};
    bool transparentText_ = false;
    QPoint current_{0, 0};
};

}  // namespace zenova

#endif
