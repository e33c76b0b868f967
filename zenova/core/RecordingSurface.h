// A drawing surface that keeps the sequence of drawing operations as text lines, one per
// operation, for tests and golden logs.
#ifndef ZENOVA_RECORDING_SURFACE_H
#define ZENOVA_RECORDING_SURFACE_H

#include "DrawingSurface.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zenova {

class RecordingSurface final : public DrawingSurface {
public:
    // A text's width from the font's name and height; measuring is not recorded.
    using TextMeasure = std::function<int(std::string_view font, int height, std::string_view text)>;
    // Without a measure, each character (not byte) is half the font's height wide.
    explicit RecordingSurface(TextMeasure measure = {});

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

    const std::vector<std::string>& operations() const { return operations_; }
    std::string log() const;  // every operation followed by a newline
    void reset() { operations_.clear(); }

    // "navy", "green", ... for the diagram's colours, otherwise "#rrggbb".
    static std::string colourName(Colour colour);

private:
    std::vector<std::string> operations_;
    TextMeasure measure_;
    std::string fontName_;
    int fontHeight_ = 0;
};

}  // namespace zenova

#endif
