#include "common/text_codec.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(TextCodec, KnownCharactersInBothDirections) {
    const std::string gbk = "KVL'S Scorvane\xCA\xFD\xBE\xDD\xCE\xC4\xBC\xFE";  // 数据文件
    EXPECT_EQ(DecodeGbk(gbk), "KVL'S Scorvane数据文件");
    EXPECT_EQ(EncodeGbk("KVL'S Scorvane数据文件"), gbk);
    EXPECT_EQ(EncodeGbk("！公式："), "\xA3\xA1\xB9\xAB\xCA\xBD\xA3\xBA");
    EXPECT_EQ(DecodeGbk(""), "");
    EXPECT_EQ(EncodeGbk(""), "");
}

TEST(TextCodec, EveryTwoByteCharacterRoundTripsByteForByte) {
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            std::string text = DecodeGbk(bytes);
            ASSERT_NE(text, "\xEF\xBF\xBD") << std::hex << lead << " " << trail;
            ASSERT_EQ(EncodeGbk(text), bytes) << std::hex << lead << " " << trail;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 126 * 190);
}

TEST(TextCodec, CharactersOutsideGbkKeepTheirFourByteForm) {
    // U+0080 and U+20000 have no two-byte code; GB18030 gives them four bytes instead of losing them.
    EXPECT_EQ(EncodeGbk("\xC2\x80"), "\x81\x30\x81\x30");
    EXPECT_EQ(EncodeGbk("\xF0\xA0\x80\x80"), "\x95\x32\x82\x36");
    EXPECT_EQ(DecodeGbk("\x95\x32\x82\x36"), "\xF0\xA0\x80\x80");
    EXPECT_EQ(DecodeGbk("a\x81\x30\x81\x30z"), "a\xC2\x80z");
}

TEST(TextCodec, BrokenInputNeverStopsTheConversion) {
    EXPECT_EQ(DecodeGbk("a\xFF"
                        "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(DecodeGbk("ab\xD6"), "ab\xEF\xBF\xBD");    // lead byte at the very end
    EXPECT_EQ(DecodeGbk("\xD6\x0A"), "\xEF\xBF\xBD\n");  // a lead byte before a line end
    EXPECT_EQ(DecodeGbk("\x80"), "€");                   // code page 936's single-byte euro sign
    EXPECT_EQ(EncodeGbk("a\xC3z"), "a?z");               // truncated UTF-8
    EXPECT_EQ(EncodeGbk("\xED\xA0\x80"), "???");         // an encoded surrogate is not a character
}

TEST(TextCodec, Utf8Validation) {
    EXPECT_TRUE(IsValidUtf8("数据 abc"));
    EXPECT_FALSE(IsValidUtf8("\xCA\xFD"));  // GBK bytes of 数
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));  // overlong "/"
    EXPECT_TRUE(IsValidUtf8(""));
}

TEST(TextCodec, Utf8DecodingReplacesEachBadByteAndKeepsTheRest) {
    EXPECT_EQ(DecodeUtf8("数据 abc"), "数据 abc");
    EXPECT_EQ(DecodeUtf8("a\xD0"
                         "d"),
              "a\uFFFD"
              "d");                                         // a lead byte without its follower
    EXPECT_EQ(DecodeUtf8("\xC0\xAF!"), "\uFFFD\uFFFD!");    // an overlong form, byte by byte
    EXPECT_EQ(DecodeUtf8("数\xE6\x8D"), "数\uFFFD\uFFFD");  // cut short at the end
    for (const char* damaged : {"\xFF\xFE", "\xED\xA0\x80", "x\x80\x80y"}) {
        EXPECT_TRUE(IsValidUtf8(DecodeUtf8(damaged))) << damaged;
    }
}

}  // namespace
}  // namespace scorvane
