#include "common/interface_input.h"

#include <gtest/gtest.h>

namespace scorvane::testing {
namespace {

using std::chrono::milliseconds;

// Without input the work goes on at once; after a key it waits until the key is `recent` old, and
// never longer than `longest`.
TEST(InterfaceInput, WorkGivesWayToRecentInputOnly) {
    struct Case {
        bool key;
        milliseconds recent;
        milliseconds longest;
        milliseconds atLeast;
        milliseconds below;
    };
    for (const Case& c :
         {Case{false, milliseconds(1000), milliseconds(2000), milliseconds(0), milliseconds(500)},
          Case{true, milliseconds(30), milliseconds(2000), milliseconds(30), milliseconds(1000)},
          Case{true, milliseconds(5000), milliseconds(40), milliseconds(40), milliseconds(2000)}}) {
        const auto begin = std::chrono::steady_clock::now();
        if (c.key) {
            NoteInterfaceInput();
        }
        GiveWayToInterface(c.recent, c.longest);
        const auto waited = std::chrono::steady_clock::now() - begin;
        EXPECT_GE(waited, c.atLeast);
        EXPECT_LT(waited, c.below);
    }
}

}  // namespace
}  // namespace scorvane::testing
