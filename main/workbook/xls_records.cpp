#include "main/workbook/xls_records.h"

#include <algorithm>
#include <cstring>

namespace scorvane {
namespace {

uint16_t le16(std::string_view b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

void appendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr uint32_t kReplacement = 0xFFFD;

// UTF-16 code units to UTF-8: a pair of surrogates makes one character, a surrogate without its partner
// becomes U+FFFD.
class Utf16 {
  public:
    explicit Utf16(std::string& out) : out_(out) {}
    ~Utf16() { flush(); }

    void unit(uint32_t u) {
        if (u >= 0xDC00 && u <= 0xDFFF && high_ != 0) {
            appendUtf8(out_, 0x10000 + ((high_ - 0xD800) << 10) + (u - 0xDC00));
            high_ = 0;
            return;
        }
        flush();
        if (u >= 0xD800 && u <= 0xDBFF) {
            high_ = u;
        } else {
            appendUtf8(out_, u >= 0xDC00 && u <= 0xDFFF ? kReplacement : u);
        }
    }
    void flush() {
        if (high_ != 0) {
            appendUtf8(out_, kReplacement);
            high_ = 0;
        }
    }

  private:
    std::string& out_;
    uint32_t high_ = 0;
};

}  // namespace

bool XlsRecords::next(XlsRecord& record) {
    const uint64_t size = stream_.size();
    if (at_ + 4 > size) {
        return false;
    }
    std::optional<std::string_view> bytes = stream_.view(at_, 4);
    if (!bytes) {
        return fail();
    }
    const size_t length = le16(*bytes, 2);
    uint64_t end = at_ + 4 + length;
    if (end > size) {
        return fail();
    }
    // The CONTINUE records that follow, seen through one view from the record's start.
    while (end + 4 <= size) {
        bytes = stream_.view(at_, static_cast<size_t>(end + 4 - at_));
        if (!bytes) {
            return fail();
        }
        const size_t header = static_cast<size_t>(end - at_);
        if (le16(*bytes, header) != xls::kContinue) {
            break;
        }
        end += 4 + le16(*bytes, header + 2);
        if (end > size) {
            return fail();
        }
    }
    bytes = stream_.view(at_, static_cast<size_t>(end - at_));
    if (!bytes) {
        return fail();
    }
    record.type = le16(*bytes, 0);
    record.data = bytes->substr(4, length);
    record.continued = bytes->substr(4 + length);
    walked_ += end - at_;
    at_ = end;
    return true;
}

void XlsCodePage::select(uint16_t codePage) {
    name_.clear();
    decoder_.reset();
    switch (codePage) {
        case 936:   // GBK
        case 1200:  // UTF-16: no 8-bit strings of its own
            break;
        case 367:    // ASCII
        case 32769:  // the Windows code page of the Macintosh's first spreadsheets
            name_ = "CP1252";
            break;
        case 10000:
        case 32768:
            name_ = "MACINTOSH";
            break;
        default:
            if (codePage >= 437 && codePage <= 1361) {  // the DOS and Windows code pages
                name_ = "CP" + std::to_string(codePage);
            }
            break;
    }
}

std::string XlsCodePage::decode(std::string_view bytes) {
    if (name_.empty()) {
        return DecodeGbk(bytes);
    }
    if (!decoder_) {
        decoder_.emplace(name_.c_str());
    }
    return decoder_->decode(bytes);
}

bool XlsRecordReader::nextPiece() {
    if (continued_.size() < 4) {
        return false;
    }
    const size_t length = le16(continued_, 2);
    piece_ = continued_.substr(4, length);
    continued_.remove_prefix(4 + length);
    return true;
}

bool XlsRecordReader::bytes(void* to, size_t count) {
    auto* out = static_cast<char*>(to);
    while (count > 0) {
        if (piece_.empty() && !nextPiece()) {
            return false;
        }
        const size_t n = std::min(count, piece_.size());
        if (out != nullptr) {
            std::memcpy(out, piece_.data(), n);
            out += n;
        }
        piece_.remove_prefix(n);
        count -= n;
    }
    return true;
}

bool XlsRecordReader::skip(size_t count) {
    return bytes(nullptr, count);
}

bool XlsRecordReader::u8(uint8_t& value) {
    return bytes(&value, 1);
}

bool XlsRecordReader::u16(uint16_t& value) {
    unsigned char b[2];
    if (!bytes(b, 2)) {
        return false;
    }
    value = static_cast<uint16_t>(b[0] | b[1] << 8);
    return true;
}

bool XlsRecordReader::u32(uint32_t& value) {
    unsigned char b[4];
    if (!bytes(b, 4)) {
        return false;
    }
    value = uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
    return true;
}

bool XlsRecordReader::atEnd() const {
    if (!piece_.empty()) {
        return false;
    }
    // Only empty CONTINUE records left.
    for (std::string_view rest = continued_; rest.size() >= 4; rest.remove_prefix(4 + le16(rest, 2))) {
        if (le16(rest, 2) != 0) {
            return false;
        }
    }
    return true;
}

bool XlsRecordReader::characters(size_t count, bool wide, std::string& out) {
    Utf16 text(out);
    while (count > 0) {
        if (piece_.empty()) {
            // The characters go on in the next CONTINUE record, after a flag byte of their own.
            if (!nextPiece() || piece_.empty()) {
                return false;
            }
            wide = (static_cast<uint8_t>(piece_[0]) & 1) != 0;
            piece_.remove_prefix(1);
            continue;
        }
        const size_t size = wide ? 2 : 1;
        if (piece_.size() < size) {
            return false;  // a character cut in two
        }
        const size_t n = std::min(count, piece_.size() / size);
        for (size_t i = 0; i < n; ++i) {
            text.unit(wide ? le16(piece_, 2 * i) : static_cast<uint8_t>(piece_[i]));
        }
        piece_.remove_prefix(n * size);
        count -= n;
    }
    return true;
}

bool XlsRecordReader::unicodeString(bool shortCount, bool extended, std::string& out) {
    out.clear();
    uint16_t count = 0;
    uint8_t count8 = 0;
    uint8_t flags = 0;
    if (!(shortCount ? u8(count8) : u16(count)) || !u8(flags)) {
        return false;
    }
    if (shortCount) {
        count = count8;
    }
    uint16_t runs = 0;
    uint32_t phonetic = 0;
    if (extended && (((flags & 0x08) != 0 && !u16(runs)) || ((flags & 0x04) != 0 && !u32(phonetic)))) {
        return false;
    }
    const bool wide = (flags & 1) != 0;
    const size_t size = wide ? size_t{count} * 2 : count;
    if (!extended && !continued_.empty() && left() == size) {
        std::string raw(size, '\0');
        if (!bytes(raw.data(), size)) {
            return false;
        }
        Utf16 text(out);
        for (size_t i = 0; i < count; ++i) {
            text.unit(wide ? le16(raw, 2 * i) : static_cast<uint8_t>(raw[i]));
        }
        return true;
    }
    return characters(count, wide, out) && skip(size_t{runs} * 4) && skip(phonetic);
}

size_t XlsRecordReader::left() const {
    size_t total = piece_.size();
    for (std::string_view rest = continued_; rest.size() >= 4; rest.remove_prefix(4 + le16(rest, 2))) {
        total += le16(rest, 2);
    }
    return total;
}

bool XlsRecordReader::byteString(bool shortCount, XlsCodePage& codePage, std::string& out) {
    uint16_t count = 0;
    uint8_t count8 = 0;
    if (!(shortCount ? u8(count8) : u16(count))) {
        return false;
    }
    std::string raw(shortCount ? count8 : count, '\0');
    if (!bytes(raw.data(), raw.size())) {
        return false;
    }
    out = codePage.decode(raw);
    return true;
}

}  // namespace scorvane
