#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scorvane::testing {

// Writes dBASE/FoxPro tables and memo files byte by byte, for the reader's tests.
struct DbfFieldSpec {
    std::string name;  // bytes, up to 10
    char type = 'C';
    int length = 10;
    uint8_t flags = 0;  // Visual FoxPro field flags (0x01: hidden system field)
};

struct DbfRecord {
    std::vector<std::string> values;  // raw bytes per field, padded with blanks to the field's length
    bool deleted = false;
};

// `count` bytes of v, little-endian (or big-endian), at `at` of `out`.
inline void Put(std::string& out, size_t at, uint32_t v, int count, bool bigEndian = false) {
    for (int i = 0; i < count; ++i) {
        out[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * (bigEndian ? count - 1 - i : i)));
    }
}
inline std::string Le32(uint32_t v) {
    std::string s(4, '\0');
    Put(s, 0, v, 4);
    return s;
}

struct DbfBuilder {
    uint8_t version = 0x03;
    std::vector<DbfFieldSpec> fields;
    std::vector<DbfRecord> records;

    std::string bytes() const {
        const bool visual = version >= 0x30 && version <= 0x32;
        size_t recordLength = 1;
        for (const auto& f : fields) {
            recordLength += static_cast<size_t>(f.length);
        }
        std::string out(32, '\0');
        out[0] = static_cast<char>(version);
        Put(out, 4, static_cast<uint32_t>(records.size()), 4);
        Put(out, 8, static_cast<uint32_t>(32 + 32 * fields.size() + 1 + (visual ? 263 : 0)), 2);
        Put(out, 10, static_cast<uint32_t>(recordLength), 2);
        for (const auto& f : fields) {
            std::string d(32, '\0');
            d.replace(0, f.name.size(), f.name);
            d[11] = f.type;
            d[16] = static_cast<char>(f.length);
            d[18] = static_cast<char>(f.flags);
            out += d;
        }
        out += '\x0D' + std::string(visual ? 263 : 0, '\0');
        for (const auto& r : records) {
            out += r.deleted ? '*' : ' ';
            for (size_t i = 0; i < fields.size(); ++i) {
                std::string v = i < r.values.size() ? r.values[i] : std::string();
                v.resize(static_cast<size_t>(fields[i].length), ' ');
                out += v;
            }
        }
        return out + '\x1A';
    }
};

// A memo file of the given kind holding the texts, one per block run; `blocks` receives their block
// numbers. FoxPro (.fpt): 64-byte blocks, each text behind a type and a length. dBASE III (.dbt):
// 512-byte blocks, each text ended by end-of-text marks. dBASE IV (.dbt): each text behind a block
// header with its length.
enum class MemoKind { FoxPro, DBase3, DBase4 };
inline std::string MemoFile(MemoKind kind, const std::vector<std::string>& texts,
                            std::vector<uint32_t>& blocks) {
    const size_t size = kind == MemoKind::FoxPro ? 64 : 512;
    std::string out(512, '\0');
    if (kind == MemoKind::FoxPro) {
        Put(out, 6, static_cast<uint32_t>(size), 2, true);
    } else if (kind == MemoKind::DBase4) {
        Put(out, 20, static_cast<uint32_t>(size), 2);
    }
    for (const std::string& t : texts) {
        blocks.push_back(static_cast<uint32_t>(out.size() / size));
        std::string block;
        if (kind == MemoKind::FoxPro) {
            block = std::string(8, '\0') + t;
            Put(block, 0, 1, 4, true);
            Put(block, 4, static_cast<uint32_t>(t.size()), 4, true);
        } else if (kind == MemoKind::DBase3) {
            block = t + "\x1A\x1A";
        } else {
            block = std::string("\xFF\xFF\x08\x00", 4) + Le32(static_cast<uint32_t>(t.size() + 8)) + t;
        }
        block.resize((block.size() + size - 1) / size * size, '\0');
        out += block;
    }
    return out;
}

}  // namespace scorvane::testing
