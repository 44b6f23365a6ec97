#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The fuzz targets: one entry function per reader of untrusted input. libFuzzer calls them through
// fuzz_main.cpp in the clang build (scripts/fuzz); the ordinary build replays every corpus file and
// every input that once failed through the same functions (corpus_replay_test.cpp). Each function
// reads the input as the program would and aborts when a rule of the reader is broken, so that a
// wrong result counts as a finding as much as a crash does.
namespace scorvane::fuzz {

int FuzzDataFile(const uint8_t* data, size_t size);        // .skv data files
int FuzzSchoolFile(const uint8_t* data, size_t size);      // the INI store and SchoolInfo.ini
int FuzzFieldTemplate(const uint8_t* data, size_t size);   // .templet field templates
int FuzzCsv(const uint8_t* data, size_t size);             // comma-separated text
int FuzzDbf(const uint8_t* data, size_t size);             // dBASE/FoxPro tables with their memo files
int FuzzReportTemplate(const uint8_t* data, size_t size);  // .rvx report templates
int FuzzEvaluator(const uint8_t* data, size_t size);       // the expression evaluator
int FuzzFormulaCells(const uint8_t* data, size_t size);    // formula cells over a small table
int FuzzNumberFormat(const uint8_t* data, size_t size);    // the data format of formula results
int FuzzTextCodec(const uint8_t* data, size_t size);       // GBK / GB18030 and UTF-8
int FuzzXlsx(const uint8_t* data, size_t size);            // .xlsx workbooks
int FuzzOds(const uint8_t* data, size_t size);             // .ods workbooks
int FuzzXls(const uint8_t* data, size_t size);             // .xls workbooks
int FuzzRecoveryInfo(const uint8_t* data, size_t size);    // sidecars of recovery copies
int FuzzLockFile(const uint8_t* data, size_t size);        // lock files beside open files

struct FuzzTarget {
    std::string_view name;  // the folder of its corpus and dictionary
    int (*entry)(const uint8_t* data, size_t size);
};
inline constexpr FuzzTarget kFuzzTargets[] = {
    {"data_file", FuzzDataFile},
    {"school_file", FuzzSchoolFile},
    {"field_template", FuzzFieldTemplate},
    {"csv", FuzzCsv},
    {"dbf", FuzzDbf},
    {"report_template", FuzzReportTemplate},
    {"evaluator", FuzzEvaluator},
    {"formula_cells", FuzzFormulaCells},
    {"number_format", FuzzNumberFormat},
    {"text_codec", FuzzTextCodec},
    {"xlsx", FuzzXlsx},
    {"ods", FuzzOds},
    {"xls", FuzzXls},
    {"recovery_info", FuzzRecoveryInfo},
    {"lock_file", FuzzLockFile},
};

}  // namespace scorvane::fuzz
