// The diagram painted on a QImage by the Qt surface, rendered to PNG (left in the build tree
// under test-artefacts/zenova/) and checked by counting the pixels of the curve colours.
#include "Diagram.h"
#include "QtImageSurface.h"
#include "run_vireo.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

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
            const QRgb p = image.pixel(x, y);
            const QColor colour(p);
            const bool curve = colour == QtImageSurface::toQColor(colours::navy) ||
                               colour == QtImageSurface::toQColor(colours::green);
            c.navy += colour == QtImageSurface::toQColor(colours::navy);
            c.green += colour == QtImageSurface::toQColor(colours::green);
            c.red += colour == QtImageSurface::toQColor(colours::red);
            c.black += colour == QtImageSurface::toQColor(colours::black);
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
            n += QColor(image.pixel(x, y)) == Qt::black;
        }
    }
    return n;
}

}  // namespace

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
    EXPECT_EQ(QColor(image.pixel(530, 504)), Qt::white);  // the whole picture cleared
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
