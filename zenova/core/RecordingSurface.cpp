#include "RecordingSurface.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace zenova {

namespace {

std::string numbers(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values) {
        out += ' ';
        out += std::to_string(v);
    }
    return out;
}

}  // namespace

RecordingSurface::RecordingSurface(TextMeasure measure) : measure_(std::move(measure)) {}

int RecordingSurface::textWidth(std::string_view text) const {
    if (measure_) {
        return measure_(fontName_, fontHeight_, text);
    }
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xc0) != 0x80; });
    return (static_cast<int>(characters) * fontHeight_ + 1) / 2;
}

std::string RecordingSurface::colourName(Colour colour) {
    struct Named {
        Colour colour;
        const char* name;
    };
    static constexpr Named kNames[] = {
        {colours::white, "white"}, {colours::black, "black"}, {colours::navy, "navy"},
        {colours::green, "green"}, {colours::red, "red"},     {colours::silver, "silver"},
    };
    for (const Named& n : kNames) {
        if (n.colour == colour) {
            return n.name;
        }
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return hex;
}

void RecordingSurface::clear() { operations_.emplace_back("clear"); }

void RecordingSurface::setPenColour(Colour colour) { operations_.push_back("penColour " + colourName(colour)); }

void RecordingSurface::setPenWidth(int width) { operations_.push_back("penWidth" + numbers({width})); }

void RecordingSurface::setPenStyle(PenStyle style) {
    static constexpr const char* kNames[] = {"penStyle solid", "penStyle dotted", "penStyle dashed"};
    operations_.emplace_back(kNames[static_cast<int>(style)]);
}

void RecordingSurface::setBrushColour(Colour colour) {
    operations_.push_back("brushColour " + colourName(colour));
}

void RecordingSurface::setBrushClear() { operations_.emplace_back("brushClear"); }

void RecordingSurface::moveTo(int x, int y) { operations_.push_back("moveTo" + numbers({x, y})); }

void RecordingSurface::lineTo(int x, int y) { operations_.push_back("lineTo" + numbers({x, y})); }

void RecordingSurface::setPixel(int x, int y, Colour colour) {
    operations_.push_back("pixel" + numbers({x, y}) + ' ' + colourName(colour));
}

void RecordingSurface::ellipse(int x1, int y1, int x2, int y2) {
    operations_.push_back("ellipse" + numbers({x1, y1, x2, y2}));
}

void RecordingSurface::setFont(std::string_view name, int height) {
    fontName_ = name;
    fontHeight_ = height;
    operations_.push_back("font \"" + std::string(name) + '"' + numbers({height}));
}

void RecordingSurface::text(int x, int y, std::string_view text, TextAnchor anchor) {
    static constexpr const char* kAnchors[] = {" top-centre", " top-left", " top-right", " bottom-centre"};
    operations_.push_back("text" + numbers({x, y}) + kAnchors[static_cast<int>(anchor)] + " \"" + std::string(text) +
                          '"');
}

void RecordingSurface::setTextColour(Colour colour) { operations_.push_back("textColour " + colourName(colour)); }

void RecordingSurface::setTransparentText(bool transparent) {
    operations_.emplace_back(transparent ? "textBackground transparent" : "textBackground opaque");
}

std::string RecordingSurface::log() const {
    std::string out;
    for (const std::string& op : operations_) {
        out += op;
        out += '\n';
    }
    return out;
}

}  // namespace zenova
