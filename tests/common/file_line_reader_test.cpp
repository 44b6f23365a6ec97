#include "common/file_line_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "common/line_reader.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::TempDir;
using testing::WriteBytes;

std::vector<std::string> readLines(const std::string& path, bool& ok) {
    FileLineReader reader(path);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line)) {
        lines.emplace_back(line);
    }
    ok = reader.ok() && reader.remaining() == 0;
    return lines;
}

// The lines of a file read through the buffer are the lines of its bytes, wherever they end: at the
// buffer's last byte, with CR and LF on either side of it, in a line longer than the buffer, at the
// end of the file with or without a line end.
TEST(FileLineReader, ReadsTheLinesOfTheWholeText) {
    TempDir dir;
    const size_t buffer = 256 * 1024;
    std::string many;
    for (int i = 0; i < 60000; ++i) {
        many += std::to_string(i) + (i % 3 == 0 ? "\r\n" : "\n");
    }
    const std::vector<std::string> texts = {
        "",
        "a",
        "a\r\n",
        "a\r\n\r\n",
        "\n\n",
        "a\rb\r\nlast\r",
        std::string(buffer - 1, 'x') + "\nnext",
        std::string(buffer - 1, 'x') + "\r\nnext\r\n",
        std::string(buffer, 'x') + "\r\n",
        std::string(3 * buffer + 7, 'y') + "\r\nshort",
        many,
    };
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string path = dir.file("lines" + std::to_string(i));
        WriteBytes(path, texts[i]);
        bool ok = false;
        const std::vector<std::string> lines = readLines(path, ok);
        std::vector<std::string> expected;
        for (std::string_view line : SplitLines(texts[i])) {
            expected.emplace_back(line);
        }
        EXPECT_TRUE(ok) << i;
        EXPECT_EQ(lines, expected) << i;
    }
}

TEST(FileLineReader, ReadsOnlyRegularFiles) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("missing"), dir.path(), dir.file("pipe")}) {
        FileLineReader reader(path);
        std::string_view line;
        EXPECT_FALSE(reader.ok()) << path;
        EXPECT_FALSE(reader.next(line)) << path;
    }
}

}  // namespace
}  // namespace scorvane
