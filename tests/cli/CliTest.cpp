// tolvani-cli as a user runs it: outputs, messages and exit codes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "model/DrawingGenerator.h"
#include "model/InputFile.h"
#include "model/JwwFile.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::RunCli;

class Cli : public ::testing::Test {
protected:
    void SetUp() override { dir_ = test::MakeTempDir(); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    void Write(const std::string& name, const test::Bytes& bytes) const {
        WriteFileAtomically(Path(name), [&](std::FILE* f) { std::fwrite(bytes.data(), 1, bytes.size(), f); });
    }
    std::string dir_;
};

TEST_F(Cli, GenInfoJsonAndResave) {
    auto r = RunCli({"gen", Path("g.jww"), "--elements", "300", "--seed", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    // Reproducible: the same seed makes the same bytes.
    ASSERT_EQ(RunCli({"gen", Path("g2.jww"), "--elements=300", "--seed=3"}).exitCode, 0);
    EXPECT_EQ(test::ReadFileBytes(Path("g.jww")), test::ReadFileBytes(Path("g2.jww")));

    r = RunCli({"info", Path("g.jww"), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* key :
         {"\"version\": 600", "\"memo\": \"生成された図面\"", "\"paperSize\": 1", "\"writeLayerGroup\": 0",
          "\"mainCounts\": {\"CData\": 0, \"CDataSen\": ", "\"CDataList\": 0}", "\"definitionCounts\": {",
          "\"definitionCount\": 50", "\"trailingCount\": 0", "\"trailingBytes\": 0", "\"groupElementCount\": [",
          "\"layerElementCount\": [["})
        EXPECT_NE(r.out.find(key), std::string::npos) << key << "\n" << r.out;

    r = RunCli({"resave", Path("g.jww"), Path("r.jww")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto a = test::ReadFileBytes(Path("g.jww")), b = test::ReadFileBytes(Path("r.jww"));
    ASSERT_EQ(a.size(), b.size());
    int diff = 0;
    for (std::size_t i = 0; i < a.size(); ++i) diff += a[i] != b[i];
    EXPECT_EQ(diff, 1);  // header row 36 rises by 20
}

TEST_F(Cli, DumpListsElementsDefinitionsAndBothDiagnostics) {
    ASSERT_EQ(RunCli({"gen", Path("g.jww"), "--elements", "60"}).exitCode, 0);
    const auto r = RunCli({"dump", Path("g.jww")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("[0] C"), std::string::npos);
    EXPECT_NE(r.out.find("definition 0 name=\"部品1\""), std::string::npos);
    EXPECT_NE(r.out.find("<<< リストGO >>>　pInst == NULL"), std::string::npos);
    EXPECT_NE(r.out.find("★定義リストスタート★ 【 49 】 部品50"), std::string::npos);
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
}

TEST_F(Cli, RefusedInputExitsOneWithTheMessageAndWritesNothing) {
    test::Bytes cut = test::NewDrawingHeaderBytes();
    cut.resize(cut.size() - 10);
    Write("cut.jww", cut);
    test::Bytes old = test::NewDrawingHeaderBytes();
    old[8] = 0xA3;  // version 419
    old[9] = 0x01;
    Write("old.jww", old);

    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"info", Path("cut.jww")}, Path("cut.jww") + " の末尾以降にアクセスしようとしました。\n"},
        {{"info", Path("old.jww")}, "このファイルは古いバージョンです、Jw_cad で読込みファイルしなおしてください。\n"},
        {{"dump", Path("none.jww")},
         "ローカル読込でエラー！ (" + Path("none.jww") + ")\n" + std::strerror(ENOENT) + "\n"},
        {{"resave", Path("cut.jww"), Path("out.jww")}, Path("cut.jww") + " の末尾以降にアクセスしようとしました。\n"},
        {{"info", dir_}, "ローカル読込でエラー！ (" + dir_ + ")\n" + std::strerror(EISDIR) + "\n"},
        {{"info", "/dev/null"}, "ローカル読込でエラー！ (/dev/null)\n" + NotRegularFileReason(S_IFCHR) + "\n"},
    };
    for (const auto& c : cases) {
        const auto r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args[0];
        EXPECT_EQ(r.err, c.message);
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(Path("out.jww")));
}

TEST_F(Cli, BadUsageExitsTwo) {
    ASSERT_EQ(RunCli({"gen", Path("g.jww"), "--elements", "5"}).exitCode, 0);
    const std::vector<std::vector<std::string>> cases = {
        {"info"},
        {"info", Path("g.jww"), "--jsn"},
        {"info", Path("g.jww"), "--json=1"},
        {"frobnicate"},
        {"gen", Path("x.jww")},
        {"gen", Path("x.jww"), "--elements", "-1"},
        {"gen", Path("x.jww"), "--elements", "12abc"},
        {"gen", Path("x.jww"), "--elements"},
        {"resave", Path("g.jww")},
        {},
    };
    for (const auto& args : cases) {
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args[0]);
        if (!args.empty()) {
            EXPECT_TRUE(r.out.empty());
        }
    }
    EXPECT_FALSE(std::filesystem::exists(Path("x.jww")));
    const auto help = RunCli({"info", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("tolvani-cli info FILE [--json]"), std::string::npos);
}

TEST_F(Cli, UnwritableOutputExitsThreeAndKeepsTheOldFile) {
    ASSERT_EQ(RunCli({"gen", Path("g.jww"), "--elements", "5"}).exitCode, 0);
    auto r = RunCli({"resave", Path("g.jww"), Path("no/such/dir/out.jww")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("ローカル保存でエラー！"), std::string::npos);
    EXPECT_TRUE(r.out.empty());
    r = RunCli({"gen", dir_, "--elements", "5"});  // the target is a folder
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(std::filesystem::is_directory(dir_));
}

}  // namespace
}  // namespace tolvani
