// The Qt surface's pixels against values stated here, not taken from the surface itself:
// the colours' RGB values, the dotted pen's pattern, line widths and ellipse sizes. Then the
// whole diagram painted on a QImage, rendered to PNG (left in the build tree under
// test-artefacts/zenova/) and checked by counting the pixels of the curve colours. Last, the
// printed page's texts measured in the fonts they are printed in.
#include "Diagram.h"
#include "Printout.h"
#include "QtImageSurface.h"
#include "QtPageSurface.h"
#include "run_vireo.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRect>
#include <QRectF>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

using namespace zenova;

namespace {

class QtApplication : public testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "zenova_qt_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

testing::Environment* const qtApplication = testing::AddGlobalTestEnvironment(new QtApplication);

// The colours as the diagram names them, in RGB.
constexpr QRgb kWhite = 0xffffffu;
constexpr QRgb kBlack = 0x000000u;
constexpr QRgb kNavy = 0x000080u;
constexpr QRgb kGreen = 0x008000u;
constexpr QRgb kRed = 0xff0000u;
constexpr QRgb kSilver = 0xc0c0c0u;
constexpr QRgb kGray = 0xa0a0a4u;  // Qt::gray, the untouched background

QRgb rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffffu; }

QImage blank(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return image;
}

// The smallest rectangle holding every black pixel.
QRect blackBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (rgb(image, x, y) == kBlack) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

std::string artefactPath(const std::string& name) {
    const char* dir = std::getenv("ZENOVA_ARTEFACT_DIR");
    const std::string base = dir != nullptr ? dir : vireo_test::buildDir() + "/test-artefacts/zenova";
    return base + "/" + name;
}

struct Census {
    int navy = 0;
    int green = 0;
    int red = 0;
    int black = 0;
    int curvesOutsideHorizon = 0;  // navy or green pixels beyond the surface-plane circle
    int curvesBelowCentre = 0;     // navy or green pixels in the lower half of the chart
};

Census census(const QImage& image) {
    Census c;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = rgb(image, x, y);
            const bool curve = p == kNavy || p == kGreen;
            c.navy += p == kNavy;
            c.green += p == kGreen;
            c.red += p == kRed;
            c.black += p == kBlack;
            if (curve && std::hypot(x - 250.0, y - 250.0) > 226.5) {
                ++c.curvesOutsideHorizon;
            }
            if (curve && y > 251) {
                ++c.curvesBelowCentre;
            }
        }
    }
    return c;
}

// The diagram window's picture: 531 x 505 pixels for the screen divisor 2.
QImage render(const DiagramInputs& inputs, const std::string& file) {
    QImage image(531, 505, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
        QtImageSurface surface(image);
        SunContext context;
        DiagramState state;
        drawSunPathDiagram(surface, context, state, inputs, DiagramSettings{});
    }
    EXPECT_TRUE(image.save(QString::fromStdString(artefactPath(file)), "PNG")) << artefactPath(file);
    return image;
}

int blackIn(const QImage& image, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            n += rgb(image, x, y) == kBlack;
        }
    }
    return n;
}

}  // namespace

TEST(QtSurface, ColoursAreTheirRgbValues) {
    QImage image = blank(8, 2);
    {
        QtImageSurface s(image);
        const Colour all[] = {colours::white, colours::black, colours::navy,
                              colours::green, colours::red,   colours::silver};
        for (int i = 0; i < 6; ++i) {
            s.setPixel(i, 0, all[i]);
        }
        s.setPenColour(colours::green);
        s.moveTo(6, 1);
        s.lineTo(8, 1);
        s.setPixel(99, 99, colours::red);  // off the picture: ignored
    }
    const QRgb expected[] = {kWhite, kBlack, kNavy, kGreen, kRed, kSilver};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rgb(image, i, 0), expected[i]) << i;
    }
    EXPECT_EQ(rgb(image, 6, 1), kGreen);
    EXPECT_EQ(rgb(image, 7, 1), kGreen);
    EXPECT_EQ(rgb(image, 7, 0), kGray);
}

