// The parameter tables of libVireoST's blocks.
#include "param_tables.h"

#include "st/src/blocks.h"

namespace vireo_test {

std::vector<ParamTable> stParamTables() {
    std::vector<ParamTable> tables;
#define VIREO_ADD_TABLE(routine, names, nameCount, minIn, maxIn, outputs, ip, rp, dp, minP, maxP, minS, maxS, group, row, Type) addParamTable<vireo::st::Type>(tables, vireo::st::table::routine);
    VIREO_ST_BLOCKS(VIREO_ADD_TABLE)
#undef VIREO_ADD_TABLE
    return tables;
}

}  // namespace vireo_test
