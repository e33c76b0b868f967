// The parameter tables of every block that has one, gathered from the libraries' own
// routine types (one source per library, since each library's headers name their own
// messages and identity table).
#ifndef VIREO_TEST_PARAM_TABLES_H
#define VIREO_TEST_PARAM_TABLES_H

#include "BlockIdentity.h"
#include "Params.h"

#include <iterator>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

namespace vireo_test {

struct ParamTable {
    std::string routine;  // exported function name
    std::string names;    // the identity's name list, main name first
    std::span<const vireo::block::Param> params;
    int maxInputs, outputs, maxParameters;
    std::vector<std::span<const vireo::block::Param>> forms{};  // one table per name, where the names differ
};

std::vector<ParamTable> emParamTables();
std::vector<ParamTable> stParamTables();
std::vector<ParamTable> ppParamTables();
std::vector<ParamTable> ubParamTables();

template <class Routine>
void addParamTable(std::vector<ParamTable>& tables, const vireo::block::BlockIdentity& id) {
    using P = typename vireo::block::ParamsOf<Routine>::type;
    if constexpr (!std::is_void_v<P>) {
        tables.push_back({id.routine, id.names, std::span<const vireo::block::Param>(P::table), id.maxInputs,
                          id.outputCount, id.maxParameters});
        if constexpr (requires { P::forms; }) tables.back().forms.assign(std::begin(P::forms), std::end(P::forms));
    }
}

}  // namespace vireo_test

#endif
