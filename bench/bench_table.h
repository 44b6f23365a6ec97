#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace scorvane::bench {

// The benchmark table of N students (grades_N.skv), written once by the shared generator into a cache
// folder; SCORVANE_BENCH_DIR names another folder that already holds it.
inline std::string BenchTable(int students = 20000) {
    namespace fs = std::filesystem;
    const char* given = std::getenv("SCORVANE_BENCH_DIR");
    fs::path dir = given ? fs::path(given) : fs::temp_directory_path() / "scorvane-bench";
    fs::path table = dir / ("grades_" + std::to_string(students) + ".skv");
    if (!fs::exists(table)) {
        fs::create_directories(dir);
        std::string generator = std::string(SCORVANE_SOURCE_DIR) + "/../shared/bench/gen_table.py";
        if (!fs::exists(generator)) {
            generator = std::string(SCORVANE_SOURCE_DIR) + "/bench/gen_table.py";
        }
        std::string command = "python3 '" + generator + "' " + std::to_string(students) + " --outdir '" +
                              dir.string() + "' --no-xlsx > /dev/null";
        if (std::system(command.c_str()) != 0) {
            return {};
        }
    }
    return table.string();
}

}  // namespace scorvane::bench