// Lines cover the pixels from their start up to, not including, their end; a pen of width
// 2 covers two rows; the dotted pen draws one pixel and leaves two.
TEST(QtSurface, LineWidthsAndTheDottedPattern) {
    QImage image = blank(40, 40);
    {
        QtImageSurface s(image);
        s.setPenColour(colours::navy);
        s.setPenStyle(PenStyle::dotted);
        s.moveTo(0, 5);
        s.lineTo(30, 5);
        s.moveTo(35, 0);
        s.lineTo(35, 30);
        s.setPenStyle(PenStyle::solid);
        s.setPenWidth(2);
        s.setPenColour(colours::red);
        s.moveTo(0, 20);
        s.lineTo(30, 20);
        s.setPenWidth(1);
        s.setPenColour(colours::black);
        s.moveTo(0, 30);
        s.lineTo(30, 30);
    }
    for (int x = 0; x < 30; ++x) {
        EXPECT_EQ(rgb(image, x, 5), x % 3 == 0 ? kNavy : kGray) << "dotted, x " << x;
        EXPECT_EQ(rgb(image, 35, x), x % 3 == 0 ? kNavy : kGray) << "dotted, y " << x;
        EXPECT_EQ(rgb(image, x, 4), kGray);
        EXPECT_EQ(rgb(image, x, 6), kGray);
        EXPECT_EQ(rgb(image, x, 18), kGray);
        EXPECT_EQ(rgb(image, x, 19), kRed) << x;
        EXPECT_EQ(rgb(image, x, 20), kRed) << x;
        EXPECT_EQ(rgb(image, x, 21), kGray);
        EXPECT_EQ(rgb(image, x, 29), kGray);
        EXPECT_EQ(rgb(image, x, 30), kBlack);
        EXPECT_EQ(rgb(image, x, 31), kGray);
    }
    EXPECT_EQ(rgb(image, 30, 20), kGray);
    EXPECT_EQ(rgb(image, 30, 30), kGray);
}

// An ellipse's outline touches the four sides of its box and is filled with the brush.
TEST(QtSurface, EllipseFillsItsBox) {
    QImage image = blank(60, 60);
    {
        QtImageSurface s(image);
        s.setPenColour(colours::black);
        s.setBrushColour(colours::silver);
        s.ellipse(10, 14, 50, 40);
    }
    EXPECT_EQ(blackBox(image), QRect(QPoint(10, 14), QPoint(50, 40)));
    EXPECT_EQ(rgb(image, 10, 27), kBlack);  // the middle row meets both sides
    EXPECT_EQ(rgb(image, 50, 27), kBlack);
    EXPECT_EQ(rgb(image, 30, 27), kSilver);
    EXPECT_EQ(rgb(image, 12, 15), kGray);  // the box's corner stays outside
    EXPECT_EQ(rgb(image, 9, 27), kGray);
}

TEST(QtSurface, TextCentredOnItsPoint) {
    QImage image = blank(100, 40);
    {
        QtImageSurface s(image);
        s.setPenColour(colours::red);
        s.setBrushColour(colours::white);
        s.setFont("Arial", 18);
        s.text(50, 10, "WWW", TextAnchor::topCentre);
    }
    const QRect text = blackBox(image);
    ASSERT_GT(text.width(), 20);
    EXPECT_NEAR(text.center().x(), 50.0, 2.0);
    EXPECT_GE(text.top(), 10);
    EXPECT_LE(text.top(), 16);
    EXPECT_EQ(rgb(image, 50, 9), kGray);
    EXPECT_EQ(rgb(image, text.left(), 11), kWhite);  // on a box of the brush colour
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 100; ++x) {
            ASSERT_NE(rgb(image, x, y), kRed);  // text is black whatever the pen
        }
    }
}

