// Every message code a block library uses stands in the utility library's catalogue, and
// its text uses only what the code's reports fill: the protocol slots {i0} to {i9}, the
// block's name {s1}, and the placeholders the code declares.
#include "Messages.h"
#include "catalogue.h"

#include "../../blocks/em/src/messages.h"
#include "../../blocks/em/src/weather/codes.h"
#include "../../blocks/st/src/messages.h"
#include "../../blocks/pp/src/messages.h"
#include "../../platform/userblocks/messages.h"

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <sstream>
#include <string>

namespace {

std::set<std::string> filled(const vireo::block::Code& code) {
    std::set<std::string> slots{"s1"};
    for (int i = 0; i < 10; ++i) slots.insert("i" + std::to_string(i));
    std::istringstream words(code.fills);
    for (std::string w; words >> w;) slots.insert(w);
    return slots;
}

void expectInCatalogue(const char* library, std::span<const vireo::block::Code> codes) {
    std::set<int> seen;
    for (const auto& code : codes) {
        EXPECT_TRUE(seen.insert(code.number).second) << library << ": " << code.number << " twice";
        const vireo_tools::Message* m = vireo_tools::findMessage(code.number);
        ASSERT_NE(m, nullptr) << library << ": " << code.number << " is not in the catalogue";
        const auto slots = filled(code);
        for (const auto& s : m->slots) {
            const std::string name = s.kind + std::to_string(s.index);
            EXPECT_TRUE(slots.count(name)) << library << ": " << code.number << " shows {" << name
                                           << "}, which its reports do not fill";
        }
    }
}

}  // namespace

TEST(MessageCodes, EveryCodeStandsInTheCatalogueWithWhatItFills) {
    EXPECT_TRUE(vireo_tools::catalogueProblems().empty());
    expectInCatalogue("frame", vireo::block::frameCode::kAllCodes);
    expectInCatalogue("libVireoEM", vireo::em::code::kAllCodes);
    expectInCatalogue("libVireoEM weather database", vireo::em::weather::code::kAllCodes);
    expectInCatalogue("libVireoST", vireo::st::code::kAllCodes);
    expectInCatalogue("libVireoPP", vireo::pp::code::kAllCodes);
    expectInCatalogue("libVireoUB", ub::code::kAllCodes);
}
