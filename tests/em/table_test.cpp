// The block table of libVireoEM as the engine sees it: every routine's identification
// answer against a copy of the published table typed here on its own, the exported
// names against the loader's block-name rule, and the component line.
#include "block_harness.h"
#include "library_table.h"
#include "message_capture.h"
#include "run_vireo.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const vireo_test::PublishedRow kPublished[] = {
    {"em0001", "PLANCK", "1 2 2 3 11 2 0 0 1 0 0 3"},
    {"em0002", "E0 GON", "2 1 1 1 11 0 0 1 1 0 0 3"},
    {"em0003", "ET", "1 1 1 1 11 0 0 1 1 0 0 3"},
    {"em0004", "GTLOSS", "1 10 17 5 15 0 0 2 8 0 0 3"},
    {"em0005", "GENV", "1 1 1 3 10 8762 0 148 148 0 0 3"},
    {"em0006", "SUNAE", "1 4 7 4 14 11 0 4 4 0 0 3"},
    {"em0007", "INANGE INANGH", "2 5 5 2 11 0 0 0 0 0 0 3"},
    {"em0008", "GH2GT", "1 9 12 4 16 11 0 4 4 0 0 3"},
    {"em0009", "G2GDH", "1 2 5 1 11 2 0 1 1 0 0 3"},
    {"em0010", "G2GDD", "1 2 3 1 11 2 0 1 1 0 0 3"},
    {"em0011", "G2GDM", "1 2 3 1 11 2 0 1 1 0 0 3"},
    {"em0012", "GOH", "1 4 7 1 10 0 0 3 3 0 0 3"},
    {"em0013", "GMEAN", "1 3 5 3 11 12 0 2 2 0 0 3"},
    {"em0014", "TMEAN", "1 3 5 1 10 0 0 0 0 0 0 3"},
    {"em0015", "GENG", "1 5 6 1 28 8881 0 8 8 0 0 3"},
    {"em0016", "GENGD", "1 4 4 1 30 463 0 9 9 0 0 3"},
    {"em0017", "GENGH", "1 5 6 1 383 8881 0 4 4 0 0 3"},
    {"em0018", "MTM MTMLALO", "2 1 1 9 15 95 0 0 6 0 1 3"},
    {"em0019", "GBN2GBT", "1 5 5 1 10 0 0 0 0 0 0 3"},
    {"em0020", "SUNAEA", "1 7 7 4 10 0 0 6 6 0 0 3"},
    {"em0021", "TSKY", "1 1 1 1 11 1 0 1 1 0 0 3"},
    {"em0022", "GENGT", "1 10 12 3 35 26563 0 8 10 0 0 3"},
    {"em0023", "DISGR", "1 1 2 1 10 3 0 1 2 0 0 3"},
    {"em0024", "ATM1976", "1 1 1 3 10 0 0 0 0 0 0 3"},
    {"em0025", "AM", "1 1 1 1 11 1 0 1 1 0 0 3"},
    {"em0026", "MTMUP", "1 0 0 0 10 0 0 0 0 1 1 1"},
    {"em0027", "SKYO SKYIO SKYIM SKYIC SKYC", "5 5 5 2 10 1 0 0 0 0 0 3"},
    {"em0028", "TSOIL", "1 2 2 1 16 8 0 7 10 0 2 3"},
    {"em0029", "SKYALL", "1 5 5 2 10 1 0 0 0 0 0 3"},
    {"em0030", "KN", "1 3 3 1 10 1 0 0 0 0 0 3"},
    {"em0031", "BETAMAX SHADF", "2 2 3 1 10 1 0 2 3 0 0 3"},
    {"em0032", "BETAOPT", "1 2 2 1 10 1 0 0 0 0 0 3"},
    {"em0033", "SEDES3", "1 6 6 1 11 116 0 5 5 0 0 3"},
    {"em0034", "TDEW", "1 2 2 1 10 0 0 0 0 0 0 3"},
    {"em0035", "COWV", "1 1 1 1 11 0 0 0 1 0 0 3"},
    {"em0036", "TAUW", "1 3 3 1 11 0 0 1 1 0 0 3"},
    {"em0037", "BETGAM", "1 1 1 2 10 0 0 1 3 0 0 3"},
    {"em0038", "PHIOPT", "1 2 2 3 12 2 0 3 5 0 0 3"},
    {"em0039", "DINCLI", "1 1 1 6 10 0 0 0 0 0 0 3"},
    {"em0040", "MOONAE2", "1 4 6 5 10 0 0 3 3 0 0 3"},
    {"em0041", "PHI2PSI PSI2PHI", "2 1 1 1 11 3 0 0 1 0 0 3"},
    {"em0106", "SUNAE2", "1 4 7 4 14 11 0 4 4 0 0 3"},
    {"em0108", "GH2GT2", "1 9 12 4 16 11 0 4 4 0 0 3"},
    {"em0112", "GOH2", "1 4 7 1 10 0 0 3 3 0 0 3"},
    {"em0115", "GENG2", "1 5 6 1 28 8881 0 8 8 0 0 3"},
    {"em0116", "GENGD2", "1 4 4 1 30 463 0 9 9 0 0 3"},
    {"em0117", "GENGH2", "1 5 6 1 383 8881 0 4 4 0 0 3"},
    {"em0118", "MTM2 MTMLALO2", "2 1 1 9 15 95 0 0 6 0 1 3"},
    {"em0120", "SUNAEA2", "1 7 7 4 10 0 0 6 6 0 0 3"},
    {"em0122", "GENGT2", "1 10 12 3 35 26563 0 8 10 0 0 3"},
};

