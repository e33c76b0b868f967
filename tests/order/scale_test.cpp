// Compiling, the model check and the sort at scale, in-process: a model made ten (or three)
// times larger may take about that many times (times its nesting) longer, measured in
// the same run, never the square or worse of it. Times are compared, not judged.
#include "Simulator.h"
#include "cpu_time.h"
#include "model_blocks_registry.h"

#include <algorithm>
#include <string>

namespace {

class Scale : public ModelBlocksRegistry {
protected:
    // The best of three times to compile, check and sort the model; every block must be
    // placed without a message.
    static double seconds(const std::string& model, unsigned blocks) {
        const std::string path = vireo_test::scratchDirectory("scale") + "/m.vireo";
        vireo_test::writeFile(path, model);
        // The best of three, or of fewer once a run is plainly too slow.
        double best = 1e9, spent = 0.0;
        for (int k = 0; k < 3 && spent < 2.0; ++k) {
            RootClass::_errors = RootClass::_warnings = 0;
            const double start = vireo_test::threadSeconds();
            Simulator s;
            s.compile(path);
            s.checkModel();
            s.sort();
            const double t = vireo_test::threadSeconds() - start;
            best = std::min(best, t);
            spent += t;
            EXPECT_EQ(RootClass::_errors, 0);
            EXPECT_EQ(s.calculationList().length(), blocks);
        }
        return best;
    }

    // A free timer and a chain of blocks, each with a parameter that names a constant of
    // its own, defined after it is used.
    static std::string chain(int n) {
        std::string m = "b 1 clock\np 1 2\n";
        for (int k = 2; k <= n; ++k) {
            const std::string K = std::to_string(k);
            m += "b " + K + " add " + std::to_string(k - 1) + "\np " + K + " K" + K + "\nc K" + K + " 0.5\n";
        }
        return m;
    }

    // A free timer and timers each fed by the one before: each owns all that follow.
    static std::string nestedTimers(int n) {
        std::string m = "b 1 timer\np 1 2\n";
        for (int k = 2; k <= n; ++k) m += "b " + std::to_string(k) + " timer " + std::to_string(k - 1) + "\np " +
                                          std::to_string(k) + " 2\n";
        return m;
    }
};

}  // namespace

TEST_F(Scale, CompilingAndSortingAChainGrowWithItsLength) {
    constexpr int n = 3000 / vireo_test::kSanitizedShrink;
    const double small = seconds(chain(n), n);
    const double large = seconds(chain(10 * n), 10 * n);
    EXPECT_LT(large / small, 40.0) << small << " s, " << large << " s";
}

TEST_F(Scale, CheckingNestedSubModelsGrowsWithSizeTimesDepth) {
    // Three times as many timers, each nested in all before it: nine times the pairs of a
    // block and a sub-model that encloses it.
    constexpr int n = vireo_test::kSanitizedShrink > 1 ? 100 : 200;
    const double small = seconds(nestedTimers(n), n);
    const double large = seconds(nestedTimers(3 * n), 3 * n);
    EXPECT_LT(large / small, 40.0) << small << " s, " << large << " s";
}
