#include "main/workspace/program_version.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(ProgramVersionTest, TheRevisionHasAtLeastFourDigits) {
    EXPECT_EQ(SplashVersionLine(1, 1, 0), "V 1.1.0000");
    EXPECT_EQ(SplashVersionLine(2, 10, 12345), "V 2.10.12345");
    EXPECT_EQ(SplashVersionLine("1.1.0"), "V 1.1.0000");
    EXPECT_EQ(SplashVersionLine("3.2.17"), "V 3.2.0017");
    EXPECT_EQ(SplashVersionLine("1.4"), "V 1.4.0000");
    EXPECT_EQ(SplashVersionLine("x.2"), "V 0.2.0000");
}

}  // namespace
}  // namespace scorvane
