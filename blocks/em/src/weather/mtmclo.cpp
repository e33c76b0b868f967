// Closing the database: the three files, and the search that the site file carried.
#include "database.h"

namespace vireo::em::weather {

int mtmclo(std::string_view directory) {
    int record = 0;
    Site unused;
    mtloc(search::close, {}, record, unused, directory);
    Pointers none{};
    mtmptr(mode::close, record, none, directory);
    float annual = 0.0f;
    std::array<float, kMonths> months{};
    return mtmdat(mode::close, 0, record, annual, months, directory);
}

}  // namespace vireo::em::weather
