// What the blocks of the monthly weather database share: where the database lies, and the
// listing of the sites a search selects.
#ifndef VIREO_EM_WEATHER_BLOCKS_H
#define VIREO_EM_WEATHER_BLOCKS_H

#include "BlockView.h"
#include "weather/database.h"

#include <string>

namespace vireo::em {

// data/mtm/ below the installation directory.
std::string databaseDirectory();

// Claims the database's three files for a block that reads or updates them: false,
// reported, when another block of the run writes one of them. Blocks of the database
// claim them as readers, since the database's own lock orders their updates.
bool claimDatabase(block::BlockView& b, const std::string& directory);

// The sites a search selects, listed for the host's window until the host sets the
// library's flow to 2: the status of the search that ended the listing.
int listSites(const weather::Search& query, const std::string& directory);

}  // namespace vireo::em

#endif
