#include "Files.h"

#include "Messages.h"
#include "vireo_tools.h"

#include <string>

namespace vireo::block {

bool claimFile(BlockView& b, std::string_view name, int fd, FileUse use) {
    const std::string self(b.name());
    const std::string path(name);
    char other[protocol::kRow] = {};
    int otherNumber = 0;
    int otherWrites = 0;
    const int writes = use == FileUse::reads ? 0 : use == FileUse::writes ? 1 : 2;
    if (vireo_tools_claim_file(path.c_str(), fd, self.c_str(), b.blockNumber(), writes, other, sizeof other,
                               &otherNumber, &otherWrites) == 0)
        return true;
    const Values said{.text = name, .ints = {otherNumber}, .detail = other};
    if (otherNumber == 0) b.report(frameCode::writesTheModel, said);
    else if (otherNumber == -1) b.report(frameCode::writesALibrary, said);
    else if (otherNumber < 0) b.report(frameCode::writesTheMessages, said);
    else if (writes == 0) b.report(frameCode::readsWhatIsWritten, said);
    else b.report(otherWrites != 0 ? frameCode::writtenTwice : frameCode::writesWhatIsRead, said);
    return false;
}

void releaseFiles(BlockView& b) { vireo_tools_release_files(std::string(b.name()).c_str(), b.blockNumber()); }

}  // namespace vireo::block
