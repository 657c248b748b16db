// The table source: encoding choice, line reading, quotes, splitting and the
// grid, from byte fixtures in every encoding a table file comes in.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "model/Cp932.h"
#include "table/CCsvDoc.h"
#include "table/TableEncoding.h"
#include "table/TableMessages.h"
#include "tests/support/TestSupport.h"
#include "tests/table/TableReadSupport.h"

namespace tolvani {
namespace {

using test::ReadClipboard;
using test::ReadCsv;
using test::Rows;
using test::S;

std::string Utf16Bytes(const std::u16string& text, bool bigEndian, bool mark) {
    std::string out;
    if (mark) out += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

TEST(TableEncoding, ChoiceFollowsMarksThenShiftJisWalkThenUtf8Test) {
    struct Case {
        const char* what;
        std::string bytes;
        TableEncoding expected;
    };
    const Case cases[] = {
        {"UTF-8 mark",
         "\xEF\xBB\xBF"
         "a,b",
         TableEncoding::Utf8},
        {"little-endian mark",
         "\xFF\xFE"
         "a\0",
         TableEncoding::Utf16LE},
        {"big-endian mark", std::string("\xFE\xFF\0a", 4), TableEncoding::Utf16BE},
        {"empty", "", TableEncoding::ShiftJis},
        {"plain ASCII", "a,b\r\n1,2\r\n", TableEncoding::ShiftJis},
        {"Shift-JIS kanji", S("品名,数量\n鉛筆,3\n"), TableEncoding::ShiftJis},
        {"UTF-8 Japanese without mark", "\xE5\x93\x81\xE5\x90\x8D,\xE6\x95\xB0\xE9\x87\x8F\n", TableEncoding::Utf8},
        // Half-width katakana fail the walk; a broken UTF-8 sequence then
        // leaves Shift-JIS.
        {"Shift-JIS half-width katakana", "\xB6\xCC\xDE,1\n", TableEncoding::ShiftJis},
        // The walk takes 80 as a lead byte and stops at F0.
        {"lead byte 80", "\x80\x40", TableEncoding::ShiftJis},
        {"byte F0 alone", "\xF0", TableEncoding::ShiftJis},
        // Bytes outside any sequence, and no sequence to outweigh them.
        {"lead byte at the end", "ab\x88", TableEncoding::ShiftJis},
        {"more sequences than stray bytes", "\xE5\x93\x81\xE5\x90\x8D\x88", TableEncoding::Utf8},
        {"as many stray bytes as sequences", "\xE5\x93\x81\x88", TableEncoding::ShiftJis},
        {"Shift-JIS katakana that look like continuation bytes", "\xB1\xB2\xB3,1\n", TableEncoding::ShiftJis},
        {"katakana after a kanji", S("品") + "\xB1\xB2,1\n", TableEncoding::ShiftJis},
        {"five-byte sequence passes the test", "\xFC\x80\x80\x80\x80\x80", TableEncoding::Utf8},
        {"sequence cut by the end", "\xA0\xE3\x81", TableEncoding::ShiftJis},
    };
    for (const auto& c : cases) EXPECT_EQ(ChooseTableEncoding(c.bytes), c.expected) << c.what;
}

TEST(CsvReader, SameTableFromEveryEncoding) {
    const std::string utf8 = "品名,数量,備考\r\n鉛筆,3,\r\n消しゴム,10,ｶﾅ\r\n";
    const std::u16string utf16 = u"品名,数量,備考\r\n鉛筆,3,\r\n消しゴム,10,ｶﾅ\r\n";
    const Rows expected = {{S("品名"), S("数量"), S("備考")}, {S("鉛筆"), "3", ""}, {S("消しゴム"), "10", S("ｶﾅ")}};
    ASSERT_EQ(S("ｶﾅ"), "\xB6\xC5");

    struct Case {
        const char* what;
        std::string bytes;
        TableEncoding encoding;
    };
    const Case cases[] = {
        {"Shift-JIS", S(utf8), TableEncoding::ShiftJis},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8, TableEncoding::Utf8},
        {"UTF-8 without mark", utf8, TableEncoding::Utf8},
        {"UTF-16LE", Utf16Bytes(utf16, false, true), TableEncoding::Utf16LE},
        {"UTF-16BE", Utf16Bytes(utf16, true, true), TableEncoding::Utf16BE},
    };
    for (const auto& c : cases) {
        TableReadResult r;
        EXPECT_EQ(ReadCsv(c.bytes, &r), expected) << c.what;
        EXPECT_EQ(r.encoding, c.encoding) << c.what;
        EXPECT_EQ(r.replaced, 0u) << c.what;
    }
}

TEST(CsvReader, ShiftJisHalfWidthKatakanaSurvive) {
    // Katakana-only Shift-JIS fails the walk; it must not then be read as
    // UTF-8, which would turn every katakana into 〓.
    for (const std::string utf8 : {"ｱｲｳ,1\r\n", "ｺｰﾄﾞ,ﾒｰｶｰ\r\nA-1,ｱｲｳ\r\n", "品ｱ,2\n"}) {
        TableReadResult r;
        const Rows rows = ReadCsv(S(utf8), &r);
        EXPECT_EQ(r.encoding, TableEncoding::ShiftJis) << utf8;
        EXPECT_EQ(r.replaced, 0u) << utf8;
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows[0][0], S(utf8.substr(0, utf8.find(',')))) << utf8;
    }
}

TEST(CsvReader, MarkIsNotPartOfTheFirstField) {
    EXPECT_EQ(ReadCsv("\xEF\xBB\xBF"
                      "a,b\n"),
              (Rows{{"a", "b"}}));
    EXPECT_EQ(ReadCsv(Utf16Bytes(u"a,b\n", false, true)), (Rows{{"a", "b"}}));
    EXPECT_EQ(ReadCsv(Utf16Bytes(u"a,b\n", true, true)), (Rows{{"a", "b"}}));
}

TEST(CsvReader, BigEndianFileKeepsItsCharacters) {
    // Read little-endian, 品 (54 C1) would become another character.
    TableReadResult r;
    EXPECT_EQ(ReadCsv(Utf16Bytes(u"品,x\n", true, true), &r), (Rows{{S("品"), "x"}}));
    EXPECT_EQ(r.encoding, TableEncoding::Utf16BE);
}

TEST(CsvReader, CharactersWithoutShiftJisFormBecomeGetaMarks) {
    const std::string geta = kGetaMarkCp932;
    struct Case {
        const char* what;
        std::string bytes;
        Rows rows;
        std::size_t replaced;
    };
    const Case cases[] = {
        {"emoji in UTF-8",
         "\xEF\xBB\xBF"
         "a\xF0\x9F\x98\x80"
         "b,c\n",
         {{"a" + geta + "b", "c"}},
         1},
        {"emoji in UTF-16LE", Utf16Bytes(u"a\U0001F600,\u00E9\n", false, true), {{"a" + geta, geta}}, 2},
        {"lone surrogate",
         Utf16Bytes(std::u16string(u"x") + char16_t(0xD800) + u",y\n", false, true),
         {{"x" + geta, "y"}},
         1},
        // A UTF-8 file with a few stray bytes among its characters is still
        // read as UTF-8; each stray byte becomes 〓.
        {"stray bytes in a UTF-8 file",
         "\xE5\x93\x81\xE5\x90\x8D\xA0,\xE6\x95\xB0\x80\n",
         {{S("品名") + geta, S("数") + geta}},
         2},
        {"odd last byte of UTF-16", Utf16Bytes(u"a,b", false, true) + "\x41", {{"a", "b" + geta}}, 1},
    };
    for (const auto& c : cases) {
        TableReadResult r;
        EXPECT_EQ(ReadCsv(c.bytes, &r), c.rows) << c.what;
        EXPECT_EQ(r.replaced, c.replaced) << c.what;
    }
}

TEST(CsvReader, LinesQuotesAndFields) {
    struct Case {
        const char* what;
        std::string bytes;
        Rows rows;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"final line end gives no row", "a,b\n", {{"a", "b"}}},
        {"last line without line end", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"CR LF and LF mixed", "a\r\nb\nc\r\n", {{"a"}, {"b"}, {"c"}}},
        {"empty line is one empty field", "a,b\n\nc,d\n", {{"a", "b"}, {""}, {"c", "d"}}},
        {"lone line end", "\n", {{""}}},
        {"CR not before LF stays", "a\rb,c\n", {{"a\rb", "c"}}},
        {"a quoted comma is text", "\"x,1\",2\n", {{"x,1", "2"}}},
        {"doubled quotes are one quote", "\"say \"\"hi\"\"\",b\n", {{"say \"hi\"", "b"}}},
        {"quotes inside an unquoted field vanish", "ab\"c,d\"\n", {{"abc", "d"}}},
        {"two commas give an empty field", "a,,b\n", {{"a", "", "b"}}},
        {"trailing comma gives an empty field", "a,\n", {{"a", ""}}},
        {"no trimming", " a , b \n", {{" a ", " b "}}},
        {"first row fixes the width", "a,b,c\n1,2,3,4,5\n", {{"a", "b", "c"}, {"1", "2", "3"}}},
        // 表 is 95 5C: its trail byte is not a separator or a quote.
        {"trail bytes are no separators", "\x95\x5C,\x95\x5C\n", {{"\x95\x5C", "\x95\x5C"}}},
        {"NUL bytes are kept", std::string("a\0b,c\n", 6), {{std::string("a\0b", 3), "c"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadCsv(c.bytes), c.rows) << c.what;
}

TEST(CsvReader, LeadByteSwallowsTheNextByteButNeverTheLineEnd) {
    // Not valid Shift-JIS: 81 followed by a comma is one double-byte
    // character. A lead byte at the end of the line still ends its field.
    EXPECT_EQ(ReadCsv("\x81,a,b\xA0\xE0\n"), (Rows{{"\x81,a", "b\xA0\xE0"}}));
    EXPECT_EQ(ReadCsv("\xA0\xC3,x\x81\r\ny,z\n"), (Rows{{"\xA0\xC3", "x\x81"}, {"y", "z"}}));
}

TEST(CsvReader, ShortRowsGetEmptyCells) {
    CCsvDoc doc;
    ASSERT_TRUE(doc.ReadCsvBytes("a,b,c\n1\n\n").ok());
    ASSERT_EQ(doc.rowCount, 3);
    ASSERT_EQ(doc.columnCount, 3);
    ASSERT_EQ(doc.cells.size(), 3u);
    for (int r = 0; r < 3; ++r) {
        ASSERT_EQ(doc.cells[r].size(), 3u);
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(doc.cells[r][c].row, r);
            EXPECT_EQ(doc.cells[r][c].column, c);
            EXPECT_EQ(doc.cells[r][c].textLength, 0.0);
        }
    }
    EXPECT_EQ(doc.cells[0][2].text, "c");
    EXPECT_EQ(doc.cells[1][0].text, "1");
    EXPECT_EQ(doc.cells[1][1].text, "");
    EXPECT_EQ(doc.cells[2][0].text, "");
    EXPECT_EQ(doc.cells[2][2].text, "");
}

TEST(CsvReader, TableOfMoreThanTheCellLimitIsRefused) {
    // 100,000 cells are read; one row more is refused with the true count.
    std::string atLimit;
    for (int r = 0; r < 10000; ++r) atLimit += "1,2,3,4,5,6,7,8,9,10\n";
    CCsvDoc doc;
    TableReadResult r = doc.ReadCsvBytes(atLimit);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(doc.rowCount * doc.columnCount, 100000);

    r = doc.ReadCsvBytes(atLimit + "1\n" + "x\n");
    EXPECT_EQ(r.status, TableReadResult::Status::TooLarge);
    EXPECT_EQ(r.message, "表が大きすぎます（100020 セル）。");
    EXPECT_TRUE(doc.rows.empty());
    EXPECT_TRUE(doc.cells.empty());

    // One very wide first row.
    r = doc.ReadCsvBytes(std::string(100000, ','));
    EXPECT_EQ(r.status, TableReadResult::Status::TooLarge);
    EXPECT_EQ(r.message, TableTooLargeMessage(100001));

    std::u16string clip;
    for (int i = 0; i < 50001; ++i) clip += u"a\tb\r\n";
    FixedClipboardText big(clip);
    r = doc.ReadClipboardTable(big);
    EXPECT_EQ(r.status, TableReadResult::Status::TooLarge);
    EXPECT_EQ(r.cellCount, 100002);
}

TEST(CsvReader, FieldsBeyondTheFirstRowAreNotKept) {
    // A narrow first row and a huge second row: the second row is cut to the
    // first row's width instead of being held whole.
    CCsvDoc doc;
    ASSERT_TRUE(doc.ReadCsvBytes("a\n" + std::string(1 << 20, ',') + "\n").ok());
    ASSERT_EQ(doc.rows.size(), 2u);
    EXPECT_EQ(doc.rows[1].size(), 1u);
    EXPECT_EQ(doc.columnCount, 1);
}

TEST(CsvReader, FileThatCannotBeReadLeavesTheTableEmpty) {
    const std::string dir = test::MakeTempDir();
    ASSERT_EQ(::mkfifo((dir + "/fifo.csv").c_str(), 0600), 0);
    CCsvDoc doc;
    ASSERT_TRUE(doc.ReadCsvBytes("a,b\n").ok());
    // What is not a regular file is refused as that, at once: a FIFO that
    // no one writes is never waited on.
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {dir + "/missing.csv", "ファイルの読込でエラーが発生しました。"},
        {dir, kTableNotAFileMessage},
        {dir + "/fifo.csv", kTableNotAFileMessage},
        {"/dev/null", kTableNotAFileMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto read = std::async(std::launch::async, [&] { return doc.ReadCsvFile(c.path); });
        if (read.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            ADD_FAILURE() << "the read waits";
            const int w = ::open(c.path.c_str(), O_WRONLY);  // lets a waiting open end
            if (w >= 0) ::close(w);
        }
        const TableReadResult r = read.get();
        EXPECT_EQ(r.status, TableReadResult::Status::Unreadable);
        EXPECT_EQ(r.message, c.message);
        EXPECT_TRUE(doc.rows.empty());
        EXPECT_EQ(doc.rowCount, 0);
    }

    // Standard input named on purpose is read, as a pipe too.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], "p,q\n", 4), 4);
    ::close(fds[1]);
    const TableReadResult piped = doc.ReadCsvFile("/dev/fd/" + std::to_string(fds[0]));
    ::close(fds[0]);
    EXPECT_TRUE(piped.ok()) << piped.message;
    EXPECT_EQ(doc.rows, (Rows{{"p", "q"}}));

    const std::string path = test::WriteTestFile(dir, "t.csv",
                                                 "\xEF\xBB\xBF"
                                                 "x,y\r\n");
    EXPECT_TRUE(doc.ReadCsvFile(path).ok());
    EXPECT_EQ(doc.rows, (Rows{{"x", "y"}}));
    std::filesystem::remove_all(dir);
}

TEST(ClipboardTable, LinesEndAtTheFirstEmptyLine) {
    struct Case {
        const char* what;
        std::u16string text;
        Rows rows;
    };
    const Case cases[] = {
        {"two rows with CR LF", u"a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
        {"LF only", u"a\tb\nc\td\n", {{"a", "b"}, {"c", "d"}}},
        {"empty second line ends the table", u"a\tb\r\n\r\nc\td\r\n", {{"a", "b"}}},
        {"empty second line with LF", u"a\n\nb\n", {{"a"}}},
        {"single line without line end", u"a\tb", {}},
        {"last line without line end is dropped", u"a\tb\r\nc\td", {{"a", "b"}}},
        {"empty text", u"", {}},
        {"empty first line", u"\r\na\tb\r\n", {}},
        {"stray CR is removed", u"a\rb\tc\r\r\nd\r\n", {{"ab", "c"}, {"d"}}},
        {"quoted fields lose their quotes", u"\"a\"\t\"b,c\"\r\n", {{"a", "b,c"}}},
        {"quotes inside an unquoted field are kept", u"a\"b\t5\"\r\n", {{"a\"b", "5\""}}},
        {"tabs make empty fields", u"\t\ta\r\n", {{"", "", "a"}}},
        {"Japanese", u"品名\t数量\r\n鉛筆\t３\r\n", {{S("品名"), S("数量")}, {S("鉛筆"), S("３")}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadClipboard(c.text), c.rows) << c.what;
}

TEST(ClipboardTable, NoTextGivesAnEmptyTable) {
    CCsvDoc doc;
    ASSERT_TRUE(doc.ReadCsvBytes("a\n").ok());
    FixedClipboardText nothing;
    TableReadResult r = doc.ReadClipboardTable(nothing);
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(doc.empty());
    EXPECT_EQ(doc.rowCount, 0);
    EXPECT_EQ(doc.columnCount, 0);
}

TEST(ClipboardTable, UnconvertibleCharactersAreCounted) {
    CCsvDoc doc;
    FixedClipboardText clip(u"\u00E9t\u00E9\t\U0001F600\r\n");
    TableReadResult r = doc.ReadClipboardTable(clip);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.replaced, 3u);
    const std::string geta = kGetaMarkCp932;
    EXPECT_EQ(doc.rows, (Rows{{geta + "t" + geta, geta}}));
}

}  // namespace
}  // namespace tolvani
