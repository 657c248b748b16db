#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "tests/support/TestSupport.h"
#include "viewer/HelpText.h"

namespace tolvani::viewer {
namespace {

void Write(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

TEST(HelpText, Utf8ValidityIsStrict) {
    const struct {
        const char* bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"plain", true},
        {"\xE3\x81\xAF\xE3\x81\x98", true},   // はじ
        {"\xF0\x9F\x98\x80", true},           // U+1F600
        {"\x82\xCD\x82\xB6\x82\xDF", false},  // はじめ in Shift-JIS
        {"\xE3\x81", false},                  // cut short
        {"\xC0\xAF", false},                  // overlong
        {"\xE0\x80\xAF", false},              // overlong
        {"\xED\xA0\x80", false},              // a surrogate
        {"\xF4\x90\x80\x80", false},          // above U+10FFFF
        {"\x80", false},
        {"a\xE3\x81\xAF"
         "b\xFF",
         false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(HelpText, DecodesShiftJisAndUtf8LineByLine) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"\x82\xcd\x82\xb6\x82\xdf\x82\xc9\r\n\x83\x8c\x83\x43\x83\x84\x81\x5b", "はじめに\nレイヤー\n"},
        {"\xEF\xBB\xBF\xE3\x81\xAF\xE3\x81\x98\xE3\x82\x81\xE3\x81\xAB\n\nend\n", "はじめに\n\nend\n"},
        {"a\rb\r\n\r\nc", "a\nb\n\nc\n"},
        {"", ""},
        // 表 in Shift-JIS has the trail byte 0x5C; it is no line end and no backslash.
        {"\x95\x5c\x82\xf0", "表を\n"},
        // Half-width katakana of Shift-JIS are no UTF-8.
        {"\xb6\xc5", "ｶﾅ\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeHelpText(c.bytes), c.text);
}

TEST(HelpText, MissingFilesLeaveTheTextAsItWas) {
    const std::string dir = test::MakeTempDir();
    std::string text = "before";
    EXPECT_FALSE(LoadHelpText(dir + "/none.txt", text));
    EXPECT_FALSE(LoadHelpText(dir, text));  // a folder is no text
    EXPECT_EQ(text, "before");
    Write(dir + "/" + kHelpIntroFile, "line 1\nline 2");
    EXPECT_TRUE(LoadHelpText(dir + "/" + kHelpIntroFile, text));
    EXPECT_EQ(text, "line 1\nline 2\n");
    std::filesystem::remove_all(dir);
}

TEST(HelpText, ManualsAreFoundBesideTheProgramOrInItsDataFolder) {
    const std::string root = test::MakeTempDir();
    const std::string bin = root + "/bin";
    const std::string share = root + "/share/tolvani";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(share);
    const auto folders = HelpFolders(bin);
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(FindHelpFile(folders, kHelpIntroFile), bin + "/" + kHelpIntroFile);  // none yet
    Write(share + "/" + kHelpIntroFile, "x");
    EXPECT_EQ(std::filesystem::canonical(FindHelpFile(folders, kHelpIntroFile)),
              std::filesystem::canonical(share + "/" + kHelpIntroFile));
    Write(bin + "/" + kHelpIntroFile, "y");
    EXPECT_EQ(FindHelpFile(folders, kHelpIntroFile), bin + "/" + kHelpIntroFile);
    std::filesystem::remove_all(root);
}

// The manuals shipped with the program: all three are in the build tree's
// data folder and read as text with Japanese in it.
TEST(HelpText, TheShippedManualsAreThere) {
    const auto folders = HelpFolders(TOLVANI_BIN_DIR);
    for (const char* name : {kHelpIntroFile, kHelpToSpreadsheetFile, kHelpFromSpreadsheetFile}) {
        std::string text;
        ASSERT_TRUE(LoadHelpText(FindHelpFile(folders, name), text)) << name;
        EXPECT_GT(text.size(), 200u) << name;
        EXPECT_NE(text.find("Tolvani"), std::string::npos) << name;
        EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << name;  // nothing undecodable
    }
}

}  // namespace
}  // namespace tolvani::viewer
