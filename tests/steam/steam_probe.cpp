// Calls water and steam routines from the command line, the way a block would, so that
// the tests can watch the real end of the process:
//   steam_probe ROUTINE ARG... [-- ROUTINE ARG...]...
// Before the first call it writes through C stdio and C++ streams without flushing; after
// each call it prints the result. An exit handler and a static destructor write too, so a
// test sees anything that runs after the report.
#include "steam.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

struct WritesAtTheEnd {
    ~WritesAtTheEnd() { std::fputs("static destructor\n", stdout); }
};
WritesAtTheEnd writesAtTheEnd;

void exitHandler() { std::fputs("exit handler\n", stdout); }

double number(const std::vector<std::string>& args, std::size_t i) {
    if (i >= args.size()) {
        std::fprintf(stderr, "steam_probe: missing argument %zu\n", i);
        std::exit(64);
    }
    return std::strtod(args[i].c_str(), nullptr);
}

using Routine2 = double (*)(const double*, const double*);
using Routine1 = double (*)(const double*);

const std::map<std::string, Routine2> kRoutines2 = {
    {"vpt1", vpt1_},     {"hpt1", hpt1_},     {"spt1", spt1_},     {"cppt1", cppt1_},   {"vpt2", vpt2_},
    {"hpt2", hpt2_},     {"spt2", spt2_},     {"cppt2", cppt2_},   {"pvt3", pvt3_},     {"hvt3", hvt3_},
    {"svt3", svt3_},     {"cpvt3", cpvt3_},   {"vpt3", vpt3_},     {"vpt3l", vpt3l_},   {"vpt3d", vpt3d_},
    {"vptf3", vptf3_},   {"vptg3", vptg3_},   {"cppt3", cppt3_},   {"vptl", vptl_},     {"hptl", hptl_},
    {"sptl", sptl_},     {"vptd", vptd_},     {"hptd", hptd_},     {"sptd", sptd_},     {"cpptl", cpptl_},
    {"cpptd", cpptd_},   {"condv", condv_},   {"condl", condl_},   {"convt", convt_},   {"steam_h", steam_h_},
    {"steam_s", steam_s_}, {"steam_cp", steam_cp_}, {"steam_v", steam_v_},
    {"tph", tph_},       {"tphd", tphd_},     {"tps", tps_},       {"tpsd", tpsd_},     {"xph", xph_},
    {"xps", xps_},       {"tphl", tphl_},     {"tpsl", tpsl_},     {"hps", hps_},       {"hpsw", hpsw_},
    {"hpsd", hpsd_},     {"sph", sph_},       {"sphw", sphw_},     {"sphd", sphd_},     {"vph", vph_},
    {"vphd", vphd_},     {"vps", vps_},       {"phs", phs_},       {"ths", ths_},       {"phsd", phsd_},
    {"thsd", thsd_},     {"phsw", phsw_},     {"pvphw", pvphw_},
};
const std::map<std::string, Routine1> kRoutines1 = {
    {"psatt", psatt_}, {"psl1", psl1_}, {"tsatp", tsatp_}, {"p23t", p23t_}, {"t23p", t23p_},
    {"vft", vft_},     {"vfp", vfp_},   {"vgt", vgt_},     {"vgp", vgp_},   {"hft", hft_},
    {"hfp", hfp_},     {"hgt", hgt_},   {"hgp", hgp_},     {"sft", sft_},   {"sfp", sfp_},
    {"sgt", sgt_},     {"sgp", sgp_},   {"psv", psv_},     {"psv1", psv1_}, {"psv2", psv2_},
    {"pvgp", pvgp_},   {"tslh", tslh_}, {"surft", surft_}, {"evaph", evaph_},
};

// Runs one routine; returns false for an unknown name.
bool call(const std::vector<std::string>& args) {
    const std::string& routine = args[0];
    double a = args.size() > 1 ? number(args, 1) : 0.0;
    double b = args.size() > 2 ? number(args, 2) : 0.0;
    double result = 0.0;
    if (const auto two = kRoutines2.find(routine); two != kRoutines2.end()) {
        result = two->second(&a, &b);
    } else if (const auto one = kRoutines1.find(routine); one != kRoutines1.end()) {
        result = one->second(&a);
    } else if (routine == "hssiss" || routine == "hisiss" || routine == "sssiss") {
        double t = 0.0, v = 0.0, x = 0.0;
        result = routine == "hssiss" ? hssiss_(&a, &b, &t, &v, &x)
                 : routine == "hisiss" ? hisiss_(&a, &b, &t, &v, &x)
                                      : sssiss_(&a, &b, &t, &v, &x);
    } else if (routine == "comt3") {
        comt3_(&a, &b);
    } else if (routine == "refrac") {  // refrac P T LAMBDA
        double lambda = number(args, 3);
        result = refrac_(&a, &b, &lambda);
    } else if (routine == "crflo") {  // crflo P H: the superheat on a line of its own
        double spt = 0.0;
        result = crflo_(&a, &b, &spt);
        std::printf("spt %.9g\n", spt);
    } else if (routine == "chkreg") {
        result = chkreg_(&a, &b);
    } else if (routine == "splim") {  // splim X CODE UPPER LOWER NAME
        const int code = static_cast<int>(number(args, 2));
        double upper = number(args, 3);
        double lower = number(args, 4);
        const std::string name = args.size() > 5 ? args[5] : "";
        splim_(&a, &code, name.c_str(), &upper, &lower, name.size());
    } else if (routine == "ster") {  // ster CODE X1 X2 NAME
        const int code = static_cast<int>(a);
        double x1 = number(args, 2);
        double x2 = number(args, 3);
        const std::string name = args.size() > 4 ? args[4] : "";
        ster_(name.c_str(), &code, &x1, &x2, name.size());
    } else {
        return false;
    }
    std::printf("%s %.9g\n", routine.c_str(), result);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::atexit(exitHandler);
    std::printf("written before\n");
    std::cout << "from cout\n";
    std::vector<std::string> args;
    for (int i = 1; i <= argc; ++i) {
        if (i == argc || std::strcmp(argv[i], "--") == 0) {
            if (!args.empty() && !call(args)) {
                std::fprintf(stderr, "steam_probe: unknown routine %s\n", args[0].c_str());
                return 64;
            }
            args.clear();
        } else {
            args.emplace_back(argv[i]);
        }
    }
    std::printf("end of probe\n");
    return 0;
}
