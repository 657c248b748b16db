// tolvani-cli insert-table, run as a separate process: options, exit codes,
// messages, and the drawing it writes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "blocks/BlockRegistry.h"
#include "model/Cp932.h"
#include "model/JwwFile.h"
#include "table/TableMessages.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

struct CliRun {
    int code = -1;
    std::string out, err;
};

// Runs `tolvani-cli insert-table ARGS…`.
CliRun Cli(std::vector<std::string> args) {
    args.insert(args.begin(), "insert-table");
    const test::CliResult r = test::RunCli(args);
    return CliRun{r.exitCode, r.out, r.err};
}

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

class InsertTableCli : public ::testing::Test {
protected:
    void SetUp() override { dir = test::MakeTempDir(); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string File(const std::string& name, const std::string& bytes) {
        return test::WriteTestFile(dir, name, bytes);
    }

    void Load(const std::string& path, CJwwDoc& doc) {
        doc.header.SetNewDrawingDefaults();
        ASSERT_EQ(LoadJwwFile(path, doc), CJwwDoc::LoadResult::Loaded);
    }

    std::string dir;
};

TEST_F(InsertTableCli, ShiftJisTableIntoANewDrawing) {
    const std::string csv = File("t.csv", Utf8ToCp932("品名,数量,単価\r\n鉛筆,3,120\r\n消しゴム,10,80\r\n"));
    const std::string out = dir + "/out.jww";
    const CliRun r = Cli({"--new", csv, out, "--at", "100,50"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    CJwwDoc doc;
    Load(out, doc);
    ASSERT_EQ(doc.mainList.size(), 3u * 3 + 3 + 3 + 2);
    const auto* first = As<CDataMoji>(doc.mainList[0].get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Cp932ToUtf8(first->text.view()), "品名");
    EXPECT_DOUBLE_EQ(first->start.x, 101.0);
    const double h = 0.8 + doc.header.textHeight[3] + 0.6;
    EXPECT_DOUBLE_EQ(first->start.y, 50 - h + 0.6);
    const auto* top = As<CDataSen>(doc.mainList[9].get());
    ASSERT_NE(top, nullptr);
    EXPECT_DOUBLE_EQ(top->start.x, 100);
    EXPECT_DOUBLE_EQ(top->start.y, 50);
    EXPECT_EQ(top->color, 2);     // default line colour
    EXPECT_EQ(top->lineType, 1);  // default line type
}

TEST_F(InsertTableCli, NegativePositionInBothForms) {
    const std::string csv = File("t.csv", "a,b\n");
    for (const std::vector<std::string>& at :
         {std::vector<std::string>{"--at", "-20,-10"}, std::vector<std::string>{"--at=-20,-10"}}) {
        const std::string out = dir + "/neg.jww";
        std::vector<std::string> args{"--new", csv, out};
        args.insert(args.end(), at.begin(), at.end());
        const CliRun r = Cli(args);
        ASSERT_EQ(r.code, 0) << r.err;
        CJwwDoc doc;
        Load(out, doc);
        ASSERT_EQ(doc.mainList.size(), 2u + 1 + 2 + 2);
        const auto* top = As<CDataSen>(doc.mainList[2].get());
        ASSERT_NE(top, nullptr);
        EXPECT_DOUBLE_EQ(top->start.x, -20);
        EXPECT_DOUBLE_EQ(top->start.y, -10);
    }
}

TEST_F(InsertTableCli, OptionsReachTheElements) {
    const std::string csv = File("t.csv",
                                 "\xEF\xBB\xBF"
                                 "ab\n");
    const std::string out = dir + "/o.jww";
    const CliRun r = Cli({"--new", csv, out, "--at", "0,0", "--margins", "0,5,10,50", "--text-type", "7", "--line-type",
                          "8", "--line-colour", "6", "--layers", "15,3,4"});
    ASSERT_EQ(r.code, 0) << r.err;
    CJwwDoc doc;
    Load(out, doc);
    ASSERT_EQ(doc.mainList.size(), 5u);
    const auto* t = As<CDataMoji>(doc.mainList[0].get());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->textType, 7u);
    EXPECT_EQ(t->layerGroup, 15);
    EXPECT_EQ(t->layer, 4);
    EXPECT_DOUBLE_EQ(t->start.x, 0.0);
    const double h = 1.0 + doc.header.textHeight[7] + 5.0;
    EXPECT_DOUBLE_EQ(t->start.y, -h + 5.0);
    const auto* right = As<CDataSen>(doc.mainList[4].get());
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->lineType, 8);
    EXPECT_EQ(right->color, 6);
    EXPECT_EQ(right->layerGroup, 15);
    EXPECT_EQ(right->layer, 3);
    EXPECT_DOUBLE_EQ(right->start.x, t->end.x + 0.5);
}

TEST_F(InsertTableCli, ClipboardTextStopsAtTheFirstEmptyLine) {
    const std::string txt = File("clip.txt", "品名\t数量\r\n鉛筆\t3\r\n\r\n後\t1\r\n");
    const std::string out = dir + "/c.jww";
    const CliRun r = Cli({"--new", txt, out, "--at", "0,0", "--clipboard-text"});
    ASSERT_EQ(r.code, 0) << r.err;
    CJwwDoc doc;
    Load(out, doc);
    EXPECT_EQ(doc.mainList.size(), 2u * 2 + 2 + 2 + 2);
    EXPECT_EQ(Cp932ToUtf8(As<CDataMoji>(doc.mainList[2].get())->text.view()), "鉛筆");
}

TEST_F(InsertTableCli, BlockFigureThenTheSameNameAgain) {
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    const std::string csv = File("t.csv", "a,b\nc,d\n");
    const std::string first = dir + "/b1.jww", again = dir + "/b1-again.jww";
    CliRun r = Cli({"--new", csv, first, "--at=-20,-10", "--block", "表1"});
    ASSERT_EQ(r.code, 0) << r.err;
    r = Cli({"--new", csv, again, "--at=-20,-10", "--block", "表1"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(test::ReadFileBytes(first), test::ReadFileBytes(again));  // reproducible

    CJwwDoc doc;
    Load(first, doc);
    ASSERT_EQ(doc.mainList.size(), 1u);
    ASSERT_EQ(doc.blockList.size(), 1u);
    const auto* ins = As<CDataBlock>(doc.mainList[0].get());
    ASSERT_NE(ins, nullptr);
    EXPECT_EQ(ins->ref.x, -20);
    EXPECT_EQ(ins->ref.y, -10);
    EXPECT_EQ(doc.blockList[0]->createdTime, 1700000000);
    EXPECT_EQ(doc.blockList[0]->elements.size(), 4u + 3 + 3);
    EXPECT_TRUE(IsBlockNameRegistered(doc, Utf8ToCp932("表1")));

    const std::string third = dir + "/b2.jww";
    r = Cli({first, csv, third, "--at", "0,0", "--block", "表1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "ブロック名がすでに登録済です、名前を変えてやり直して下さい！\n");
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(Exists(third));
    // Without a block the name is not looked at.
    r = Cli({first, csv, third, "--at", "0,0"});
    EXPECT_EQ(r.code, 0) << r.err;
    r = Cli({first, csv, third, "--at", "0,0", "--block", "表2"});
    ASSERT_EQ(r.code, 0) << r.err;
    CJwwDoc two;
    Load(third, two);
    EXPECT_EQ(two.blockList.size(), 2u);
    EXPECT_EQ(two.mainList.size(), 2u);
}

TEST_F(InsertTableCli, BadUsageExitsWithTwo) {
    const std::string csv = File("t.csv", "a\n");
    const std::string out = dir + "/never.jww";
    const std::vector<std::vector<std::string>> cases = {
        {"--new", csv, out},
        {"--new", csv, out, "--at", "1"},
        {"--new", csv, out, "--at", "x,1"},
        {"--new", csv, out, "--at", "1,2,3"},
        {"--new", csv, out, "--at", "inf,0"},
        {"--new", csv, "--at", "0,0"},
        {csv, out, "--at", "0,0"},
        {"--new", csv, out, "--at", "0,0", "--margins", "10,10,8"},
        {"--new", csv, out, "--at", "0,0", "--margins", "10,10,8,51"},
        {"--new", csv, out, "--at", "0,0", "--margins", "-1,10,8,6"},
        {"--new", csv, out, "--at", "0,0", "--text-type", "0"},
        {"--new", csv, out, "--at", "0,0", "--text-type", "11"},
        {"--new", csv, out, "--at", "0,0", "--line-type", "9"},
        {"--new", csv, out, "--at", "0,0", "--line-colour", "0"},
        {"--new", csv, out, "--at", "0,0", "--layers", "0,16,0"},
        {"--new", csv, out, "--at", "0,0", "--layers", "0,1"},
        {"--new", csv, out, "--at", "0,0", "--block", ""},
        {"--new", csv, out, "--at", "0,0", "--block", "\xF0\x9F\x98\x80"},
        {"--new", csv, out, "--at", "0,0", "--bogus"},
    };
    for (const auto& args : cases) {
        const CliRun r = Cli(args);
        std::string shown;
        for (const auto& a : args) shown += a + " ";
        EXPECT_EQ(r.code, 2) << shown;
        EXPECT_NE(r.err, "") << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_FALSE(Exists(out)) << shown;
    }
}

TEST_F(InsertTableCli, RefusedInputExitsWithOne) {
    const std::string out = dir + "/never.jww";
    std::string big;
    for (int i = 0; i < 100001; ++i) big += "x\n";
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"--new", File("empty.csv", ""), out, "--at", "0,0"}, "表が読み込まれていません！"},
        {{"--new", File("empty.txt", "\r\na\tb\r\n"), out, "--at", "0,0", "--clipboard-text"},
         "表が読み込まれていません！"},
        {{"--new", dir + "/missing.csv", out, "--at", "0,0"}, "ファイルの読込でエラーが発生しました。"},
        {{"--new", dir, out, "--at", "0,0"}, kTableNotAFileMessage},
        {{"--new", "/dev/null", out, "--at", "0,0"}, kTableNotAFileMessage},
        {{"--new", dir + "/missing.txt", out, "--at", "0,0", "--clipboard-text"},
         "ファイルの読込でエラーが発生しました。"},
        {{"--new", File("big.csv", big), out, "--at", "0,0"}, "表が大きすぎます（100001 セル）。"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, 1) << c.message;
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(Exists(out));
    }
    const CliRun r = Cli({dir + "/missing.jww", File("t.csv", "a\n"), out, "--at", "0,0"});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(Exists(out));
}

TEST_F(InsertTableCli, UnwritableOutputExitsWithThree) {
    const CliRun r = Cli({"--new", File("t.csv", "a\n"), dir + "/no/such/dir/out.jww", "--at", "0,0"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.out, "");
}

TEST_F(InsertTableCli, IntoEverySampleDrawing) {
    const auto samples = test::SamplePaths();
    if (samples.empty()) GTEST_SKIP() << "no sample drawings";
    const std::string csv = File("t.csv", Utf8ToCp932("品名,数量\n鉛筆,3\n"));
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample);
        CJwwDoc before;
        Load(sample, before);
        for (bool block : {false, true}) {
            const std::string out = dir + "/s.jww";
            std::vector<std::string> args{sample, csv, out, "--at", "10,10"};
            if (block) args.insert(args.end(), {"--block", "tolvani-test-table"});
            const CliRun r = Cli(args);
            ASSERT_EQ(r.code, 0) << r.err;
            CJwwDoc after;
            Load(out, after);
            EXPECT_EQ(after.mainList.size(), before.mainList.size() + (block ? 1 : 4u + 3 + 3));
            EXPECT_EQ(after.blockList.size(), before.blockList.size() + (block ? 1 : 0));
            if (block) {
                const auto* ins = As<CDataBlock>(after.mainList.back().get());
                ASSERT_NE(ins, nullptr);
                EXPECT_EQ(after.FindBlockList(ins->definitionNumber), after.blockList.back().get());
            }
        }
    }
}

}  // namespace
}  // namespace tolvani
