#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "main/document/data_file.h"

namespace scorvane::bench {

// The file `name` of the benchmark cache folder, written there once by `python3 GENERATOR ARGUMENTS
// --outdir FOLDER` when missing; "" when it cannot be made. The folder is SCORVANE_BENCH_DIR when set
// (it may already hold the files), else scorvane-bench in the temporary folder.
inline std::string GeneratedFile(const std::string& name, const std::string& generator,
                                 const std::string& arguments) {
    namespace fs = std::filesystem;
    const char* given = std::getenv("SCORVANE_BENCH_DIR");
    fs::path dir = given ? fs::path(given) : fs::temp_directory_path() / "scorvane-bench";
    fs::path file = dir / name;
    if (!fs::exists(file)) {
        fs::create_directories(dir);
        std::string command =
            "python3 '" + generator + "' " + arguments + " --outdir '" + dir.string() + "' > /dev/null";
        if (std::system(command.c_str()) != 0 || !fs::exists(file)) {
            return {};
        }
    }
    return file.string();
}

// The benchmark table of N students (grades_N.skv), written by the shared generator.
inline std::string BenchTable(int students = 20000) {
    std::string generator = std::string(SCORVANE_SOURCE_DIR) + "/../shared/bench/gen_table.py";
    if (!std::filesystem::exists(generator)) {
        generator = std::string(SCORVANE_SOURCE_DIR) + "/bench/gen_table.py";
    }
    const std::string n = std::to_string(students);
    return GeneratedFile("grades_" + n + ".skv", generator, n + " --no-xlsx");
}

// The FoxPro-style student list of N records (grades_N.dbf, the same students as the table), written
// by bench/gen_dbf.py.
inline std::string BenchDbf(int students = 20000) {
    const std::string n = std::to_string(students);
    return GeneratedFile("grades_" + n + ".dbf", std::string(SCORVANE_SOURCE_DIR) + "/bench/gen_dbf.py", n);
}

// The 20,000-student table, made once per run ("" when it cannot be made), and its path without
// ".skv" as the loading commands take it.
inline const std::string& BenchTablePath() {
    static const std::string path = BenchTable();
    return path;
}
inline std::string BenchTableStem() {
    const std::string& path = BenchTablePath();
    return path.empty() ? path : path.substr(0, path.size() - 4);
}

// The same students as the benchmark table in another (fixed) order, written once beside it; its path
// without ".skv" ("" when the table cannot be made).
inline const std::string& BenchShuffledStem() {
    static const std::string path = []() -> std::string {
        GradeTable t;
        auto bytes = ReadWholeFile(BenchTablePath());
        if (BenchTablePath().empty() || !bytes || !ParseDataFile(*bytes, t)) {
            return {};
        }
        std::vector<int> order;
        for (int r = 1; r < t.rows(); ++r) {
            order.push_back(r);
        }
        std::shuffle(order.begin(), order.end(), std::mt19937(20240901));
        GradeTable s = t;
        for (size_t i = 0; i < order.size(); ++i) {
            for (int c = 1; c < t.cols(); ++c) {
                s.setCell(static_cast<int>(i) + 1, c, t.cell(order[i], c));
            }
        }
        s.renumber();
        const std::string p = BenchTableStem() + "_shuffled";
        return WriteDataFile(s, p) ? p : std::string();
    }();
    return path;
}

// Makes the table before any timing starts and says which file it is; false, with a message, when it
// cannot be made.
inline bool PrepareBenchTable() {
    if (BenchTablePath().empty()) {
        std::cerr << "cannot make the benchmark table\n";
        return false;
    }
    std::cout << "table: " << BenchTablePath() << "\n";
    return true;
}

// The value of "--table PATH" among the program's arguments, else `fallback`.
inline std::string TableArgument(int argc, char** argv, std::string fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--table") == 0) {
            fallback = argv[i + 1];
        }
    }
    return fallback;
}

// The table in a data file, exactly as read; the program ends when it cannot be read.
inline GradeTable ReadTableOrExit(const std::string& path) {
    GradeTable table;
    auto bytes = ReadWholeFile(path);
    if (!bytes || !ParseDataFile(*bytes, table)) {
        std::fprintf(stderr, "cannot read the benchmark table %s\n", path.c_str());
        std::exit(1);
    }
    return table;
}

}  // namespace scorvane::bench
