// Quoted cells as spreadsheet programs write them, in CSV files and on the
// clipboard: grouped numbers, sizes with commas, cells of two lines and
// quotes inside cells keep their cells, and every cell after them stays in
// its column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "table/CCsvDoc.h"
#include "table/TableRecordReader.h"
#include "tests/table/TableReadSupport.h"

namespace tolvani {
namespace {

using test::ReadClipboard;
using test::ReadCsv;
using test::Rows;
using test::S;

// A sheet of parts as a spreadsheet saves it: a grouped number, a size with
// a comma, a cell of two lines and a cell with quotes are quoted; rows end
// with CR LF, the line break inside a cell is a bare LF.
const char kSheetUtf8[] =
    "品名,寸法,数量,備考\r\n"
    "六角ボルト,\"M16,L=45\",\"1,234,567\",\"2行の\n備考\"\r\n"
    "ナット,M16,12,\"「特注」\"\"A\"\"型\"\r\n";

Rows SheetRows() {
    return {{S("品名"), S("寸法"), S("数量"), S("備考")},
            {S("六角ボルト"), "M16,L=45", "1,234,567", S("2行の 備考")},
            {S("ナット"), "M16", "12", S("「特注」\"A\"型")}};
}

TEST(QuotedCells, SpreadsheetFilesKeepTheirCellsInEveryEncoding) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::string utf8 = kSheetUtf8;
    const Case cases[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-8 without mark", utf8},
        {"Shift-JIS", S(utf8)},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadCsv(c.bytes), SheetRows()) << c.what;
}

TEST(QuotedCells, ShiftJisBytesAsWritten) {
    // 表 (95 5C) and ソ (83 5C) end in the byte of a backslash and ﾎﾞﾙﾄ is
    // half-width katakana, which sends the file through the UTF-8 test.
    const std::string bytes =
        "\"\x95\x5C\",\"\x83\x5C,1\"\r\n"
        "\xCE\xDE\xD9\xC4,\"a\r\nb\"\r\n";
    EXPECT_EQ(ReadCsv(bytes), (Rows{{"\x95\x5C", "\x83\x5C,1"}, {"\xCE\xDE\xD9\xC4", "a b"}}));
}

TEST(QuotedCells, CsvFieldRules) {
    struct Case {
        const char* what;
        std::string bytes;
        Rows rows;
    };
    const Case cases[] = {
        {"empty quoted fields", "\"\",\"\"\n", {{"", ""}}},
        {"a lone quote", "\"\"\"\",x\n", {{"\"", "x"}}},
        {"quoted field at the end of the text", "a,\"b,c\"", {{"a", "b,c"}}},
        {"LF rows", "\"a\nb\",c\nd,e\n", {{"a b", "c"}, {"d", "e"}}},
        {"CR LF inside a cell", "\"a\r\nb\",c\r\n", {{"a b", "c"}}},
        {"an empty line inside a cell", "\"a\n\nb\"\n", {{"a  b"}}},
        {"a cell of only a line end", "\"\r\n\",x\r\n", {{" ", "x"}}},
        {"quote not before a separator stays", "\"12\" pipe\",x\n", {{"12\" pipe", "x"}}},
        {"quote before a space stays", "\"a\" ,b\"\n", {{"a\" ,b"}}},
        {"a quote opens only at the field's start", " \"a,b\"\n", {{" a", "b"}}},
        {"a CR not before LF inside a cell stays", "\"a\rb\"\n", {{"a\rb"}}},
        {"the first row's width still holds", "\"a,b\",c\n1,\"2,3\",4,5\n", {{"a,b", "c"}, {"1", "2,3"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadCsv(c.bytes), c.rows) << c.what;
}

TEST(QuotedCells, FieldThatNeverClosesIsReadThePlainWay) {
    struct Case {
        const char* what;
        std::string bytes;
        Rows rows;
    };
    const Case cases[] = {
        {"on the last line", "a,b\n\"c,d", {{"a", "b"}, {"c", "d"}}},
        {"reading goes on with the next line", "\"abc,d\ne,f\n", {{"abc", "d"}, {"e", "f"}}},
        {"every line opening a field that never closes", "\"a\n\"b\n\"c\n", {{"a"}, {"b"}, {"c"}}},
        {"the fields before it keep their quoting", "\"a,b\",\"c,d\nx,y\n", {{"a,b", "c", "d"}, {"x", "y"}}},
        // From the first line the second line's quotes are a doubled quote;
        // read on their own they are an empty cell.
        {"a later field can still close", "\"abc,z\n\"\",x\n", {{"abc", "z"}, {"", "x"}}},
        {"a cell of two lines before it", "\"a\nb\",\"c\nd\n", {{"a b", "c"}, {"d"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadCsv(c.bytes), c.rows) << c.what;
}

TEST(QuotedCells, ClipboardTablesFromSpreadsheets) {
    struct Case {
        const char* what;
        std::u16string text;
        Rows rows;
    };
    const Case cases[] = {
        // A spreadsheet quotes clipboard cells that hold a tab, a quote or a
        // line end; a grouped number is not quoted there.
        {"cells as copied",
         u"品名\t数量\t備考\r\n六角ボルト\t1,234,567\t\"2行の\n備考\"\r\n\"タブ\tあり\"\t\"\"\"A\"\"型\"\t\r\n",
         {{S("品名"), S("数量"), S("備考")},
          {S("六角ボルト"), "1,234,567", S("2行の 備考")},
          {S("タブ\tあり"), "\"A\"" + S("型"), ""}}},
        {"a line end inside a cell is no empty line", u"\"a\r\n\r\nb\"\tc\r\nd\r\n", {{"a  b", "c"}, {"d"}}},
        {"an empty line after a record ends the table", u"\"a\nb\"\r\n\r\nc\r\n", {{"a b"}}},
        {"a last record without a line end is dropped", u"a\r\n\"b\nc\"\td", {{"a"}}},
        {"a cell closing at the end is dropped too", u"a\r\n\"b\nc\"", {{"a"}}},
        {"a field that never closes keeps its quote", u"\"a\tb\r\nc\td\r\n", {{"\"a", "b"}, {"c", "d"}}},
        {"a field that never closes on the last line", u"a\r\n\"b\tc", {{"a"}}},
        {"quotes inside a field stay", u"12\" pipe\tx\r\n", {{"12\" pipe", "x"}}},
        {"a comma is no separator", u"\"a,b\"\tc\r\n", {{"a,b", "c"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadClipboard(c.text), c.rows) << c.what;
}

TEST(QuotedCells, RecordReaderCountsEveryFieldButKeepsOnlyThoseAsked) {
    TableRecordReader reader("\"a,b\",c,\"d\ne\",f\nx\n", TableTextKind::Csv);
    TableRecord record;
    ASSERT_TRUE(reader.Next(2, record));
    EXPECT_EQ(record.fieldCount, 4u);
    EXPECT_EQ(record.fields, (std::vector<std::string>{"a,b", "c"}));
    ASSERT_TRUE(reader.Next(0, record));
    EXPECT_EQ(record.fieldCount, 1u);
    EXPECT_TRUE(record.fields.empty());
    EXPECT_FALSE(reader.Next(5, record));
    EXPECT_FALSE(reader.Next(5, record));
}

TEST(QuotedCells, ManyFieldsThatNeverCloseReadEveryLine) {
    // Each line opens a field whose ending quote never comes; every one of
    // them is read the plain way, one row per line.
    std::string bytes;
    const int lines = 20000;
    for (int i = 0; i < lines; ++i) bytes += "\"x\"y\n";
    CCsvDoc doc;
    ASSERT_TRUE(doc.ReadCsvBytes(bytes).ok());
    ASSERT_EQ(doc.rowCount, lines);
    EXPECT_EQ(doc.rows.front(), (std::vector<std::string>{"xy"}));
    EXPECT_EQ(doc.rows.back(), (std::vector<std::string>{"xy"}));
}

}  // namespace
}  // namespace tolvani
