#include "main/exchange/dbf_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

#include "common/file_io.h"
#include "common/text_codec.h"
#include "common/utf8.h"

namespace scorvane {
namespace {

constexpr size_t kHeaderSize = 32;
constexpr size_t kDescriptorSize = 32;
constexpr unsigned char kHeaderEnd = 0x0D;

uint32_t le16(std::string_view b, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}
uint32_t le32(std::string_view b, size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}
uint32_t be16(std::string_view b, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1]));
}
uint32_t be32(std::string_view b, size_t at) {
    return be16(b, at) << 16 | be16(b, at + 2);
}

bool knownVersion(unsigned char v) {
    switch (v) {
        case 0x02:
        case 0x03:
        case 0x30:
        case 0x31:
        case 0x32:
        case 0x43:
        case 0x63:
        case 0x83:
        case 0x8B:
        case 0x8E:
        case 0xCB:
        case 0xF5:
        case 0xFB:
            return true;
        default:
            return false;
    }
}

bool foxProVersion(unsigned char v) {
    return v == 0x30 || v == 0x31 || v == 0x32 || v == 0xF5 || v == 0xFB;
}

struct Field {
    std::string name;
    char type = 'C';
    size_t offset = 0;  // within the record, after the deletion flag
    size_t length = 0;
    bool hidden = false;
};

bool isPad(char ch) {
    return ch == ' ' || ch == '\0';
}

