#include "vireoBlocks.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <string>

std::shared_ptr<IDRecord> VireoBlocks::getID(const String& name) const {
    for (const auto& record : loader_->blocks())
        if (record->getOpMode(name) > 0) return record;
    return {};
}

int VireoBlocks::numOfBlocks() const { return static_cast<int>(loader_->blocks().size()); }

namespace {

// Where the block reference lies beside this engine library: in the build tree doc/ next
// to lib/, in an installed tree share/doc/vireo/ two levels above lib/vireo/. Empty when
// neither holds it (a build without pdflatex).
std::string blockReference() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&blockReference), &info) == 0 || info.dli_fname == nullptr) return {};
    std::error_code ec;
    const std::filesystem::path lib = std::filesystem::canonical(info.dli_fname, ec).parent_path();
    if (ec) return {};
    for (const auto& candidate : {lib.parent_path() / "doc" / "vireo-block-reference.pdf",
                                  lib.parent_path().parent_path() / "share" / "doc" / "vireo" /
                                      "vireo-block-reference.pdf"})
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate.string();
    return {};
}

}  // namespace

void VireoBlocks::displayBlocks() const {
    std::printf("\nInstalled Vireo blocks [%d]\n\n", numOfBlocks());
    for (const auto& record : loader_->blocks()) std::printf("\t%s\n", record->nameList.buffer());
    const std::string reference = blockReference();
    if (reference.empty())
        std::printf("\nThe block reference, vireo-block-reference.pdf, is made by a build with pdflatex.\n");
    else
        std::printf("\nEvery block's inputs, outputs and parameters: %s\n", reference.c_str());
}
