#include "weather_blocks.h"

#include "Files.h"
#include "Messages.h"
#include "routines.h"
#include "vireo_tools.h"

#include <algorithm>

// The host may set it to 2 to cut a listing short; nothing in the library sets it.
int flow = 0;

namespace vireo::em {

std::string databaseDirectory() {
    char path[protocol::kRow + 1] = {};
    const int kind = 6;
    int length = 0;
    get_paths(&kind, path, &length, protocol::kRow);
    int os = 0;
    getos(&os);
    std::string directory(path, static_cast<std::size_t>(std::clamp(length, 0, static_cast<int>(protocol::kRow))));
    return directory + (os == 1 ? "data\\mtm\\" : "data/mtm/");
}

bool claimDatabase(block::BlockView& b, const std::string& directory) {
    for (const char* file : {weather::kSiteFile, weather::kIndexFile, weather::kDataFile})
        if (!block::claimFile(b, directory + file, -1, block::FileUse::reads)) return false;
    return true;
}

int listSites(const weather::Search& query, const std::string& directory) {
    return weather::mtmlst(query, directory, flow);
}

}  // namespace vireo::em