std::string_view trimEnd(std::string_view s) {
    while (!s.empty() && isPad(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view trimBoth(std::string_view s) {
    s = trimEnd(s);
    while (!s.empty() && isPad(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

bool plainAscii(std::string_view bytes) {
    for (char ch : bytes) {
        if (static_cast<unsigned char>(ch) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The length of the text without a character cut off at its end (a text field filled to its length
// can end in the first bytes of a character); npos when it is not UTF-8 apart from that.
size_t completeUtf8Length(std::string_view s) {
    if (IsValidUtf8(s)) {
        return s.size();
    }
    for (size_t back = 1; back <= 3 && back <= s.size(); ++back) {
        const auto c = static_cast<unsigned char>(s[s.size() - back]);
        if ((c & 0xC0) == 0x80) {
            continue;  // a continuation byte: the character starts further back
        }
        const size_t needed = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        const size_t start = s.size() - back;
        return back < needed && IsValidUtf8(s.substr(0, start)) ? start : std::string_view::npos;
    }
    return std::string_view::npos;
}

// The code page a language driver byte names (an iconv name), or null when it names none read here.
const char* codePageOf(unsigned char driver) {
    switch (driver) {
        case 0x4D:
        case 0x7A:
            return "GBK";
        case 0x4F:
        case 0x78:
            return "BIG5";
        case 0x13:
        case 0x7B:
            return "CP932";
        case 0x4E:
        case 0x79:
            return "CP949";
        case 0x01:
        case 0x09:
            return "CP437";
        case 0x02:
        case 0x0A:
            return "CP850";
        case 0x64:
            return "CP852";
        case 0x26:
        case 0x65:
            return "CP866";
        case 0xC8:
            return "CP1250";
        case 0xC9:
            return "CP1251";
        case 0x03:
        case 0x57:
        case 0x58:
        case 0x59:
            return "CP1252";
        default:
            return nullptr;
    }
}

// The table's text bytes as UTF-8, in the code page the table was found to be written in.
class TextDecoder {
  public:
    enum class Kind { Gbk, Utf8, CodePage };
    explicit TextDecoder(Kind kind, const char* codePage = nullptr) : kind_(kind) {
        if (kind_ == Kind::CodePage) {
            other_.emplace(codePage);
        }
    }

    std::string operator()(std::string_view bytes) {
        if (plainAscii(bytes)) {
            return std::string(bytes);
        }
        switch (kind_) {
            case Kind::Gbk:
                return DecodeGbk(bytes);
            case Kind::Utf8: {
                const size_t complete = completeUtf8Length(bytes);
                return complete != std::string_view::npos ? std::string(bytes.substr(0, complete))
                                                          : DecodeUtf8(bytes);
            }
            case Kind::CodePage:
                break;
        }
        return other_->decode(bytes);
    }

  private:
    Kind kind_;
    std::optional<CodePageDecoder> other_;
};

bool allDigits(std::string_view s) {
    for (char ch : s) {
        if (ch < '0' || ch > '9') {
            return false;
        }
    }
    return !s.empty();
}

// Reads memo texts out of a memo file. Every memo field of a sound file points to a block of its own,
// so all the memo text of a table together is never longer than the memo file. A damaged file can
// point every field to one long block (or lose a dBASE III end mark, so that a text runs to the end of
// the file): the texts are then read once per block, and the table is refused (MemoDamaged) as soon as
// its memo text grows past the memo file's size and a margin, instead of copying the file into every cell.
class MemoFile {
  public:
    MemoFile(std::optional<std::string_view> bytes, bool foxPro, unsigned char version, TextDecoder& text)
        : text_(text),
          bytes_(bytes ? *bytes : std::string_view()),
          present_(bytes && bytes->size() >= 8),
          foxPro_(foxPro),
          budget_(bytes_.size() + kMemoMargin) {
        if (!present_) {
            return;
        }
        if (foxPro_) {
            blockSize_ = be16(bytes_, 6);
        } else {
            blockSize_ = (version == 0x83 || bytes_.size() < 22) ? 512 : le16(bytes_, 20);
            if (blockSize_ == 0) {
                blockSize_ = 512;
            }
        }
    }

    // The text of the memo at `block`; false when the table's memo text has grown past what the memo
    // file can hold.
    bool read(uint64_t block, std::string& out) {
        std::string_view bytes = body(block);
        if (bytes.size() > budget_) {
            return false;
        }
        budget_ -= bytes.size();
        if (bytes.empty()) {
            out.clear();
            return true;
        }
        auto [it, added] = texts_.try_emplace(block);
        if (added) {
            it->second = text_(bytes);
        }
        out = it->second;
        return true;
    }

  private:
    // Room for a few memos that a sound file shares (such as one standard remark).
    static constexpr uint64_t kMemoMargin = 1 << 20;

    // The memo's bytes, trailing blanks removed.
    std::string_view body(uint64_t block) const {
        if (!present_ || block == 0 || blockSize_ == 0) {
            return {};
        }
        const uint64_t at = block * blockSize_;
        if (at >= bytes_.size()) {
            return {};
        }
        std::string_view rest = bytes_.substr(static_cast<size_t>(at));
        std::string_view body;
        if (foxPro_) {
            // Type (4 bytes) and length (4 bytes), big-endian, then the data; type 1 is text.
            if (rest.size() < 8 || be32(rest, 0) != 1) {
                return {};
            }
            const uint64_t length = be32(rest, 4);
            if (length > rest.size() - 8) {
                return {};
            }
            body = rest.substr(8, static_cast<size_t>(length));
        } else if (rest.size() >= 8 && static_cast<unsigned char>(rest[0]) == 0xFF &&
                   static_cast<unsigned char>(rest[1]) == 0xFF && rest[2] == 0x08 && rest[3] == 0x00) {
            // dBASE IV: a block header and the length, which counts the header too.
            const uint64_t length = le32(rest, 4);
            if (length < 8 || length - 8 > rest.size() - 8) {
                return {};
            }
            body = rest.substr(8, static_cast<size_t>(length - 8));
        } else {
            // dBASE III: the text runs to the end-of-text mark.
            size_t end = rest.find('\x1A');
            body = rest.substr(0, end);
        }
        return trimEnd(body);
    }

    TextDecoder& text_;
    std::string_view bytes_;
    bool present_;
    bool foxPro_;
    uint64_t blockSize_ = 0;
    uint64_t budget_;
    std::unordered_map<uint64_t, std::string> texts_;  // decoded once per block
};

int64_t le64(std::string_view b, size_t at) {
    const uint64_t low = le32(b, at);
    const uint64_t high = le32(b, at + 4);
    return static_cast<int64_t>(low | high << 32);
}

// "yyyy-mm-dd" of a Julian day number.
std::string dateOfJulianDay(int64_t day) {
    // The Gregorian calendar's date of the day (Fliegel and Van Flandern).
    int64_t l = day + 68569;
    const int64_t n = 4 * l / 146097;
    l -= (146097 * n + 3) / 4;
    const int64_t i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const int64_t j = 80 * l / 2447;
    const int64_t d = l - 2447 * j / 80;
    l = j / 11;
    const int64_t m = j + 2 - 12 * l;
    const int64_t y = 100 * (n - 49) + i + l;
    char buffer[64];  // room for any three 64-bit numbers, so the text is never cut
    std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lld", static_cast<long long>(y),
                  static_cast<long long>(m), static_cast<long long>(d));
    return buffer;
}

// A date and time: the day number, then the milliseconds since midnight, rounded to the second.
std::string dateTime(std::string_view raw) {
    if (trimBoth(raw).empty()) {
        return {};
    }
    int64_t day = static_cast<int32_t>(le32(raw, 0));
    const int64_t ms = static_cast<int32_t>(le32(raw, 4));
    if (day <= 0 || day > 5373484 || ms < 0 || ms >= 86400000) {  // beyond the year 9999: no date
        return {};
    }
    int64_t seconds = (ms + 500) / 1000;
    if (seconds == 86400) {
        seconds = 0;
        ++day;
    }
    char time[16];
    std::snprintf(time, sizeof time, " %02d:%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return dateOfJulianDay(day) + time;
}

// A floating-point number to 15 significant digits.
std::string doubleText(std::string_view raw) {
    double v;
    const uint64_t bits = static_cast<uint64_t>(le64(raw, 0));
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v)) {
        return {};
    }
    if (v == 0) {
        return "0";  // no "-0"
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", v);
    return buffer;
}

// An amount of ten-thousandths with four decimals, trailing zeros (and a bare point) removed.
std::string currencyText(std::string_view raw) {
    const int64_t v = le64(raw, 0);
    const uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    std::string out = (v < 0 ? "-" : "") + std::to_string(magnitude / 10000);
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    return fraction.empty() ? out : out + "." + fraction;
}

bool knownType(char type) {
    switch (type) {
        case 'C':
        case 'N':
        case 'F':
        case 'I':
        case 'B':
        case 'Y':
        case 'D':
        case 'T':
        case 'L':
        case 'M':
            return true;
        default:
            return false;
    }
}

// The value of a field as text; false only when a memo field finds the memo file damaged.
bool fieldValue(const Field& f, std::string_view raw, MemoFile& memo, TextDecoder& text, std::string& value) {
    switch (f.type) {
        case 'C':
            value = text(trimEnd(raw));
            return true;
        case 'B':
            value = doubleText(raw);
            return true;
        case 'Y':
            value = currencyText(raw);
            return true;
        case 'T':
            value = dateTime(raw);
            return true;
        case 'N':
        case 'F':
            value = std::string(trimBoth(raw));
            return true;
        case 'I':
            value = std::to_string(static_cast<int32_t>(le32(raw, 0)));
            return true;
        case 'D': {
            std::string_view d = trimBoth(raw);
            if (d.empty() || d == "00000000") {
                value.clear();
            } else if (d.size() == 8 && allDigits(d)) {
                value = std::string(d.substr(0, 4)) + "-" + std::string(d.substr(4, 2)) + "-" +
                        std::string(d.substr(6, 2));
            } else {
                value = text(d);
            }
            return true;
        }
        case 'L':
            switch (raw[0]) {
                case 'T':
                case 't':
                case 'Y':
                case 'y':
                    value = "T";
                    break;
                case 'F':
                case 'f':
                case 'N':
                case 'n':
                    value = "F";
                    break;
                default:
                    value.clear();
            }
            return true;
        case 'M': {
            uint64_t block = 0;
            if (f.length == 4) {
                block = le32(raw, 0);
            } else {
                std::string_view digits = trimBoth(raw);
                if (!allDigits(digits) || digits.size() > 10) {
                    value.clear();
                    return true;
                }
                for (char ch : digits) {
                    block = block * 10 + static_cast<uint64_t>(ch - '0');
                }
            }
            return memo.read(block, value);
        }
        default:
            value.clear();
            return true;
    }
}

bool lengthFits(char type, size_t length) {
    switch (type) {
        case 'I':
            return length == 4;
        case 'B':
        case 'Y':
        case 'T':
            return length == 8;
        case 'L':
            return length == 1;
        case 'M':
            return length == 4 || length == 10;
        default:
            return length >= 1;
    }
}

}  // namespace

DbfError ParseDbf(std::string_view dbf, std::optional<std::string_view> memo, bool memoIsFoxPro,
                  GradeTable& out, DbfReadNotes* notes) {
    if (dbf.size() < kHeaderSize) {
        return DbfError::NotDbf;
    }
    const auto version = static_cast<unsigned char>(dbf[0]);
    if (!knownVersion(version)) {
        return DbfError::NotDbf;
    }
    const uint64_t recordCount = le32(dbf, 4);
    const size_t headerLength = le16(dbf, 8);
    const size_t recordLength = le16(dbf, 10);
    if (headerLength < kHeaderSize + 1) {
        return DbfError::BadHeader;
    }
    if (headerLength > dbf.size()) {
        return DbfError::Truncated;
    }

    // The field descriptors, up to the end mark or the end of the header.
    std::vector<Field> fields;
    size_t offset = 0;
    for (size_t at = kHeaderSize; at < headerLength; at += kDescriptorSize) {
        if (static_cast<unsigned char>(dbf[at]) == kHeaderEnd) {
            break;
        }
        if (at + kDescriptorSize > headerLength) {
            return DbfError::BadHeader;
        }
        std::string_view d = dbf.substr(at, kDescriptorSize);
        Field f;
        std::string_view name = d.substr(0, 11);
        name = name.substr(0, name.find('\0'));
        f.name = std::string(trimBoth(name));  // bytes until the table's code page is known
        f.type = static_cast<char>(d[11] >= 'a' && d[11] <= 'z' ? d[11] - 'a' + 'A' : d[11]);
        f.length = static_cast<unsigned char>(d[16]);
        f.hidden = (version == 0x30 || version == 0x31 || version == 0x32) && (d[18] & 0x01) != 0;
        f.offset = offset;
        if (f.length == 0) {
            return DbfError::BadHeader;
        }
        offset += f.length;
        fields.push_back(std::move(f));
    }
    if (fields.empty() || offset + 1 > recordLength) {
        return DbfError::BadHeader;
    }
    std::vector<const Field*> shown;
    DbfReadNotes found;
    for (const Field& f : fields) {
        if (f.hidden) {
            continue;
        }
        if (!knownType(f.type)) {
            found.unknownFields.push_back({f.name, f.type});
        } else if (!lengthFits(f.type, f.length)) {
            return DbfError::BadHeader;
        }
        shown.push_back(&f);
    }
    if (headerLength + recordCount * recordLength > dbf.size()) {
        return DbfError::Truncated;
    }

    // Only then are the records counted and the grid made.
    std::string_view records = dbf.substr(headerLength, static_cast<size_t>(recordCount * recordLength));
    size_t kept = 0;
    for (uint64_t i = 0; i < recordCount; ++i) {
        if (records[static_cast<size_t>(i * recordLength)] != '*') {
            ++kept;
        }
    }
    if (kept + 1 > static_cast<size_t>(GradeTable::kMaxCount) ||
        shown.size() + 1 > static_cast<size_t>(GradeTable::kMaxCount)) {
        return DbfError::TooLarge;
    }

    // The code page: as the language driver byte says; where it says nothing, UTF-8 when every text
    // field is UTF-8 and some hold more than ASCII, else GBK.
    const char* codePage = codePageOf(static_cast<unsigned char>(dbf[29]));
    TextDecoder::Kind kind = TextDecoder::Kind::CodePage;
    if (codePage && std::string_view(codePage) == "GBK") {
        kind = TextDecoder::Kind::Gbk;
    } else if (!codePage) {
        bool utf8 = true;
        bool beyondAscii = false;
        auto look = [&](std::string_view bytes) {
            if (utf8 && !plainAscii(bytes)) {
                beyondAscii = true;
                utf8 = completeUtf8Length(bytes) != std::string_view::npos;
            }
        };
        for (const Field* f : shown) {
            look(f->name);
        }
        for (uint64_t i = 0; i < recordCount && utf8; ++i) {
            std::string_view record = records.substr(static_cast<size_t>(i * recordLength), recordLength);
            if (record[0] == '*') {
                continue;
            }
            for (const Field* f : shown) {
                if (f->type == 'C') {
                    look(trimEnd(record.substr(1 + f->offset, f->length)));
                }
            }
        }
        kind = utf8 && beyondAscii ? TextDecoder::Kind::Utf8 : TextDecoder::Kind::Gbk;
    }
    TextDecoder text(kind, codePage);

    MemoFile memoFile(memo, memoIsFoxPro, version, text);
    GradeTable grid(static_cast<int>(kept) + 1, static_cast<int>(shown.size()) + 1);
    grid.setCell(0, 0, "  ");
    for (size_t c = 0; c < shown.size(); ++c) {
        grid.setCell(0, static_cast<int>(c) + 1, text(shown[c]->name));
    }
    for (DbfReadNotes::UnknownField& unknown : found.unknownFields) {
        unknown.name = text(unknown.name);
    }
    int row = 0;
    for (uint64_t i = 0; i < recordCount; ++i) {
        std::string_view record = records.substr(static_cast<size_t>(i * recordLength), recordLength);
        if (record[0] == '*') {
            continue;
        }
        ++row;
        grid.setCell(row, 0, std::to_string(row));
        for (size_t c = 0; c < shown.size(); ++c) {
            const Field& f = *shown[c];
            std::string value;
            if (!fieldValue(f, record.substr(1 + f.offset, f.length), memoFile, text, value)) {
                return DbfError::MemoDamaged;
            }
            grid.setCell(row, static_cast<int>(c) + 1, std::move(value));
        }
    }
    out = std::move(grid);
    if (notes) {
        *notes = std::move(found);
    }
    return DbfError::None;
}

DbfError ReadDbfFile(const std::string& path, GradeTable& out, DbfReadNotes* notes) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return DbfError::CannotOpen;
    }
    std::optional<std::string> memo;
    std::string missingMemo;
    bool memoIsFoxPro = false;
    const bool hasMemoField = [&] {
        // The memo file is looked for only when a memo field needs it.
        if (bytes->size() < kHeaderSize) {
            return false;
        }
        const size_t headerLength = std::min<size_t>(le16(*bytes, 8), bytes->size());
        for (size_t at = kHeaderSize; at + kDescriptorSize <= headerLength; at += kDescriptorSize) {
            if (static_cast<unsigned char>((*bytes)[at]) == kHeaderEnd) {
                break;
            }
            char type = (*bytes)[at + 11];
            if (type == 'M' || type == 'm') {
                return true;
            }
        }
        return false;
    }();
    if (hasMemoField) {
        const size_t dot = path.find_last_of("./");
        const std::string stem = (dot != std::string::npos && path[dot] == '.') ? path.substr(0, dot) : path;
        const bool foxPro = foxProVersion(static_cast<unsigned char>((*bytes)[0]));
        const char* preferred[] = {foxPro ? ".fpt" : ".dbt", foxPro ? ".FPT" : ".DBT",
                                   foxPro ? ".dbt" : ".fpt", foxPro ? ".DBT" : ".FPT"};
        for (const char* ext : preferred) {
            const std::string candidate = stem + ext;
            if (FileExists(candidate)) {
                memo = ReadWholeFile(candidate);
                memoIsFoxPro = EqualsIgnoreCaseAscii(ext, ".fpt");
                break;
            }
        }
        if (!memo) {
            // Named as the table is, in the case of the table's own extension.
            const size_t slash = stem.find_last_of('/');
            const bool upper = stem.size() < path.size() && path.back() >= 'A' && path.back() <= 'Z';
            missingMemo = stem.substr(slash == std::string::npos ? 0 : slash + 1) + preferred[upper ? 1 : 0];
        }
    }
    std::optional<std::string_view> memoView;
    if (memo) {
        memoView = *memo;
    }
    const DbfError error = ParseDbf(*bytes, memoView, memoIsFoxPro, out, notes);
    if (error == DbfError::None && notes) {
        notes->missingMemoFile = missingMemo;
    }
    return error;
}

}  // namespace scorvane
