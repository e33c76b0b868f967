// The sky, ambient and spectral blocks never pass NaN on for inputs that are numbers,
// however far outside their physical range: random steps over a mix of extreme and
// ordinary values, with a fixed seed.
#include "block_harness.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

using vireo_test::BlockInstance;

namespace {

struct Case {
    const char* routine;
    int inputs;
    std::vector<float> parameters;
    int opMode;
    int steps;
};

constexpr float kValues[] = {-FLT_MAX, -1e30f, -6400, -100, -90, -5, -1, -1e-30f, 0, 1e-30f, 0.001f, 0.3f, 0.55f,
                             1, 1.4f, 4, 12, 45, 87.5f, 89.99f, 90, 93.9f, 96.1f, 180, 366, 1000, 1e30f, FLT_MAX};

}  // namespace

TEST(SkyAndAmbientBlocks, NoNumberInGivesNaNOut) {
    const Case cases[] = {
        {"em0021", 1, {0}, 1, 2000},  {"em0021", 1, {1}, 1, 2000},  {"em0024", 1, {}, 1, 2000},
        {"em0025", 1, {0}, 1, 2000},  {"em0025", 1, {1}, 1, 2000},  {"em0025", 1, {2}, 1, 2000},
        {"em0027", 5, {}, 1, 4000},   {"em0027", 5, {}, 5, 4000},   {"em0029", 5, {}, 1, 100},
        {"em0030", 3, {}, 1, 4000},   {"em0034", 2, {}, 1, 4000},   {"em0035", 1, {4}, 1, 2000},
        {"em0036", 3, {0}, 1, 4000},  {"em0036", 3, {1}, 1, 4000},
        // Hours near noon of days in summer, so that some steps compute a spectrum.
        {"em0033", 6, {39.74f, -105.18f, -7, 1829, 30}, 1, 600},
        {"em0033", 6, {-33.9f, 18.4f, 2, 0, 90}, 1, 600},
    };
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> pick(0, std::size(kValues) - 1);
    std::uniform_real_distribution<float> ordinary(-100, 1000);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.routine) + " " + std::to_string(c.opMode));
        BlockInstance b(vireo_test::library("VireoEM").block(c.routine),
                        {.inputs = c.inputs, .parameters = c.parameters, .opMode = c.opMode});
        b.init();
        for (int s = 0; s < c.steps; ++s) {
            std::vector<float> in(c.inputs);
            for (float& x : in) x = random() % 3 == 0 ? ordinary(random) : kValues[pick(random)];
            if (c.routine == std::string("em0033") && random() % 2 == 0) {
                in[1] = 300 + ordinary(random) / 2;
                in[2] = in[1] / 3;
                in[4] = float(150 + random() % 60);
                in[5] = float(10 + random() % 6);
            }
            const auto out = b.step(in);
            for (std::size_t k = 0; k < out.size(); ++k)
                ASSERT_FALSE(std::isnan(out[k])) << "OUT[" << k << "] at step " << s << ", IN[0] " << in[0];
        }
    }
}
