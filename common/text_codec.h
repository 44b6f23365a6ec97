#pragma once

#include <string>
#include <string_view>

namespace scorvane {

// Text files of the system are GBK (code page 936). They are read as GB18030, a superset of GBK, and
// written as GB18030, which is byte-identical to GBK for every GBK character and keeps every other
// character (in its four-byte form) instead of losing it. Inside the program all text is UTF-8.

// GB18030/GBK bytes to UTF-8. A byte sequence that forms no character becomes U+FFFD.
std::string DecodeGbk(std::string_view bytes);
// The same, appended to `out`.
void AppendDecodedGbk(std::string& out, std::string_view bytes);

// UTF-8 to GB18030/GBK bytes. A malformed UTF-8 byte becomes "?".
std::string EncodeGbk(std::string_view utf8);
// The same, appended to `out`.
void AppendEncodedGbk(std::string& out, std::string_view utf8);

// True when every byte is below 0x80: such text is the same in GBK, GB18030 and UTF-8.
bool IsAscii(std::string_view bytes);

// UTF-8 with every character that GBK cannot hold (a character outside the two-byte part of GB18030,
// U+FFFD of a damaged byte among them) replaced by "?", each one counted in `replaced`; a malformed
// byte is one such character too. What GBK holds is kept as it is.
std::string KeepGbkCharacters(std::string_view utf8, size_t& replaced);

// Bytes of another code page, named as iconv names it ("CP1252", "BIG5", "CP866"), as UTF-8. A byte
// sequence that forms no character becomes U+FFFD; an unknown code page gives nothing but U+FFFD for
// every byte above 0x7F. The converter is opened once for many texts.
class CodePageDecoder {
  public:
    explicit CodePageDecoder(const char* codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    std::string decode(std::string_view bytes);

  private:
    void* converter_;  // iconv_t, or (void*)-1 when the code page is unknown
};

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// Bytes that claim to be UTF-8 as well-formed UTF-8: each byte that starts no well-formed character
// becomes U+FFFD, the rest is kept.
std::string DecodeUtf8(std::string_view bytes);

}  // namespace scorvane
