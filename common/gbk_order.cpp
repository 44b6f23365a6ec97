#include "common/gbk_order.h"

#include "common/text_codec.h"

namespace scorvane {

std::string GbkOrderKey(std::string_view utf8) {
    // std::string compares its chars as unsigned bytes (char_traits<char>::compare).
    return EncodeGbk(utf8);
}

}  // namespace scorvane
