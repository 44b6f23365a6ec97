#include "main/workbook/xls_compound_file.h"

#include <cstdint>
#include <cstring>
#include <vector>

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

class Compound {
  public:
    explicit Compound(std::string_view file) : file_(file) {}

    bool open() {
        if (file_.size() < 512 || file_.substr(0, 8) != std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
            return false;
        }
        const uint16_t shift = u16(file_, 0x1E);
        const uint16_t miniShift = u16(file_, 0x20);
        if ((shift != 9 && shift != 12) || miniShift != 6) {
            return false;
        }
        sector_ = size_t{1} << shift;
        sectors_ = (file_.size() - 1) / sector_;  // whole or partial sectors after the header
        // The sectors of the allocation table: 109 in the header, the rest in a chain of their own.
        std::vector<uint32_t> fatSectors;
        for (size_t i = 0; i < 109; ++i) {
            const uint32_t s = u32(file_, 0x4C + 4 * i);
            if (s <= kLastRegular) {
                fatSectors.push_back(s);
            }
        }
        uint32_t difat = u32(file_, 0x44);
        for (size_t guard = 0; difat <= kLastRegular; ++guard) {
            const std::string_view block = sectorAt(difat);
            if (block.empty() || guard > sectors_) {
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
        for (uint32_t s : fatSectors) {
            const std::string_view block = sectorAt(s);
            if (block.empty()) {
                return false;
            }
            for (size_t i = 0; i < sector_; i += 4) {
                fat_.push_back(u32(block, i));
            }
        }
        miniCutoff_ = u32(file_, 0x38);
        return chain(fat_, u32(file_, 0x30), directory_, sector_, [this](uint32_t s) { return sectorAt(s); });
    }

    std::optional<std::string> stream(std::string_view name) {
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
            const uint32_t start = u32(entry, 116);
            const uint32_t size = u32(entry, 120);
            std::string out;
            if (size < miniCutoff_) {
                if (!openMini()) {
                    return std::nullopt;
                }
                if (!chain(miniFat_, start, out, 64, [this](uint32_t s) { return miniSectorAt(s); })) {
                    return std::nullopt;
                }
            } else if (!chain(fat_, start, out, sector_, [this](uint32_t s) { return sectorAt(s); })) {
                return std::nullopt;
            }
            if (out.size() < size) {
                return std::nullopt;
            }
            out.resize(size);
            return out;
        }
        return std::nullopt;
    }

  private:
    std::string_view sectorAt(uint32_t s) const {
        const size_t at = (static_cast<size_t>(s) + 1) * sector_;
        if (s > kLastRegular || at + sector_ > file_.size()) {
            return {};
        }
        return file_.substr(at, sector_);
    }

    std::string_view miniSectorAt(uint32_t s) const {
        const size_t at = static_cast<size_t>(s) * 64;
        if (at + 64 > miniStream_.size()) {
            return {};
        }
        return std::string_view(miniStream_).substr(at, 64);
    }

    template <typename Sector>
    bool chain(const std::vector<uint32_t>& table, uint32_t start, std::string& out, size_t size, Sector sector) {
        out.clear();
        for (uint32_t s = start; s != kEndOfChain;) {
            const std::string_view block = sector(s);
            if (block.empty() || s >= table.size() || out.size() / size > table.size()) {
                return false;
            }
            out.append(block);
            s = table[s];
        }
        return true;
    }

    bool openMini() {
        if (miniOpen_) {
            return true;
        }
        miniOpen_ = true;
        std::string fatBytes;
        if (directory_.size() < 128 ||
            !chain(fat_, u32(file_, 0x3C), fatBytes, sector_, [this](uint32_t s) { return sectorAt(s); }) ||
            !chain(fat_, u32(directory_, 116), miniStream_, sector_, [this](uint32_t s) { return sectorAt(s); })) {
            return false;
        }
        for (size_t i = 0; i + 4 <= fatBytes.size(); i += 4) {
            miniFat_.push_back(u32(fatBytes, i));
        }
        return true;
    }

    std::string_view file_;
    size_t sector_ = 512;
    size_t sectors_ = 0;
    std::vector<uint32_t> fat_;
    std::string directory_;
    uint32_t miniCutoff_ = 4096;
    bool miniOpen_ = false;
    std::vector<uint32_t> miniFat_;
    std::string miniStream_;
};

}  // namespace

std::optional<std::string> CompoundFileStream(std::string_view file, std::string_view name) {
    Compound compound(file);
    if (!compound.open()) {
        return std::nullopt;
    }
    return compound.stream(name);
}

}  // namespace scorvane
