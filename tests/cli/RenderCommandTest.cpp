// tolvani-cli render: formats, sizes, exit codes and the missing-block warning.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "model/DrawingGenerator.h"
#include "model/JwwFile.h"
#include "tests/cli/CliRunner.h"
#include "tests/display/DisplayTestSupport.h"
#include "tests/display/GuiApp.h"
#include "tests/support/TestSupport.h"

namespace tolvani::display {
namespace {

using test::RunCli;

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureGuiApp();
        dir_ = test::MakeTempDir();
        CJwwDoc doc;
        GenerateDrawing(doc, {300, 5, 10});
        SaveJwwFile(Path("d.jww"), doc);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string dir_;
};

TEST_F(RenderCommand, WritesPngSvgAndPdfByTheExtension) {
    auto r = RunCli({"render", Path("d.jww"), Path("a.png"), "--size", "320x200"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    QImage png(QString::fromStdString(Path("a.png")));
    EXPECT_EQ(png.size(), QSize(320, 200));
    EXPECT_EQ(png.pixel(0, 0), qRgb(255, 255, 255));

    r = RunCli({"render", Path("d.jww"), Path("a.SVG"), "--size=320x200", "--dpi", "200"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto svg = test::ReadFileBytes(Path("a.SVG"));
    const std::string text(svg.begin(), svg.end());
    EXPECT_NE(text.find("viewBox=\"0 0 320 200\""), std::string::npos);
    EXPECT_NE(text.find("width=\"40.64mm\""), std::string::npos);

    r = RunCli({"render", Path("d.jww"), Path("a.pdf"), "--size", "10x10"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto pdf = test::ReadFileBytes(Path("a.pdf"));
    ASSERT_GT(pdf.size(), 1000u);
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 5), "%PDF-");
}

TEST_F(RenderCommand, BadUsageUnreadableInputAndUnwritableOutput) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {{"render", Path("d.jww"), Path("a.bmp")}, 2},
        {{"render", Path("d.jww"), Path("a.png"), "--size", "0x10"}, 2},
        {{"render", Path("d.jww"), Path("a.png"), "--size", "100"}, 2},
        {{"render", Path("d.jww"), Path("a.png"), "--dpi", "0"}, 2},
        {{"render", Path("d.jww"), Path("a.png"), "--zoom", "2"}, 2},
        {{"render", Path("d.jww"), Path("a.png"), "--threads", "0"}, 2},
        {{"render", Path("d.jww"), Path("a.png"), "--threads", "65"}, 2},
        {{"render", Path("d.jww")}, 2},
        {{"render", Path("missing.jww"), Path("a.png")}, 1},
        {{"render", Path("d.jww"), Path("no/such/folder/a.png")}, 3},
    };
    for (const auto& c : cases) {
        const auto r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.back();
        EXPECT_TRUE(r.out.empty()) << c.args.back();
        EXPECT_FALSE(r.err.empty()) << c.args.back();
        EXPECT_FALSE(std::filesystem::exists(Path("a.png"))) << c.args.back();
    }
}

TEST_F(RenderCommand, MissingDefinitionsGiveOneWarningLine) {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    for (int i = 0; i < 20; ++i) {
        auto b = std::make_unique<CDataBlock>();
        b->definitionNumber = i % 2 ? 7 : 3;
        doc.AddElement(std::move(b));
    }
    SaveJwwFile(Path("m.jww"), doc);
    const auto r = RunCli({"render", Path("m.jww"), Path("m.png")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("ブロックが見つかりません！"), std::string::npos);
    EXPECT_NE(r.err.find("3, 7"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(Path("m.png")));
}

TEST_F(RenderCommand, EveryThreadCountWritesTheSameImage) {
    auto r = RunCli({"render", Path("d.jww"), Path("one.png"), "--threads", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto one = test::ReadFileBytes(Path("one.png"));
    for (const char* n : {"2", "5"}) {
        r = RunCli({"render", Path("d.jww"), Path("n.png"), "--threads", n});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(test::ReadFileBytes(Path("n.png")), one) << n;
    }
    r = RunCli({"render", Path("d.jww"), Path("all.png")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::ReadFileBytes(Path("all.png")), one);
}

// Insertions that place more elements than one draw allows: the draw stops
// placing them, and says so in one line.
TEST_F(RenderCommand, ASpentPlacingBudgetGivesOneWarningLine) {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    auto definition = [&doc](int number) -> CDataList& {
        auto d = std::make_unique<CDataList>();
        d->number = number;
        return *doc.AddDefinition(std::move(d));
    };
    auto insertion = [](int number, double x) {
        auto b = std::make_unique<CDataBlock>();
        b->definitionNumber = number;
        b->ref = {x, 0};
        b->scaleX = b->scaleY = 1;
        return b;
    };
    CDataList& leaf = definition(1);
    for (int i = 0; i < 1000; ++i) {
        auto l = std::make_unique<CDataSen>();
        l->lineType = 1;
        l->color = 2;
        l->end = {1, 1};
        leaf.elements.push_back(std::move(l));
    }
    CDataList& mid = definition(2);
    for (int i = 0; i < 1000; ++i) mid.elements.push_back(insertion(1, 0));
    for (const int far : {10, 60}) {
        doc.RemoveElements([](const CData&) { return true; });
        for (int i = 0; i < far; ++i) doc.AddElement(insertion(2, -100000));
        SaveJwwFile(Path("b.jww"), doc);
        const auto r = RunCli({"render", Path("b.jww"), Path("b.png")});
        EXPECT_EQ(r.exitCode, 0) << far;
        if (far == 10) {
            EXPECT_TRUE(r.err.empty()) << r.err;
        } else {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_NE(r.err.find("ブロック図形の配置が多すぎる"), std::string::npos) << r.err;
        }
    }
}

}  // namespace
}  // namespace tolvani::display
