// The parameter tables of libVireoEM's blocks.
#include "param_tables.h"

#include "em/src/blocks.h"

namespace vireo_test {

std::vector<ParamTable> emParamTables() {
    std::vector<ParamTable> tables;
#define VIREO_ADD_TABLE(routine, names, nameCount, minIn, maxIn, outputs, ip, rp, dp, minP, maxP, minS, maxS, group, Type) addParamTable<vireo::em::Type>(tables, vireo::em::table::routine);
    VIREO_EM_BLOCKS(VIREO_ADD_TABLE)
#undef VIREO_ADD_TABLE
    return tables;
}

}  // namespace vireo_test
