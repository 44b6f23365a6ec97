#pragma once

#include <initializer_list>
#include <string>

namespace scorvane::testing {

// What poppler's tools read from a PDF file.
// The text of every page (pdftotext -layout); fails the test when the file cannot be read.
std::string PdfText(const std::string& path);
// The number of pages; -1 when the file is no PDF.
int PdfPageCount(const std::string& path);
// The page count and each page's size in points: "3 595x842 595x842 842x595".
std::string PdfPageSizes(const std::string& path);

// Fails for every part of `present` the text lacks and every part of `absent` it holds.
void ExpectParts(const std::string& text, std::initializer_list<const char*> present,
                 std::initializer_list<const char*> absent = {});

}  // namespace scorvane::testing
