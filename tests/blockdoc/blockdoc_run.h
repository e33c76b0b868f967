// Running the built blockdoc the way the block reference is made: from a directory
// beside which "../vireoBlockReference/des/" holds the hand-written description files.
#ifndef VIREO_TEST_BLOCKDOC_RUN_H
#define VIREO_TEST_BLOCKDOC_RUN_H

#include "run_vireo.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace blockdoc_test {

using Files = std::map<std::string, std::string>;  // relative path -> content

struct Output {
    vireo_test::RunResult run;
    Files pages;       // every file the run left in its working directory
    std::string work;  // that directory
};

// Writes the source as <scratch>/src/<sourceName> and the description files into
// <scratch>/vireoBlockReference/des/, then runs "blockdoc ../src/<sourceName> [args]" in
// <scratch>/vireoBlockReference.
Output runBlockdoc(const std::string& sourceName, const std::string& sourceText,
                   const std::vector<std::string>& extraArgs = {}, const Files& descriptions = {});

// The same for a stored case: tests/blockdoc/cases/<name>/ holds one source and may hold des/.
Output runCase(const std::string& name, const std::vector<std::string>& extraArgs = {});
std::string caseSource(const std::string& name, std::string* fileName = nullptr);

std::string casesDir();

// The stored cases with the extra arguments they run with and the exit status they end with.
struct GoldenCase {
    std::string name;
    std::vector<std::string> args;
    int exitStatus = 0;
};
const std::vector<GoldenCase>& goldenCases();
inline void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }
Files filesBelow(const std::string& dir);  // regular files, the des/ folder left out

}  // namespace blockdoc_test

#endif
