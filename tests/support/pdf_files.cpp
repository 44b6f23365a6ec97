#include "support/pdf_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "support/run_program.h"

namespace scorvane::testing {
namespace {

// The number after `label` in the text, searched from `from` (moved past the label); -1 when there is
// none.
double NumberAfter(const std::string& text, const std::string& label, size_t& from) {
    const size_t at = text.find(label, from);
    if (at == std::string::npos) {
        return -1;
    }
    from = at + label.size();
    return std::strtod(text.c_str() + from, nullptr);
}

}  // namespace

std::string PdfText(const std::string& path) {
    ProgramResult r = RunProgram("/usr/bin/pdftotext", {"-layout", path, "-"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

int PdfPageCount(const std::string& path) {
    const std::string info = RunProgram("/usr/bin/pdfinfo", {path}).out;
    size_t from = 0;
    return static_cast<int>(NumberAfter(info, "Pages:", from));
}

std::string PdfPageSizes(const std::string& path) {
    const std::string info = RunProgram("/usr/bin/pdfinfo", {"-f", "1", "-l", "999", path}).out;
    size_t from = 0;
    std::string out = std::to_string(static_cast<int>(NumberAfter(info, "Pages:", from)));
    from = 0;
    while (true) {
        const size_t page = info.find("\nPage ", from);
        if (page == std::string::npos) {
            break;
        }
        from = page + 1;
        const size_t lineEnd = info.find('\n', from);
        const std::string line = info.substr(from, lineEnd - from);
        size_t at = 0;
        const double w = NumberAfter(line, "size:", at);
        const double h = NumberAfter(line, " x ", at);
        if (w >= 0 && h >= 0) {
            out += " " + std::to_string(std::lround(w)) + "x" + std::to_string(std::lround(h));
        }
    }
    return out;
}

void ExpectParts(const std::string& text, std::initializer_list<const char*> present,
                 std::initializer_list<const char*> absent) {
    for (const char* part : present) {
        EXPECT_NE(text.find(part), std::string::npos) << part << " missing in:\n" << text;
    }
    for (const char* part : absent) {
        EXPECT_EQ(text.find(part), std::string::npos) << part << " unexpected in:\n" << text;
    }
}

}  // namespace scorvane::testing