TEST(QtSurface, BrusselsHorizontal) {
    const QImage image = render({"4.35", "50.85", "1.0", "0", "180"}, "brussels-horizontal.png");
    const Census c = census(image);
    // Thirteen date curves of about 200 to 500 pixels each and 33 hour lines across the
    // year: about 4200 navy and 4700 green pixels.
    EXPECT_GT(c.navy, 2500);
    EXPECT_LT(c.navy, 8000);
    EXPECT_GT(c.green, 2500);
    EXPECT_LT(c.green, 8000);
    EXPECT_EQ(c.red, 0);  // the special day is drawn only by the diagram window
    EXPECT_EQ(c.curvesOutsideHorizon, 0);
    // The noon sun stands south: more curve pixels below the centre than a wall could show.
    EXPECT_GT(c.curvesBelowCentre, 1000);
    // Grid and letters: the compass "N" above the chart, the scale label "10°".
    EXPECT_GT(blackIn(image, 240, 0, 260, 17), 10);
    EXPECT_GT(blackIn(image, 240, 44, 260, 55), 10);
    EXPECT_EQ(rgb(image, 530, 504), kWhite);  // the whole picture cleared
}

TEST(QtSurface, BrusselsSouthWall) {
    const QImage image = render({"4.35", "50.85", "1.0", "90", "180"}, "brussels-south-wall.png");
    const Census c = census(image);
    EXPECT_GT(c.navy, 1500);  // about 3400 and 3800: half the sky of the horizontal chart
    EXPECT_LT(c.navy, 6000);
    EXPECT_GT(c.green, 1500);
    EXPECT_LT(c.green, 6000);
    EXPECT_EQ(c.curvesOutsideHorizon, 0);
    // The real horizon crosses a vertical wall's sky through the centre: the sun stays above.
    EXPECT_EQ(c.curvesBelowCentre, 0);
}

namespace {

// The printed page as drawn, with the box of every text (in page units, y down) measured
// from the painter's font as the page set it, and of every ellipse.
class MeasuredPage final : public DrawingSurface {
public:
    struct Placed {
        QString text;
        QRectF box;
    };
    std::vector<Placed> texts;
    std::vector<QRectF> ellipses;

    MeasuredPage(QPainter& painter, QtPageSurface& page) : painter_(painter), page_(page) {}

