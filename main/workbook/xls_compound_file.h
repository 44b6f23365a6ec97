#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// A compound file (the container of .xls workbooks) holds streams in sectors chained through its
// allocation tables. Its chains are followed with every loop and every sector out of range refused.

// Where a stream's bytes lie in the file, in the stream's order.
struct CompoundPiece {
    uint64_t offset = 0;
    uint64_t length = 0;
};
struct CompoundStreamPlace {
    uint64_t size = 0;
    std::vector<CompoundPiece> pieces;  // adjoining sectors joined, each within the file
};

// The place of the first of the streams `names` (letter case ignored) in the compound file of
// `fileSize` bytes read through `fd`: only its header, allocation tables and directory are read.
// Nothing when the file is no sound compound file or has none of those streams.
std::optional<CompoundStreamPlace> FindCompoundStream(int fd, uint64_t fileSize,
                                                      std::initializer_list<std::string_view> names);

// The bytes of the first of the streams `names` of a compound file in memory.
std::optional<std::string> CompoundFileStream(std::string_view file, std::initializer_list<std::string_view> names);

}  // namespace scorvane
