#pragma once

#include <string>
#include <string_view>

namespace scorvane {

// The order in which the system lists and sorts texts: by the bytes of their GBK form, compared as
// unsigned bytes. ASCII comes first; the common Chinese characters follow their pinyin (期末 before
// 期中, 第 before 期). The key is made once per text, so long lists compare at the speed of bytes:
// texts a and b stand in the order GbkOrderKey(a) < GbkOrderKey(b).
std::string GbkOrderKey(std::string_view utf8);

}  // namespace scorvane
