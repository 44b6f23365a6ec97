#include "support/xls_builder.h"

#include <algorithm>
#include <cstring>

namespace scorvane::testing {
namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFree = 0xFFFFFFFF;
constexpr uint32_t kFatSector = 0xFFFFFFFD;

// UTF-8 to UTF-16 code units.
std::u16string utf16(std::string_view utf8) {
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c = b;
        size_t n = 1;
        if (b >= 0xF0) {
            c = b & 0x07, n = 4;
        } else if (b >= 0xE0) {
            c = b & 0x0F, n = 3;
        } else if (b >= 0xC0) {
            c = b & 0x1F, n = 2;
        }
        for (size_t k = 1; k < n && i + k < utf8.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += n;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string bof(uint16_t kind, bool biff8) {
    return biff8 ? Biff(0x0809, U16(0x0600) + U16(kind) + U16(0x0DBB) + U16(0x07CC) + U32(0x41) + U32(6))
                 : Biff(0x0809, U16(0x0500) + U16(kind) + U16(0x0DBB) + U16(0x07CC));
}

std::string boundSheet(uint32_t offset, std::string_view name, bool biff8) {
    if (!biff8) {
        return Biff(0x0085, U32(offset) + U16(0) + U8(static_cast<uint8_t>(name.size())) + std::string(name));
    }
    const std::u16string wide = utf16(name);
    std::string data = U32(offset) + U16(0) + U8(static_cast<uint8_t>(wide.size())) + U8(1);
    for (char16_t c : wide) {
        data += U16(static_cast<uint16_t>(c));
    }
    return Biff(0x0085, data);
}

}  // namespace

std::string Biff(uint16_t type, std::string_view data) {
    return U16(type) + U16(static_cast<uint16_t>(data.size())) + std::string(data);
}

std::string U8(uint8_t v) {
    return std::string(1, static_cast<char>(v));
}

std::string U16(uint16_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

std::string U32(uint32_t v) {
    return U16(static_cast<uint16_t>(v & 0xFFFF)) + U16(static_cast<uint16_t>(v >> 16));
}

std::string F64(double v) {
    std::string out(8, '\0');
    std::memcpy(out.data(), &v, 8);
    return out;
}

std::string Unicode(std::string_view utf8, bool narrow) {
    const std::u16string wide = utf16(utf8);
    std::string out = U16(static_cast<uint16_t>(wide.size())) + U8(narrow ? 0 : 1);
    for (char16_t c : wide) {
        out += narrow ? U8(static_cast<uint8_t>(c)) : U16(static_cast<uint16_t>(c));
    }
    return out;
}

std::string Cell(uint16_t type, uint16_t row, uint16_t col, uint16_t style, std::string_view rest) {
    return Biff(type, U16(row) + U16(col) + U16(style) + std::string(rest));
}

std::string Label(uint16_t row, uint16_t col, std::string_view utf8) {
    return Cell(0x0204, row, col, 0, Unicode(utf8));
}

std::string LabelSst(uint16_t row, uint16_t col, uint32_t index) {
    return Cell(0x00FD, row, col, 0, U32(index));
}

std::string Number(uint16_t row, uint16_t col, double value, uint16_t style) {
    return Cell(0x0203, row, col, style, F64(value));
}

std::string Formula(uint16_t row, uint16_t col, std::string_view result, uint16_t style) {
    // The formula =1 after its stored result.
    return Cell(0x0006, row, col, style, std::string(result) + U16(0) + U32(0) + U16(3) + "\x1e\x01" + U8(0));
}

std::string FormulaNumber(uint16_t row, uint16_t col, double value, uint16_t style) {
    return Formula(row, col, F64(value), style);
}

std::string TextResult() {
    return U8(0) + std::string(5, '\0') + U16(0xFFFF);
}

std::string BoolResult(bool value) {
    return U8(1) + U8(0) + U8(value ? 1 : 0) + std::string(3, '\0') + U16(0xFFFF);
}

std::string ErrorResult(uint8_t code) {
    return U8(2) + U8(0) + U8(code) + std::string(3, '\0') + U16(0xFFFF);
}

std::string Sst(const std::vector<std::string>& utf8) {
    std::string data = U32(static_cast<uint32_t>(utf8.size())) + U32(static_cast<uint32_t>(utf8.size()));
    for (const std::string& s : utf8) {
        data += Unicode(s);
    }
    return Biff(0x00FC, data);
}

std::string Xf(uint16_t format) {
    return Biff(0x00E0, U16(0) + U16(format) + U16(1) + U8(0x20) + std::string(3, '\0') + U32(0) + U32(0) + U16(0x20C0));
}

std::string Format(uint16_t id, std::string_view code) {
    return Biff(0x041E, U16(id) + Unicode(code));
}

std::string XlsStream(std::string_view globals, const std::vector<XlsSheet>& sheets, bool biff8) {
    std::string head = bof(0x0005, biff8);
    for (int i = 0; i < 16; ++i) {
        head += Xf(0);
    }
    head += globals;
    size_t bounds = 0;
    for (const XlsSheet& sheet : sheets) {
        bounds += boundSheet(0, sheet.name, biff8).size();
    }
    const std::string end = Biff(0x000A, "");
    std::string bodies;
    std::string boundSheets;
    for (const XlsSheet& sheet : sheets) {
        boundSheets += boundSheet(static_cast<uint32_t>(head.size() + bounds + end.size() + bodies.size()), sheet.name,
                                  biff8);
        bodies += bof(0x0010, biff8) + sheet.records + end;
    }
    return head + boundSheets + end + bodies;
}

std::string CompoundFile(std::string_view stream, std::string_view name) {
    std::string body(stream);
    body.resize(std::max<size_t>(body.size(), 4096), '\0');  // past the mini stream's cutoff
    body.resize((body.size() + 511) / 512 * 512, '\0');
    const uint32_t sectors = static_cast<uint32_t>(body.size() / 512);
    // The stream's sectors, the directory's, then as many sectors of the allocation table as it takes.
    uint32_t fatSectors = 1;
    while (sectors + 1 + fatSectors > 128 * fatSectors) {
        ++fatSectors;
    }
    std::vector<uint32_t> fat;
    for (uint32_t s = 0; s + 1 < sectors; ++s) {
        fat.push_back(s + 1);
    }
    fat.push_back(kEndOfChain);
    fat.push_back(kEndOfChain);  // the directory
    for (uint32_t i = 0; i < fatSectors; ++i) {
        fat.push_back(kFatSector);
    }
    fat.resize(128 * fatSectors, kFree);

    auto entry = [](std::string_view entryName, uint8_t kind, uint32_t child, uint32_t start, uint32_t size) {
        std::string e;
        for (char c : entryName) {
            e += U16(static_cast<uint8_t>(c));
        }
        e += U16(0);
        const auto length = static_cast<uint16_t>(e.size());
        e.resize(64, '\0');
        e += U16(length) + U8(kind) + U8(1) + U32(kFree) + U32(kFree) + U32(child) + std::string(36, '\0') +
             U32(start) + U32(size) + U32(0);
        return e;
    };
    std::string directory = entry("Root Entry", 5, 1, kEndOfChain, 0) +
                            entry(name, 2, kFree, 0, static_cast<uint32_t>(stream.size() < 4096 ? 4096 : stream.size()));
    directory.resize(512, '\0');

    std::string header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header += std::string(16, '\0') + U16(0x3E) + U16(3) + U16(0xFFFE) + U16(9) + U16(6) + std::string(6, '\0');
    header += U32(0) + U32(fatSectors) + U32(sectors) + U32(0) + U32(4096) + U32(kEndOfChain) + U32(0) +
              U32(kEndOfChain) + U32(0);
    for (uint32_t i = 0; i < 109; ++i) {
        header += U32(i < fatSectors ? sectors + 1 + i : kFree);
    }
    std::string fatBytes;
    for (uint32_t v : fat) {
        fatBytes += U32(v);
    }
    return header + body + directory + fatBytes;
}

std::string XlsBytes(std::string_view globals, const std::vector<XlsSheet>& sheets, bool biff8) {
    return CompoundFile(XlsStream(globals, sheets, biff8), biff8 ? "Workbook" : "Book");
}

}  // namespace scorvane::testing
