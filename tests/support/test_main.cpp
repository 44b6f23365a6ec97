#include <gtest/gtest.h>
#include <stdlib.h>

// Under the leak checker, allocations that the system's font and graphics libraries keep for the life
// of the process are not ours to report (the same list as scripts/lsan.supp, so that the test binaries
// run clean however they are started).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libdbus\nleak:libglib\n";
}

// Every test binary starts here. Widgets draw offscreen unless told otherwise, and settings written by
// a test land in a throw-away folder instead of the user's own.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char configTemplate[] = "/tmp/scorvane-config-XXXXXX";
    if (const char* made = ::mkdtemp(configTemplate)) {
        ::setenv("XDG_CONFIG_HOME", made, 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
