#include "blockdoc_run.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace blockdoc_test {

std::string casesDir() { return vireo_test::sourceDir() + "/tests/blockdoc/cases"; }

const std::vector<GoldenCase>& goldenCases() {
    static const std::vector<GoldenCase> cases = {
        {"sections_f", {}, 0},          {"labels_cpp", {}, 0},
        {"eof_after_description", {}, 0}, {"layout_swallows_remarks", {}, 0},
        {"unnamed_groups_flip", {}, 0}, {"short_stem_subroutine", {}, 0},
        {"deprecated_prefix", {"doc-"}, 0}, {"no_block_line", {}, 1},
        {"names_block_comment", {}, 0}, {"names_until_eof", {}, 0},
        {"names_until_code", {}, 0},    {"subtopic_error", {}, 1},
        {"latex_quoting", {}, 0},
    };
    return cases;
}

Files filesBelow(const std::string& dir) {
    Files files;
    if (!fs::is_directory(dir)) return files;
    for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it) {
        const std::string rel = fs::relative(it->path(), dir).generic_string();
        if (it->is_directory() && rel == "des") {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file()) files[rel] = vireo_test::readFile(it->path().string());
    }
    return files;
}

Output runBlockdoc(const std::string& sourceName, const std::string& sourceText,
                   const std::vector<std::string>& extraArgs, const Files& descriptions) {
    const std::string root = vireo_test::scratchDirectory("blockdoc");
    vireo_test::writeFile(root + "/src/" + sourceName, sourceText);
    Output o;
    o.work = root + "/vireoBlockReference";
    fs::create_directories(o.work);
    for (const auto& [name, text] : descriptions) vireo_test::writeFile(o.work + "/des/" + name, text);

    std::vector<std::string> args{"../src/" + sourceName};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    vireo_test::RunOptions options;
    options.program = vireo_test::buildDir() + "/bin/blockdoc";
    options.workingDirectory = o.work;
    options.timeoutSeconds = 30;
    o.run = vireo_test::runVireo(args, options);
    o.pages = filesBelow(o.work);
    return o;
}

std::string caseSource(const std::string& name, std::string* fileName) {
    for (const auto& entry : fs::directory_iterator(casesDir() + "/" + name)) {
        const auto ext = entry.path().extension();
        if (entry.is_regular_file() && (ext == ".f" || ext == ".cpp")) {
            if (fileName != nullptr) *fileName = entry.path().filename().string();
            return vireo_test::readFile(entry.path().string());
        }
    }
    return {};
}

Output runCase(const std::string& name, const std::vector<std::string>& extraArgs) {
    std::string fileName;
    const std::string text = caseSource(name, &fileName);
    Files descriptions;
    const std::string des = casesDir() + "/" + name + "/des";
    if (fs::is_directory(des))
        for (const auto& entry : fs::directory_iterator(des))
            descriptions[entry.path().filename().string()] = vireo_test::readFile(entry.path().string());
    return runBlockdoc(fileName, text, extraArgs, descriptions);
}

}  // namespace blockdoc_test
