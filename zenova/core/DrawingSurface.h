// What the diagram needs of a picture: the screen, the printer and the tests each provide
// one. Coordinates are device pixels of that picture, or on paper tenths of a millimetre.
#ifndef ZENOVA_DRAWING_SURFACE_H
#define ZENOVA_DRAWING_SURFACE_H

#include <cstdint>
#include <string_view>

namespace zenova {

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

namespace colours {
inline constexpr Colour white{255, 255, 255};
inline constexpr Colour black{0, 0, 0};
inline constexpr Colour navy{0, 0, 128};
inline constexpr Colour green{0, 128, 0};
inline constexpr Colour red{255, 0, 0};
inline constexpr Colour silver{192, 192, 192};
}  // namespace colours

// A dotted pen draws one pixel and leaves the next two; a dashed one draws short strokes.
enum class PenStyle { solid, dotted, dashed };

// Where a text's reference point lies on the text.
enum class TextAnchor { topCentre, topLeft, topRight, bottomCentre };

// The top left corner, in a device's y-down units, of a text box of the given size whose
// reference point lies at (x, y).
template <typename T>
struct TextCorner {
    T left;
    T top;
};
template <typename T>
constexpr TextCorner<T> textCorner(TextAnchor anchor, T x, T y, T width, T height) {
    switch (anchor) {
    case TextAnchor::topCentre:
        return {x - width / 2, y};
    case TextAnchor::topRight:
        return {x - width, y};
    case TextAnchor::bottomCentre:
        return {x - width / 2, y - height};
    case TextAnchor::topLeft:
        break;
    }
    return {x, y};
}

class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    virtual void clear() = 0;  // the whole picture white
    virtual void setPenColour(Colour colour) = 0;
    virtual void setPenWidth(int width) = 0;
    virtual void setPenStyle(PenStyle style) = 0;
    virtual void setBrushColour(Colour colour) = 0;
    // Ellipses are outlined only, until the next brush colour.
    virtual void setBrushClear() = 0;
    virtual void moveTo(int x, int y) = 0;
    // With the pen, up to but not including the end, which becomes the current point.
    virtual void lineTo(int x, int y) = 0;
    virtual void setPixel(int x, int y, Colour colour) = 0;
    // The ellipse whose outline touches the four sides of the box from (x1, y1) to (x2, y2),
    // filled with the brush.
    virtual void ellipse(int x1, int y1, int x2, int y2) = 0;
    virtual void setFont(std::string_view name, int height) = 0;
    // Text (UTF-8) in the current font and text colour (black at first), on a background of
    // the brush colour unless the background is transparent.
    virtual void text(int x, int y, std::string_view text, TextAnchor anchor) = 0;
    // How wide a text (UTF-8) stands in the current font, rounded up: what is placed beside
    // it is placed by this.
    virtual int textWidth(std::string_view text) const = 0;
    virtual void setTextColour(Colour colour) = 0;
    virtual void setTransparentText(bool transparent) = 0;
};

}  // namespace zenova

#endif
