#include "common/text_codec.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace scorvane {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr int kLeadCount = 0xFE - 0x81 + 1;  // lead bytes 0x81..0xFE
constexpr int kTrailCount = 190;             // trail bytes 0x40..0xFE without 0x7F
constexpr int kTwoByteCount = kLeadCount * kTrailCount;

int trailIndex(unsigned char trail) {
    if (trail < 0x40 || trail > 0xFE || trail == 0x7F) {
        return -1;
    }
    return trail < 0x7F ? trail - 0x40 : trail - 0x41;
}

unsigned char trailByte(int index) {
    return static_cast<unsigned char>(index < 63 ? index + 0x40 : index + 0x41);
}

// Converts a whole buffer with iconv; nullopt when the converter rejects any byte.
std::optional<std::string> iconvWhole(const char* to, const char* from, std::string_view input) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || inLeft != 0) {
        return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
}

char32_t readUcs4(const std::string& s, size_t at) {
    auto b = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(s[at + i])); };
    return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

// The two-byte part of GB18030, taken once from the system converter: code point per (lead, trail).
const std::vector<char32_t>& twoByteTable() {
    static const std::vector<char32_t> table = [] {
        std::vector<char32_t> t(kTwoByteCount, kReplacement);
        std::string all;
        all.reserve(kTwoByteCount * 2);
        for (int lead = 0; lead < kLeadCount; ++lead) {
            for (int trail = 0; trail < kTrailCount; ++trail) {
                all.push_back(static_cast<char>(0x81 + lead));
                all.push_back(static_cast<char>(trailByte(trail)));
            }
        }
        if (auto whole = iconvWhole("UCS-4LE", "GB18030", all);
            whole && whole->size() == kTwoByteCount * 4u) {
            for (int i = 0; i < kTwoByteCount; ++i) {
                t[i] = readUcs4(*whole, static_cast<size_t>(i) * 4);
            }
            return t;
        }
        // A converter that refuses some pair: take the pairs one by one.
        for (int i = 0; i < kTwoByteCount; ++i) {
            auto one = iconvWhole("UCS-4LE", "GB18030", std::string_view(all).substr(i * 2, 2));
            if (one && one->size() == 4) {
                t[i] = readUcs4(*one, 0);
            }
        }
        return t;
    }();
    return table;
}

// Reverse of the two-byte table: GBK code (lead << 8 | trail) per BMP code point, 0 when none. The few
// two-byte codes of characters beyond the BMP are left to the system converter.
const std::vector<uint16_t>& reverseTable() {
    static const std::vector<uint16_t> table = [] {
        std::vector<uint16_t> r(0x10000, 0);
        const auto& t = twoByteTable();
        for (int i = 0; i < kTwoByteCount; ++i) {
            char32_t cp = t[i];
            if (cp == kReplacement || cp < 0x80 || cp > 0xFFFF || r[cp] != 0) {
                continue;
            }
            int lead = 0x81 + i / kTrailCount;
            int trail = trailByte(i % kTrailCount);
            r[cp] = static_cast<uint16_t>((lead << 8) | trail);
        }
        return r;
    }();
    return table;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool isDigitByte(unsigned char c) {
    return c >= 0x30 && c <= 0x39;
}

// Reads one UTF-8 code point at s[i]; returns its length, or 0 when the bytes are malformed.
size_t readUtf8(std::string_view s, size_t i, char32_t& cp) {
    auto c = static_cast<unsigned char>(s[i]);
    size_t len;
    char32_t min;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        len = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size()) {
        return 0;
    }
    for (size_t k = 1; k < len; ++k) {
        auto cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return len;
}

}  // namespace

std::string DecodeGbk(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    AppendDecodedGbk(out, bytes);
    return out;
}

void AppendDecodedGbk(std::string& out, std::string_view bytes) {
    const std::vector<char32_t>* table = nullptr;
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            // Runs of ASCII are the bulk of every data file: taken eight bytes at a time.
            size_t j = i + 1;
            for (uint64_t word; j + 8 <= n; j += 8) {
                std::memcpy(&word, bytes.data() + j, 8);
                if (word & 0x8080808080808080ULL) {
                    break;
                }
            }
            while (j < n && static_cast<unsigned char>(bytes[j]) < 0x80) {
                ++j;
            }
            out.append(bytes.data() + i, j - i);
            i = j;
            continue;
        }
        if (c == 0x80) {  // code page 936 puts the euro sign on this single byte
            appendUtf8(out, 0x20AC);
            ++i;
            continue;
        }
        if (c == 0xFF || i + 1 >= n) {
            appendUtf8(out, kReplacement);
            ++i;
            continue;
        }
        auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (isDigitByte(second)) {
            // Four-byte GB18030 sequence: rare, left to the system converter.
            if (i + 3 < n && static_cast<unsigned char>(bytes[i + 2]) >= 0x81 &&
                static_cast<unsigned char>(bytes[i + 2]) <= 0xFE && isDigitByte(bytes[i + 3])) {
                auto one = iconvWhole("UCS-4LE", "GB18030", bytes.substr(i, 4));
                appendUtf8(out, one && one->size() == 4 ? readUcs4(*one, 0) : kReplacement);
                i += 4;
            } else {
                appendUtf8(out, kReplacement);
                ++i;
            }
            continue;
        }
        int t = trailIndex(second);
        if (t < 0) {
            appendUtf8(out, kReplacement);
            ++i;
            continue;
        }
        if (!table) {
            table = &twoByteTable();
        }
        appendUtf8(out, (*table)[(c - 0x81) * kTrailCount + t]);
        i += 2;
    }
}

