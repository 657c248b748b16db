#include <gtest/gtest.h>

#include "blocks/BlockNames.h"

namespace tolvani {
namespace {

TEST(BlockNames, DisplayNameAndKind) {
    struct Case {
        std::string name;
        std::string base;
        const char* kind;
    };
    const Case cases[] = {
        {"T1@@SfigorgFlag@@5", "T1", "表"},
        {"2lines@@SfigorgFlag@@4", "2lines", "作図部品"},
        {"plain", "plain", "未定義"},
        {"3", "3", "作図グループ"},              // a whole name that reads as a number
        {" +2", " +2", "部分図（測地座標系）"},  // blanks and one sign
        {"@x@3", "", "作図グループ"},
        {"", "", "未定義"},
        {"a@", "a", "未定義"},  // no digits: 0
        {"a@1x", "a", "部分図（数学座標系）"},
        {"a@-1", "a", "未定義"},
        {"a@99999999999999999999", "a", "未定義"},
        // 0x82 0x40 is a double-byte character whose trail byte is '@'.
        {"\x82\x40@2", "\x82\x40", "部分図（測地座標系）"},
        {"\x82\x40", "\x82\x40", "未定義"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetBlockBaseName(c.name), c.base) << c.name;
        EXPECT_STREQ(GetBlockKindName(c.name), c.kind) << c.name;
    }
    EXPECT_EQ(GetBlockKindNumber("a@5"), 5);
    EXPECT_EQ(GetBlockKindNumber("\x82\x40"), 0);
}

}  // namespace
}  // namespace tolvani
