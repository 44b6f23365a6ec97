#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/text_codec.h"
#include "main/workbook/xls_stream.h"

namespace scorvane {

// The records of a binary workbook's stream (BIFF5 and BIFF8): a type, a length and that many bytes. A
// record too long for one piece goes on in the CONTINUE records right after it.
namespace xls {
inline constexpr uint16_t kBof = 0x0809;
inline constexpr uint16_t kEof = 0x000A;
inline constexpr uint16_t kContinue = 0x003C;
}  // namespace xls

// A record and the CONTINUE records that follow it.
struct XlsRecord {
    uint16_t type = 0;
    std::string_view data;       // the record's own bytes
    std::string_view continued;  // the CONTINUE records after it, their headers included
};

// The records of a stream from one offset on, each with its CONTINUE records.
class XlsRecords {
  public:
    XlsRecords(XlsStream& stream, uint64_t at) : stream_(stream), at_(at) {}

    // The next record, its bytes valid until the next call; false at the end of the stream, or at a
    // record that runs past it or cannot be read (damaged()).
    bool next(XlsRecord& record);
    bool damaged() const { return damaged_; }
    // The bytes of the stream walked so far.
    uint64_t walked() const { return walked_; }

  private:
    bool fail() {
        damaged_ = true;
        return false;
    }

    XlsStream& stream_;
    uint64_t at_;
    uint64_t walked_ = 0;
    bool damaged_ = false;
};

// The text of 8-bit strings: BIFF5 strings are bytes of the workbook's code page (its CODEPAGE record).
// GBK (936) is read by the system's own codec, and so is a workbook that names no code page or one that
// has no 8-bit form (1200, UTF-16); the other code pages of Windows and the Macintosh through iconv.
class XlsCodePage {
  public:
    explicit XlsCodePage(uint16_t codePage = 936) { select(codePage); }
    void select(uint16_t codePage);
    std::string decode(std::string_view bytes);

  private:
    std::string name_;  // empty: GBK
    std::optional<CodePageDecoder> decoder_;
};

// Reads a record's bytes in order, across its CONTINUE records; every read is checked against what
// the pieces hold, and fails past their end.
class XlsRecordReader {
  public:
    explicit XlsRecordReader(const XlsRecord& record) : piece_(record.data), continued_(record.continued) {}

    bool bytes(void* to, size_t count);
    bool skip(size_t count);
    bool u8(uint8_t& value);
    bool u16(uint16_t& value);
    bool u32(uint32_t& value);
    // Nothing left in this record or its CONTINUE records.
    bool atEnd() const;

    // A BIFF8 string (its count of 16 or 8 bits, its flags, its characters) as UTF-8. `extended`: the
    // shared strings' form, whose flags may announce formatting runs and phonetic text after the
    // characters; both are passed over. Characters that a CONTINUE record goes on with begin with a flag
    // byte of their own (8 or 16 bits each); a character cut in two by a record's end is damage. Some
    // writers continue a long string of a record of its own (a formula's text) without those flag bytes:
    // a string the rest of whose record and CONTINUE records holds exactly its characters is read so.
    bool unicodeString(bool shortCount, bool extended, std::string& out);
    // A BIFF5 string: a count of 16 or 8 bits and that many bytes in the workbook's code page.
    bool byteString(bool shortCount, XlsCodePage& codePage, std::string& out);

  private:
    bool nextPiece();
    size_t left() const;
    bool characters(size_t count, bool wide, std::string& out);

    std::string_view piece_;
    std::string_view continued_;
};

}  // namespace scorvane