std::string EncodeGbk(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    AppendEncodedGbk(out, utf8);
    return out;
}

void AppendEncodedGbk(std::string& out, std::string_view utf8) {
    const std::vector<uint16_t>* reverse = nullptr;
    size_t i = 0;
    const size_t n = utf8.size();
    while (i < n) {
        auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            size_t j = i + 1;
            while (j < n && static_cast<unsigned char>(utf8[j]) < 0x80) {
                ++j;
            }
            out.append(utf8.data() + i, j - i);
            i = j;
            continue;
        }
        char32_t cp;
        size_t len = readUtf8(utf8, i, cp);
        if (len == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += len;
        if (cp <= 0xFFFF) {
            if (!reverse) {
                reverse = &reverseTable();
            }
            uint16_t code = (*reverse)[cp];
            if (code != 0) {
                out.push_back(static_cast<char>(code >> 8));
                out.push_back(static_cast<char>(code & 0xFF));
                continue;
            }
        }
        std::string one;
        appendUtf8(one, cp);
        auto encoded = iconvWhole("GB18030", "UTF-8", one);
        out.append(encoded ? *encoded : std::string("?"));
    }
}

bool IsAscii(std::string_view bytes) {
    const char* p = bytes.data();
    size_t n = bytes.size();
    // Eight bytes at a time: no byte may have its high bit set.
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL) {
            return false;
        }
    }
    for (; n > 0; ++p, --n) {
        if (static_cast<unsigned char>(*p) & 0x80) {
            return false;
        }
    }
    return true;
}

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        char32_t cp;
        size_t len = readUtf8(bytes, i, cp);
        if (len == 0) {
            return false;
        }
        i += len;
    }
    return true;
}

std::string DecodeUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        char32_t cp;
        const size_t len = readUtf8(bytes, i, cp);
        if (len == 0) {
            appendUtf8(out, kReplacement);
            ++i;
        } else {
            out.append(bytes.substr(i, len));
            i += len;
        }
    }
    return out;
}

}  // namespace scorvane

namespace scorvane {

std::string KeepGbkCharacters(std::string_view utf8, size_t& replaced) {
    const std::vector<uint16_t>* reverse = nullptr;
    std::string out;
    size_t i = 0;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out.push_back(utf8[i++]);
            continue;
        }
        char32_t cp;
        const size_t len = readUtf8(utf8, i, cp);
        if (len != 0 && cp <= 0xFFFF && cp != kReplacement) {
            if (!reverse) {
                reverse = &reverseTable();
            }
            if ((*reverse)[cp] != 0) {
                out.append(utf8.substr(i, len));
                i += len;
                continue;
            }
        }
        out.push_back('?');
        ++replaced;
        i += len == 0 ? 1 : len;
    }
    return out;
}

CodePageDecoder::CodePageDecoder(const char* codePage)
    : converter_(reinterpret_cast<void*>(iconv_open("UTF-8", codePage))) {}

CodePageDecoder::~CodePageDecoder() {
    if (converter_ != reinterpret_cast<void*>(-1)) {
        iconv_close(reinterpret_cast<iconv_t>(converter_));
    }
}

std::string CodePageDecoder::decode(std::string_view bytes) {
    std::string out;
    size_t i = 0;
    // ASCII passes as it is in every code page read here.
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) {
        ++i;
    }
    out.append(bytes.substr(0, i));
    if (i == bytes.size()) {
        return out;
    }
    if (converter_ == reinterpret_cast<void*>(-1)) {
        for (; i < bytes.size(); ++i) {
            const auto c = static_cast<unsigned char>(bytes[i]);
            if (c < 0x80) {
                out.push_back(static_cast<char>(c));
            } else {
                appendUtf8(out, kReplacement);
            }
        }
        return out;
    }
    auto cd = reinterpret_cast<iconv_t>(converter_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string buffer(4 * (bytes.size() - i) + 16, '\0');
    char* in = const_cast<char*>(bytes.data() + i);
    size_t inLeft = bytes.size() - i;
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // A byte that starts no character of the code page (or a cut one at the end).
            appendUtf8(out, kReplacement);
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

}  // namespace scorvane
