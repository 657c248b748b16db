// The rules behind the two dialogs of the table import and its commands:
// what the lists show, the texts, what OK takes or refuses, and the steps
// from the confirmed options to a placed and undone table.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "blocks/BlockRegistry.h"
#include "model/Cp932.h"
#include "table/CellOptionRules.h"
#include "table/CsvDlgRules.h"
#include "table/TableCommands.h"
#include "table/TableMessages.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using Texts = std::vector<std::string>;

class CsvDlgRulesTest : public ::testing::Test {
protected:
    void SetUp() override { dir = test::MakeTempDir(); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string dir;
    CCsvDoc table;
    CsvDlgRules rules{table};
};

TEST_F(CsvDlgRulesTest, FirstRowIsTheHeadingsAndTheOthersTheLines) {
    rules.ReadFile(
        test::WriteTestFile(dir, "a.csv", Utf8ToCp932("品名,数量,備考\r\n鉛筆,3\r\n消しゴム,10,\"白,黒\"\r\n")));
    EXPECT_EQ(rules.readError(), "");
    EXPECT_EQ(rules.Headings(), (Texts{"品名", "数量", "備考"}));
    ASSERT_EQ(rules.LineCount(), 2);
    EXPECT_EQ(rules.LineTexts(0), (Texts{"鉛筆", "3"}));  // a short row has fewer texts
    EXPECT_EQ(rules.LineTexts(1), (Texts{"消しゴム", "10", "白,黒"}));
    EXPECT_EQ(rules.LineTexts(2), Texts{});
    EXPECT_EQ(rules.LineTexts(-1), Texts{});
    EXPECT_EQ(rules.Confirm(), nullptr);

    // A second table replaces the first in the list.
    FixedClipboardText clip(u"x\ty\r\n");
    rules.ReadClipboard(clip);
    EXPECT_EQ(rules.Headings(), (Texts{"x", "y"}));
    EXPECT_EQ(rules.LineCount(), 0);
    EXPECT_EQ(rules.Confirm(), nullptr);  // a table of one row is a table
}

TEST_F(CsvDlgRulesTest, EmptyOrFailedReadsAreRefusedWithTheirMessages) {
    struct Case {
        const char* what;
        std::string bytes;  // empty: no file at all
        std::string error;
    };
    std::string big;
    for (int r = 0; r < 20001; ++r) big += "1,2,3,4,5\n";
    const Case cases[] = {
        {"missing file", "", kTableReadErrorMessage},
        {"empty file", "\xEF\xBB\xBF", ""},
        {"too many cells", big, TableTooLargeMessage(100005)},
    };
    for (const auto& c : cases) {
        FixedClipboardText clip(u"a\tb\r\n");
        rules.ReadClipboard(clip);
        ASSERT_EQ(rules.Confirm(), nullptr);
        rules.ReadFile(c.bytes.empty() ? dir + "/missing.csv" : test::WriteTestFile(dir, "t.csv", c.bytes));
        EXPECT_EQ(rules.readError(), c.error) << c.what;
        EXPECT_TRUE(rules.Headings().empty()) << c.what;
        EXPECT_EQ(rules.LineCount(), 0) << c.what;
        EXPECT_STREQ(rules.Confirm(), "表が読み込まれていません！") << c.what;
    }

    // A clipboard without text, and a cancelled file choice, leave no table.
    FixedClipboardText nothing;
    rules.ReadClipboard(nothing);
    EXPECT_EQ(rules.readError(), "");
    EXPECT_STREQ(rules.Confirm(), kTableNotReadMessage);
    FixedClipboardText clip(u"a\tb\r\n");
    rules.ReadClipboard(clip);
    rules.FileNotChosen();
    EXPECT_TRUE(table.empty());
    EXPECT_STREQ(rules.Confirm(), kTableNotReadMessage);
}

TEST_F(CsvDlgRulesTest, ReplacedCharactersAreNotedUntilTheNextRead) {
    rules.ReadFile(test::WriteTestFile(dir, "e.csv",
                                       "\xEF\xBB\xBF"
                                       "a\xF0\x9F\x98\x80,\xC3\xA9\n"));
    EXPECT_EQ(rules.note(), "Shift-JIS で表せない文字 2 個を「〓」に置き換えました。");
    EXPECT_EQ(rules.Headings(), (Texts{"a〓", "〓"}));
    FixedClipboardText clip(u"a\tb\r\n");
    rules.ReadClipboard(clip);
    EXPECT_EQ(rules.note(), "");
    FixedClipboardText emoji(u"\U0001F600\r\n");
    rules.ReadClipboard(emoji);
    EXPECT_EQ(rules.note(), CsvDlgRules::ReplacedNote(1));
}

TEST(CellOptionRules, ListTexts) {
    EXPECT_EQ(CellOptionRules::TextTypeLine(3, 3, 3.5, 0.5, 2),
              " / 文字種  3 /              3.0                     3.5                      0.5                    2");
    EXPECT_EQ(CellOptionRules::TextTypeLine(10, 100, 12.25, 0, 7),
              " / 文字種 10 /            100.0                    12.2                      0.0                    7");
    EXPECT_EQ(CellOptionRules::LineColorLine(1), "  線色 1 ");
    EXPECT_EQ(CellOptionRules::LineTypeLine(8), "  線種 8 ");
    const std::string layers[] = {"0", "9", "A", "F"};
    const int numbers[] = {0, 9, 10, 15};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(CellOptionRules::LayerLine(numbers[i]), layers[i]);
}

CJwwHeader Header() {
    CJwwHeader h;
    h.SetNewDrawingDefaults();
    for (int t = 1; t <= kTextTypes; ++t) {
        h.textWidth[t] = t;
        h.textHeight[t] = t + 0.5;
        h.textSpacing[t] = 0.25 * t;
        h.textColor[t] = static_cast<uint32_t>(t % 9);
    }
    for (int c = 0; c < 9; ++c) h.color[c] = 0x010203u * static_cast<uint32_t>(c + 1);
    h.color[4] = 0xFFFFFFu;
    return h;
}

TEST(CellOptionRules, OpensWithTheOptionsInRange) {
    TableOptions o;
    o.cellLeft = 3;
    o.cellBottom = 51;  // out of range: shown as the default
    o.gridColor = 4;
    o.gridStyle = 9;
    o.cellTextType = 10;
    o.layerGroup = 16;
    o.cellBlock = true;
    o.blockName = Utf8ToCp932("部材表");
    CellOptionRules rules;
    rules.CopyIn(o, Header());
    EXPECT_EQ(rules.TextTypeIndex(), 9);
    EXPECT_EQ(rules.LineColorIndex(), 3);
    EXPECT_EQ(rules.LineTypeIndex(), 0);
    EXPECT_EQ(rules.options.layerGroup, 0);
    EXPECT_EQ(rules.TextTypeListLine(0), CellOptionRules::TextTypeLine(1, 1, 1.5, 0.25, 1));
    EXPECT_EQ(rules.TextTypeListLine(9), CellOptionRules::TextTypeLine(10, 10, 10.5, 2.5, 1));
    EXPECT_EQ(rules.TextTypeListLine(10), "");
    EXPECT_EQ(rules.SampleColor(), 0xFFFFFFu);  // the screen colour itself, white too

    const CellOptionRules::Shown s = rules.Opening();
    EXPECT_EQ(s.textTypeLine, 9);
    EXPECT_EQ((std::vector<int>(s.margins, s.margins + 4)), (std::vector<int>{3, 10, 8, 6}));
    EXPECT_FALSE(s.cellLayer);
    EXPECT_TRUE(s.cellBlock);
    EXPECT_EQ(s.blockName, "部材表");
}

TEST(CellOptionRules, ChoicesChangeTheWorkingCopyOnly) {
    CellOptionRules rules;
    rules.CopyIn(TableOptions(), Header());
    rules.ChooseLineColor(6);
    EXPECT_EQ(rules.options.gridColor, 7);
    EXPECT_EQ(rules.SampleColor(), 0x010203u * 8);
    rules.ChooseLineType(7);
    rules.ChooseLayerGroup(15);
    rules.ChooseLayerLine(10);
    rules.ChooseLayerText(0);
    // Lines outside the lists change nothing.
    rules.ChooseLineColor(8);
    rules.ChooseLineType(-1);
    rules.ChooseLayerGroup(16);
    EXPECT_EQ(rules.options.gridColor, 7);
    EXPECT_EQ(rules.options.gridStyle, 8);
    EXPECT_EQ(rules.options.layerGroup, 15);
    EXPECT_EQ(rules.options.layerLine, 10);
    EXPECT_EQ(rules.options.layerText, 0);
}

TEST(CellOptionRules, OkTakesTheShownValuesOrKeepsTheDialogOpen) {
    struct Case {
        const char* what;
        bool block;
        std::string name;
        std::string message;
    };
    const Case cases[] = {
        {"block without a name", true, "", kBlockNameNeededMessage},
        {"block with a name", true, "部材表", ""},
        {"no block, no name", false, "", ""},
        {"a name typed, then the box cleared", false, "表A", ""},
        {"a name without Shift-JIS form", true, "表\U0001F600",
         "ブロック名に Shift-JIS で表せない文字があります: 表\U0001F600"},
        {"the same without a block", false, "表\U0001F600", ""},
    };
    for (const auto& c : cases) {
        CellOptionRules rules;
        rules.CopyIn(TableOptions(), Header());
        CellOptionRules::Shown s = rules.Opening();
        s.textTypeLine = 4;
        s.margins[0] = 0;
        s.margins[1] = 50;
        s.margins[2] = 70;  // kept to the spin range
        s.margins[3] = -1;
        s.cellLayer = true;
        s.cellBlock = c.block;
        s.blockName = c.name;
        const std::string message = rules.Confirm(s);
        EXPECT_EQ(message, c.message) << c.what;
        if (!message.empty()) {
            EXPECT_EQ(rules.options.cellTextType, 3) << c.what;  // nothing taken
            EXPECT_FALSE(rules.options.cellBlock) << c.what;
            continue;
        }
        EXPECT_EQ(rules.options.cellTextType, 5) << c.what;
        EXPECT_EQ(rules.options.cellLeft, 0);
        EXPECT_EQ(rules.options.cellRight, 50);
        EXPECT_EQ(rules.options.cellTop, 50);
        EXPECT_EQ(rules.options.cellBottom, 0);
        EXPECT_TRUE(rules.options.cellLayer);
        EXPECT_EQ(rules.options.cellBlock, c.block) << c.what;
        EXPECT_EQ(rules.options.blockName, Utf8ToCp932(c.name)) << c.what;  // 〓 for the emoji
    }
}

// A drawing with one line and a block definition named "表1".
void DrawingWithBlock(CJwwDoc& doc) {
    doc.header.SetNewDrawingDefaults();
    BeginTableBlock(doc, Utf8ToCp932("表1"), 0, 0);
    doc.CountLayerElements();
}

TEST(TableCommands, EnableRules) {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    TableCommands commands;
    EXPECT_FALSE(TableCommands::ImportEnabled(doc));
    EXPECT_FALSE(commands.UndoEnabled(doc));
    DrawingWithBlock(doc);
    EXPECT_TRUE(TableCommands::ImportEnabled(doc));
}

TEST(TableCommands, BlockNameIsCheckedOnlyForABlock) {
    CJwwDoc doc;
    DrawingWithBlock(doc);
    BeginTableBlock(doc, "", 0, 0);  // a block with an empty name
    TableCommands commands;
    ASSERT_TRUE(commands.table.ReadCsvBytes("a,b\n").ok());
    TableOptions o;
    o.blockName = Utf8ToCp932("表1");
    EXPECT_EQ(commands.Measure(o, doc), "");  // no block: the name plays no part
    EXPECT_TRUE(commands.Measured());
    o.blockName.clear();
    EXPECT_EQ(commands.Measure(o, doc), "");
    o.cellBlock = true;
    o.blockName = Utf8ToCp932("表1");
    EXPECT_EQ(commands.Measure(o, doc), kBlockNameTakenMessage);
    EXPECT_FALSE(commands.Measured());
    EXPECT_FALSE(commands.table.empty());  // the table is still there for another try
    EXPECT_STREQ(commands.TakeOptions(o, doc), kBlockNameTakenMessage);
    EXPECT_TRUE(commands.options.cellBlock);  // the confirmed options stay
    o.blockName = Utf8ToCp932("表2");
    EXPECT_EQ(commands.Measure(o, doc), "");
    EXPECT_TRUE(commands.Measured());
}

TEST(TableCommands, PlaceAndUndo) {
    CJwwDoc doc;
    DrawingWithBlock(doc);
    const std::size_t before = doc.mainList.size();
    TableCommands commands;
    EXPECT_EQ(commands.Place(doc, 0, 0), TableCommands::PlaceResult::NothingToPlace);
    EXPECT_EQ(commands.Measure(TableOptions(), doc), kTableNotReadMessage);
    ASSERT_TRUE(commands.table.ReadCsvBytes("a,b\n1,2\n").ok());
    TableOptions o;
    o.cellBlock = true;
    o.blockName = "T";
    ASSERT_EQ(commands.Measure(o, doc), "");
    EXPECT_GT(commands.TableWidth(), 0);
    EXPECT_GT(commands.TableHeight(), 0);

    // The name was taken after the table was measured: refused, kept.
    BeginTableBlock(doc, "T", 0, 0);
    const std::size_t withOther = doc.mainList.size();
    EXPECT_EQ(commands.Place(doc, 10, 20), TableCommands::PlaceResult::NameTaken);
    EXPECT_EQ(doc.mainList.size(), withOther);
    EXPECT_TRUE(commands.Measured());

    commands.options.blockName = "U";
    EXPECT_EQ(commands.Place(doc, 10, 20), TableCommands::PlaceResult::Placed);
    EXPECT_FALSE(commands.Measured());
    EXPECT_TRUE(commands.UndoEnabled(doc));
    EXPECT_EQ(doc.mainList.size(), withOther + 1);
    EXPECT_TRUE(commands.Undo(doc));
    EXPECT_EQ(doc.mainList.size(), withOther);
    EXPECT_FALSE(commands.UndoEnabled(doc));
    EXPECT_FALSE(commands.Undo(doc));
    EXPECT_GT(withOther, before);
}

}  // namespace
}  // namespace tolvani
