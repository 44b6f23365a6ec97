#include "common/text_codec.h"
#include "common/utf8.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"

namespace scorvane::fuzz {

// Any bytes decode to UTF-8 that encodes and decodes back unchanged; valid UTF-8 survives the way
// through GB18030 whole.
int FuzzTextCodec(const uint8_t* data, size_t size) {
    const std::string_view bytes = Bytes(data, size);
    const std::string decoded = DecodeGbk(bytes);
    Check(IsValidUtf8(decoded), "decoding gives UTF-8");
    Check(decoded.size() <= 3 * size, "decoding grows text at most threefold");
    Check(DecodeGbk(EncodeGbk(decoded)) == decoded, "decoded text encodes and decodes back");
    if (IsValidUtf8(bytes)) {
        Check(DecodeGbk(EncodeGbk(bytes)) == bytes, "UTF-8 goes through GB18030 unchanged");
    } else {
        Check(EncodeGbk(bytes).size() <= 4 * size, "malformed UTF-8 encodes byte by byte");
    }
    const size_t length = Utf8Length(decoded);
    Check(Utf8Left(decoded, length / 2).size() + Utf8Right(decoded, length - length / 2).size() ==
              decoded.size(),
          "the left and right parts make the whole");
    return 0;
}

}  // namespace scorvane::fuzz
