// The parameter tables of libVireoPP's blocks.
#include "param_tables.h"

#include "pp/src/blocks.h"

namespace vireo_test {

std::vector<ParamTable> ppParamTables() {
    std::vector<ParamTable> tables;
#define VIREO_ADD_TABLE(routine, names, nameCount, minIn, maxIn, outputs, ip, rp, dp, minP, maxP, minS, maxS, group, Type) addParamTable<vireo::pp::Type>(tables, vireo::pp::table::routine);
    VIREO_PP_BLOCKS(VIREO_ADD_TABLE)
#undef VIREO_ADD_TABLE
    return tables;
}

}  // namespace vireo_test
