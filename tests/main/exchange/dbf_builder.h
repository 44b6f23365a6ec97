#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace scorvane::testing {

// Writes dBASE/FoxPro tables and memo files byte by byte, for the reader's tests.
struct DbfFieldSpec {
    std::string name;  // bytes, up to 10
    char type = 'C';
    int length = 10;
    int decimals = 0;
    uint8_t flags = 0;  // Visual FoxPro field flags (0x01: hidden system field)
};

struct DbfRecord {
    std::vector<std::string> values;  // raw bytes per field, padded with blanks (or cut) to the length
    bool deleted = false;
};

inline void PutLe(std::string& out, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}
inline void PutBe(std::string& out, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * (bytes - 1 - i))) & 0xFF);
    }
}
inline std::string Le32(uint32_t v) {
    std::string s(4, '\0');
    PutLe(s, 0, v, 4);
    return s;
}

struct DbfBuilder {
    uint8_t version = 0x03;
    std::vector<DbfFieldSpec> fields;
    std::vector<DbfRecord> records;

    std::string bytes() const {
        const bool visual = version == 0x30 || version == 0x31 || version == 0x32;
        size_t recordLength = 1;
        for (const auto& f : fields) {
            recordLength += static_cast<size_t>(f.length);
        }
        const size_t headerLength = 32 + 32 * fields.size() + 1 + (visual ? 263 : 0);
        std::string out(32, '\0');
        out[0] = static_cast<char>(version);
        out[1] = 124;  // 2024
        out[2] = 9;
        out[3] = 1;
        PutLe(out, 4, static_cast<uint32_t>(records.size()), 4);
        PutLe(out, 8, static_cast<uint32_t>(headerLength), 2);
        PutLe(out, 10, static_cast<uint32_t>(recordLength), 2);
        out[29] = 0x7A;  // code page 936
        size_t displacement = 1;
        for (const auto& f : fields) {
            std::string d(32, '\0');
            d.replace(0, std::min<size_t>(f.name.size(), 10), f.name.substr(0, 10));
            d[11] = f.type;
            PutLe(d, 12, static_cast<uint32_t>(displacement), 4);
            d[16] = static_cast<char>(f.length);
            d[17] = static_cast<char>(f.decimals);
            d[18] = static_cast<char>(f.flags);
            out += d;
            displacement += static_cast<size_t>(f.length);
        }
        out += '\x0D';
        if (visual) {
            out += std::string(263, '\0');
        }
        for (const auto& r : records) {
            out += r.deleted ? '*' : ' ';
            for (size_t i = 0; i < fields.size(); ++i) {
                std::string v = i < r.values.size() ? r.values[i] : std::string();
                v.resize(static_cast<size_t>(fields[i].length), ' ');
                out += v;
            }
        }
        out += '\x1A';
        return out;
    }
};

// A FoxPro memo file (.fpt) with 64-byte blocks; texts are stored from block 8 on, one after another.
// `blocks` receives each text's block number.
inline std::string FptFile(const std::vector<std::string>& texts, std::vector<uint32_t>& blocks) {
    const uint32_t blockSize = 64;
    std::string out(512, '\0');
    PutBe(out, 6, blockSize, 2);
    for (const std::string& t : texts) {
        blocks.push_back(static_cast<uint32_t>(out.size() / blockSize));
        std::string block(8, '\0');
        PutBe(block, 0, 1, 4);
        PutBe(block, 4, static_cast<uint32_t>(t.size()), 4);
        block += t;
        block.resize((block.size() + blockSize - 1) / blockSize * blockSize, '\0');
        out += block;
    }
    PutBe(out, 0, static_cast<uint32_t>(out.size() / blockSize), 4);
    return out;
}

// A dBASE III memo file (.dbt): 512-byte blocks, each text ended by two end-of-text marks.
inline std::string DbtIIIFile(const std::vector<std::string>& texts, std::vector<uint32_t>& blocks) {
    std::string out(512, '\0');
    for (const std::string& t : texts) {
        blocks.push_back(static_cast<uint32_t>(out.size() / 512));
        std::string block = t + "\x1A\x1A";
        block.resize((block.size() + 511) / 512 * 512, '\0');
        out += block;
    }
    PutLe(out, 0, static_cast<uint32_t>(out.size() / 512), 4);
    return out;
}

// A dBASE IV memo file (.dbt): the block size in the header, each text behind a block header.
inline std::string DbtIVFile(const std::vector<std::string>& texts, std::vector<uint32_t>& blocks) {
    const uint32_t blockSize = 512;
    std::string out(blockSize, '\0');
    PutLe(out, 20, blockSize, 2);
    for (const std::string& t : texts) {
        blocks.push_back(static_cast<uint32_t>(out.size() / blockSize));
        std::string block =
            std::string("\xFF\xFF\x08\x00", 4) + Le32(static_cast<uint32_t>(t.size() + 8)) + t;
        block.resize((block.size() + blockSize - 1) / blockSize * blockSize, '\0');
        out += block;
    }
    return out;
}

}  // namespace scorvane::testing
