// Code page 932 conversions.
#include <gtest/gtest.h>

#include "model/Cp932.h"

namespace tolvani {
namespace {

TEST(Cp932, RoundTripsJapaneseText) {
    const std::string utf8 = "表の寸法 ｶﾀｶﾅ ①～";
    std::size_t replaced = 9;
    const std::string sjis = Utf8ToCp932(utf8, &replaced);
    EXPECT_EQ(replaced, 0u);
    EXPECT_EQ(sjis.substr(0, 2), "\x95\x5c");
    EXPECT_EQ(Cp932ToUtf8(sjis), utf8);
    EXPECT_EQ(Utf16ToCp932(u"表の寸法 ｶﾀｶﾅ ①～", &replaced), sjis);
    EXPECT_EQ(replaced, 0u);
}

TEST(Cp932, ReplacementsAreCounted) {
    std::size_t replaced = 0;
    // é has no code page 932 form; 0xFF is not UTF-8; an emoji is outside the BMP.
    EXPECT_EQ(Utf8ToCp932("a\xC3\xA9"
                          "b\xFF"
                          "c\xF0\x9F\x98\x80",
                          &replaced),
              "a\x81\xac"
              "b\x81\xac"
              "c\x81\xac");
    EXPECT_EQ(replaced, 3u);
    EXPECT_EQ(Utf16ToCp932(u"x\u00e9\U0001F600y", &replaced), "x\x81\xac\x81\xacy");
    EXPECT_EQ(replaced, 2u);
    // An unpaired surrogate is one replaced character.
    std::u16string lone = u"a";
    lone.push_back(static_cast<char16_t>(0xD800));
    lone += u"b";
    EXPECT_EQ(Utf16ToCp932(lone, &replaced),
              "a\x81\xac"
              "b");
    EXPECT_EQ(replaced, 1u);
}

TEST(Cp932, UndecodableBytesBecomeReplacementCharacters) {
    EXPECT_EQ(Cp932ToUtf8("a\x80"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(Cp932ToUtf8("\xA0"), "\xEF\xBF\xBD");
    EXPECT_EQ(Cp932ToUtf8("z\x95"), "z\xEF\xBF\xBD");  // lead byte at the end
    EXPECT_EQ(Cp932ToUtf8(std::string("\x00", 1)), std::string("\x00", 1));
    EXPECT_EQ(Cp932CharToUnicode(0x815C), 0x2015u);  // ―
    EXPECT_EQ(Cp932CharToUnicode(0xB1), 0xFF71u);    // ｱ
    EXPECT_EQ(Cp932CharToUnicode(0x8140), 0x3000u);
    EXPECT_EQ(Cp932CharToUnicode(0x80), 0u);
}

}  // namespace
}  // namespace tolvani