const vireo_test::BlockLibrary& em() { return vireo_test::library("VireoEM"); }

}  // namespace

TEST(BlockTable, EveryRoutineAnswersItsPublishedIdentity) {
    EXPECT_EQ(vireo_test::identityMismatches(em(), kPublished), std::vector<std::string>{});
}

TEST(BlockTable, ExportsExactlyTheBlocksUnderTheLoadersRule) {
    const auto exported = vireo_test::exportedNames(vireo_test::buildDir() + "/lib/libVireoEM.so");
    EXPECT_EQ(vireo_test::blockFormNames(exported), vireo_test::routinesOf(kPublished));
    const std::set<std::string> all(exported.begin(), exported.end());
    for (const char* routine :
         {"info", "sunae", "e0", "et", "inang", "goh", "cksite", "check_coordinates", "is_on_land", "float_mod",
          "sind", "cosd", "tand", "atand", "acosd", "asind", "atan2d", "dgamln", "dtovangamma", "dubgam4", "dirt",
          "lanz_rel", "krau_rel", "ashrae", "sjerps", "lpdens", "incang", "lanzer", "reflij", "refl24", "pol",
          "refls", "reflp", "delta", "angout", "krauter", "trans123", "rhoquerij", "rhoi", "rhoqi", "transqi",
          "transi", "transs", "transp", "absorp2", "absorp1", "refl_0_grad", "fem0031", "fem0032", "fem0038",
          "cem0031", "cem0032", "perez", "geose"})
        EXPECT_EQ(all.count(routine), 1u) << routine;
}

TEST(BlockTable, ComponentLine) {
    using InfoFunction = char* (*)();
    const auto info = reinterpret_cast<InfoFunction>(em().symbol("info"));
    ASSERT_NE(info, nullptr);
    char* line = info();
    EXPECT_STREQ(line, "\tdevelopment_20211115_bcc4376       libVireoEM");
    delete[] line;
}

TEST(BlockTable, LastCallChangesNothing) {
    // None of these blocks counts anything during a run.
    struct Case {
        const char* routine;
        std::vector<float> parameters;
        std::vector<float> inputs;
        int opMode;
    };
    const Case cases[] = {
        {"em0002", {0}, {100}, 2},
        {"em0003", {0}, {100}, 1},
        {"em0006", {1, 52.5f, -13.4f, 23}, {2003, 6, 21, 12}, 1},
        {"em0007", {}, {48, 30, 180, 10, 20}, 1},
        {"em0020", {1, 52.5f, -13.4f, 23, 60, 4}, {2003, 6, 21, 12, 0, 0, 0}, 1},
        {"em0037", {30, 0}, {20}, 1},
        {"em0039", {}, {5}, 1},
        {"em0041", {0}, {30}, 2},
        {"em0001", {0}, {10, 300}, 1},
        {"em0004", {1, 1, 0.05f, 0, 0, 0, 12, 3}, {800, 500, 200, 100, 30, 180, 170, 40, 20, 0.02f}, 1},
        {"em0023", {0.3f}, {0.8f}, 1},
        {"em0031", {5, 2}, {10, 20}, 1},
        {"em0031", {5, 2}, {10, 20, 45}, 2},
        {"em0032", {}, {10, 20}, 1},
        {"em0038", {20, 0, 0}, {200, 30}, 1},  // counts only searches that do not settle
        {"em0021", {1}, {20}, 1},
        {"em0024", {}, {30}, 1},
        {"em0025", {2}, {60}, 1},
        {"em0027", {}, {1, 90, 30, 180, 40}, 3},
        {"em0030", {}, {800, 200, 40}, 1},
        {"em0033", {39.74f, -105.18f, -7, 1829, 30}, {0.55f, 800, 150, 10, 172, 13}, 1},
        {"em0034", {}, {20, 0.5f}, 1},
        {"em0035", {}, {10}, 1},
        {"em0036", {0}, {0.94f, 1.5f, 2}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.routine);
        vireo_test::BlockInstance b(em().block(c.routine), {.inputs = static_cast<int>(c.inputs.size()),
                                                             .parameters = c.parameters, .opMode = c.opMode});
        const auto codes = vireo_test::messagesOf([&] {
            b.init();
            b.step(c.inputs);
        }).codes;
        EXPECT_EQ(codes, std::vector<int>{});
        const auto out = b.OUT;
        auto ip = b.IP;
        b.last();
        ip[1] = 2;  // set by the caller
        EXPECT_EQ(b.OUT, out);
        EXPECT_EQ(b.IP, ip);
    }
}
