// The parameter tables of the user blocks.
#include "param_tables.h"

#include "params.h"

namespace vireo_test {

std::vector<ParamTable> ubParamTables() {
    std::vector<ParamTable> tables;
    // The user blocks' routines are each their source's own; their tables stand in params.h.
#define VIREO_ADD_TABLE(id, Table) \
    tables.push_back({ub::id.routine, ub::id.names, std::span<const vireo::block::Param>(ub::params::Table::table), \
                      ub::id.maxInputs, ub::id.outputCount, ub::id.maxParameters});
    VIREO_UB_PARAM_TABLES(VIREO_ADD_TABLE)
#undef VIREO_ADD_TABLE
    return tables;
}

}  // namespace vireo_test
