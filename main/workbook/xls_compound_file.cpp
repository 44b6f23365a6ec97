#include "main/workbook/xls_compound_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace scorvane {
namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kLastRegular = 0xFFFFFFFA;

uint32_t u32(std::string_view b, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

uint16_t u16(std::string_view b, size_t at) {
    uint16_t v = 0;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}

// The file's bytes, in memory or read where they lie.
class Source {
  public:
    explicit Source(std::string_view bytes) : bytes_(bytes), size_(bytes.size()) {}
    Source(int fd, uint64_t size) : fd_(fd), size_(size) {}

    uint64_t size() const { return size_; }

    // Appends `count` bytes from `offset`; false past the end or when the file cannot be read.
    bool append(uint64_t offset, size_t count, std::string& out) const {
        if (offset > size_ || count > size_ - offset) {
            return false;
        }
        if (fd_ < 0) {
            out.append(bytes_.substr(static_cast<size_t>(offset), count));
            return true;
        }
        const size_t start = out.size();
        out.resize(start + count);
        for (size_t done = 0; done < count;) {
            const ssize_t n = ::pread(fd_, out.data() + start + done, count - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                out.resize(start);
                return false;
            }
            done += static_cast<size_t>(n);
        }
        return true;
    }

  private:
    std::string_view bytes_;
    int fd_ = -1;
    uint64_t size_ = 0;
};

class Compound {
  public:
    explicit Compound(const Source& file) : file_(file) {}

    bool open() {
        if (!file_.append(0, 512, header_) ||
            header_.substr(0, 8) != std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
            return false;
        }
        const uint16_t shift = u16(header_, 0x1E);
        const uint16_t miniShift = u16(header_, 0x20);
        if ((shift != 9 && shift != 12) || miniShift != 6) {
            return false;
        }
        sector_ = size_t{1} << shift;
        sectors_ = (file_.size() - 1) / sector_;  // whole or partial sectors after the header
        // The sectors of the allocation table: 109 in the header, the rest in a chain of their own.
        std::vector<uint32_t> fatSectors;
        for (size_t i = 0; i < 109; ++i) {
            const uint32_t s = u32(header_, 0x4C + 4 * i);
            if (s <= kLastRegular) {
                fatSectors.push_back(s);
            }
        }
        uint32_t difat = u32(header_, 0x44);
        std::string block;
        for (size_t guard = 0; difat <= kLastRegular; ++guard) {
            block.clear();
            if (guard > sectors_ || !file_.append(sectorOffset(difat), sector_, block)) {
                return false;
            }
            for (size_t i = 0; i + 4 < sector_; i += 4) {
                const uint32_t s = u32(block, i);
                if (s <= kLastRegular) {
                    fatSectors.push_back(s);
                }
            }
            difat = u32(block, sector_ - 4);
        }
        if (fatSectors.size() > sectors_) {
            return false;
        }
        fat_.reserve(fatSectors.size() * (sector_ / 4));
        for (uint32_t s : fatSectors) {
            block.clear();
            if (!file_.append(sectorOffset(s), sector_, block)) {
                return false;
            }
            for (size_t i = 0; i < sector_; i += 4) {
                fat_.push_back(u32(block, i));
            }
        }
        miniCutoff_ = u32(header_, 0x38);
        std::vector<uint32_t> directory;
        if (!chain(fat_, u32(header_, 0x30), directory)) {
            return false;
        }
        for (uint32_t s : directory) {
            if (!file_.append(sectorOffset(s), sector_, directory_)) {
                return false;
            }
        }
        return true;
    }

    std::optional<CompoundStreamPlace> find(std::string_view name) {
        for (size_t at = 0; at + 128 <= directory_.size(); at += 128) {
            const std::string_view entry = std::string_view(directory_).substr(at, 128);
            const uint16_t length = u16(entry, 64);
            if (entry[66] != 2 || length < 2 || length > 64 || static_cast<size_t>(length - 2) / 2 != name.size()) {
                continue;
            }
            bool same = true;
            for (size_t i = 0; i < name.size() && same; ++i) {
                const uint16_t c = u16(entry, 2 * i);
                same = c < 0x80 && (static_cast<char>(c) | 0x20) == (name[i] | 0x20);
            }
            if (!same) {
                continue;
            }
            CompoundStreamPlace place;
            place.size = u32(entry, 120);
            const bool mini = place.size < miniCutoff_;
            if (mini && !openMini()) {
                return std::nullopt;
            }
            std::vector<uint32_t> sectors;
            if (!chain(mini ? miniFat_ : fat_, u32(entry, 116), sectors)) {
                return std::nullopt;
            }
            uint64_t left = place.size;
            for (size_t i = 0; i < sectors.size() && left > 0; ++i) {
                const size_t size = mini ? 64 : sector_;
                CompoundPiece piece;
                if (mini) {
                    // A mini sector lies inside one sector of the mini stream.
                    const uint64_t at = uint64_t{sectors[i]} * 64;
                    if (at / sector_ >= miniStream_.size()) {
                        return std::nullopt;
                    }
                    piece.offset = sectorOffset(miniStream_[static_cast<size_t>(at / sector_)]) + at % sector_;
                } else {
                    piece.offset = sectorOffset(sectors[i]);
                }
                piece.length = std::min<uint64_t>(size, left);
                if (piece.offset > file_.size() || piece.length > file_.size() - piece.offset) {
                    return std::nullopt;
                }
                left -= piece.length;
                if (!place.pieces.empty() &&
                    place.pieces.back().offset + place.pieces.back().length == piece.offset) {
                    place.pieces.back().length += piece.length;
                } else {
                    place.pieces.push_back(piece);
                }
            }
            if (left > 0) {
                return std::nullopt;
            }
            return place;
        }
        return std::nullopt;
    }

  private:
    uint64_t sectorOffset(uint32_t s) const { return (uint64_t{s} + 1) * sector_; }

    // The sectors of a chain from `start`; a chain that loops or leaves the table is refused.
    static bool chain(const std::vector<uint32_t>& table, uint32_t start, std::vector<uint32_t>& out) {
        out.clear();
        for (uint32_t s = start; s != kEndOfChain; s = table[s]) {
            if (s >= table.size() || out.size() > table.size()) {
                return false;
            }
            out.push_back(s);
        }
        return true;
    }

    // The mini stream's sectors (the root entry's chain) and its allocation table.
    bool openMini() {
        if (miniOpen_) {
            return true;
        }
        miniOpen_ = true;
        std::vector<uint32_t> fatSectors;
        if (directory_.size() < 128 || !chain(fat_, u32(header_, 0x3C), fatSectors) ||
            !chain(fat_, u32(directory_, 116), miniStream_)) {
            return false;
        }
        std::string block;
        for (uint32_t s : fatSectors) {
            block.clear();
            if (!file_.append(sectorOffset(s), sector_, block)) {
                return false;
            }
            for (size_t i = 0; i + 4 <= block.size(); i += 4) {
                miniFat_.push_back(u32(block, i));
            }
        }
        return true;
    }

    const Source& file_;
    std::string header_;
    size_t sector_ = 512;
    size_t sectors_ = 0;
    std::vector<uint32_t> fat_;
    std::string directory_;
    uint32_t miniCutoff_ = 4096;
    bool miniOpen_ = false;
    std::vector<uint32_t> miniFat_;
    std::vector<uint32_t> miniStream_;
};

std::optional<CompoundStreamPlace> findFirst(const Source& source, std::initializer_list<std::string_view> names) {
    Compound compound(source);
    if (!compound.open()) {
        return std::nullopt;
    }
    for (std::string_view name : names) {
        if (std::optional<CompoundStreamPlace> place = compound.find(name)) {
            return place;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<CompoundStreamPlace> FindCompoundStream(int fd, uint64_t fileSize,
                                                      std::initializer_list<std::string_view> names) {
    return findFirst(Source(fd, fileSize), names);
}

std::optional<std::string> CompoundFileStream(std::string_view file, std::initializer_list<std::string_view> names) {
    const Source source(file);
    const std::optional<CompoundStreamPlace> place = findFirst(source, names);
    if (!place) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(static_cast<size_t>(place->size));
    for (const CompoundPiece& piece : place->pieces) {
        source.append(piece.offset, static_cast<size_t>(piece.length), out);
    }
    return out;
}

}  // namespace scorvane
