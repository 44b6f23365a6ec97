#include "common/menu_text.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(MenuText, EveryAmpersandIsDoubledAndNothingElseChanges) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""}, {"期中考试", "期中考试"}, {"语&数", "语&&数"}, {"&", "&&"}, {"a&&b&", "a&&&&b&&"},
    };
    for (auto [name, shown] : cases) {
        EXPECT_EQ(MenuEntryText(name), shown) << name;
    }
}

}  // namespace
}  // namespace scorvane