    void clear() override { page_.clear(); }
    void setPenColour(Colour c) override { page_.setPenColour(c); }
    void setPenWidth(int w) override { page_.setPenWidth(w); }
    void setPenStyle(PenStyle s) override { page_.setPenStyle(s); }
    void setBrushColour(Colour c) override { page_.setBrushColour(c); }
    void setBrushClear() override { page_.setBrushClear(); }
    void moveTo(int x, int y) override { page_.moveTo(x, y); }
    void lineTo(int x, int y) override { page_.lineTo(x, y); }
    void setPixel(int x, int y, Colour c) override { page_.setPixel(x, y, c); }
    void ellipse(int x1, int y1, int x2, int y2) override {
        page_.ellipse(x1, y1, x2, y2);
        ellipses.push_back(QRectF(QPointF(x1, -y1), QPointF(x2, -y2)).normalized());
    }
    void setFont(std::string_view name, int height) override { page_.setFont(name, height); }
    void text(int x, int y, std::string_view t, TextAnchor anchor) override {
        page_.text(x, y, t, anchor);
        const QString s = QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
        const QFontMetricsF m(painter_.font(), painter_.device());
        const double w = m.horizontalAdvance(s) / page_.scale();
        const double h = (m.ascent() + m.descent()) / page_.scale();
        const auto [left, top] = textCorner(anchor, static_cast<double>(x), static_cast<double>(-y), w, h);
        texts.push_back({s, QRectF(left, top, w, h)});
    }
    int textWidth(std::string_view t) const override { return page_.textWidth(t); }
    void setTextColour(Colour c) override { page_.setTextColour(c); }
    void setTransparentText(bool t) override { page_.setTransparentText(t); }

private:
    QPainter& painter_;
    QtPageSurface& page_;
};

// The Latin-1 letter (the files' alphabet) widest in the printout's font.
std::string widestLetter() {
    constexpr int kDotsPerInch = 1200;
    QImage sheet(8, 8, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(static_cast<int>(std::lround(kDotsPerInch / 0.0254)));
    sheet.setDotsPerMeterY(sheet.dotsPerMeterX());
    QPainter painter(&sheet);
    QtPageSurface page(painter, kDotsPerInch);
    page.setFont("Arial", 60);
    std::string widest;
    int width = 0;
    for (char32_t c = 0x21; c <= 0xff; ++c) {
        if (c >= 0x7f && c <= 0xa0) {
            continue;
        }
        const std::string letter = QString::fromUcs4(&c, 1).toStdString();
        if (page.textWidth(letter) > width) {
            width = page.textWidth(letter);
            widest = letter;
        }
    }
    return widest;
}

}  // namespace

// Below the chart (legend, time reference, data block and compass), at the longest values
// the fields allow, at their widest (the name's 39 characters of the widest letter, every
// number field full of digits) and at values that once ran into their neighbours, on A4 and
// Letter: no two texts overlap (but the marker's "=" over "^"), no data text meets the
// compass, and all stay on the page.
TEST(QtPrintout, NothingOverlapsAtTheLongestValues) {
    std::string widestName;
    for (int i = 0; i < 39; ++i) {
        widestName += widestLetter();
    }
    const std::string saintMartin = "Saint-Martin-de-Belleville (Savoie), FR";
    const struct {
        const char* name;
        DiagramInputs inputs;
        std::string location;
    } cases[] = {
        {"longest", {"-180.00", "-90.00", "-12.0", "179", "360"}, saintMartin},
        {"widest", {"0000000", "000000", "00001", "179", "360"}, widestName},
        {"widest-horizontal", {"0000000", "000000", "00001", "0", "0"}, widestName},
        {"new-york", {"-74.01", "40.71", "-5.0", "90", "200"}, saintMartin},
        {"horizontal", {"-180.00", "-89.00", "12.0", "0", "0"}, saintMartin},
    };
    for (const QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
        for (const auto& [name, inputs, location] : cases) {
            const std::string file = artefactPath(std::string("printout-") + name +
                                                  (paper == QPageSize::A4 ? "-a4.pdf" : "-letter.pdf"));
            QPdfWriter writer(QString::fromStdString(file));
            writer.setResolution(1200);
            writer.setPageLayout(QPageLayout(QPageSize(paper), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                             QPageLayout::Millimeter));
            const QRectF printable = writer.pageLayout().paintRect(QPageLayout::Millimeter);
            const PageFrame frame =
                pageFrame(static_cast<int>(printable.width()), static_cast<int>(printable.height()));
            DiagramState labels;  // all hidden: the labels are where the user puts them
            for (auto& d : labels.dateLabelPositions) {
                d = {kHiddenAnchor, kHiddenAnchor};
            }
            labels.hourLabelPositions.fill(kHiddenAnchor);
            SunContext context;
            const DiagramModel chart = computePrintedDiagram(context, labels, inputs);
            const PrintoutTexts texts{inputs, location, "24", "59"};
            QPainter painter(&writer);
            QtPageSurface page(painter, writer.resolution());
            MeasuredPage measured(painter, page);
            drawPrintout(measured, frame, chart, labels, texts, true);

            SCOPED_TRACE(file);
            std::vector<MeasuredPage::Placed> below;
            for (const MeasuredPage::Placed& t : measured.texts) {
                if (t.box.top() >= -(2 * frame.centreY + 400)) {
                    below.push_back(t);
                }
            }
            ASSERT_GE(below.size(), 14u);
            const bool tilted = std::string(inputs.inclination) != "0";
            for (std::size_t i = 0; i < below.size(); ++i) {
                const QRectF& a = below[i].box;
                EXPECT_TRUE(a.left() >= 0 && a.right() <= frame.width) << below[i].text.toStdString();
                for (std::size_t j = i + 1; j < below.size(); ++j) {
                    if (below[i].text == "=" && below[j].text == "^") {
                        continue;
                    }
                    EXPECT_FALSE(a.intersects(below[j].box))
                        << below[i].text.toStdString() << " meets " << below[j].text.toStdString();
                }
                if (tilted && a.height() > 40) {
                    EXPECT_FALSE(a.intersects(measured.ellipses.back()))
                        << below[i].text.toStdString() << " meets the compass";
                }
            }
        }
    }
}
