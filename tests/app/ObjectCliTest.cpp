// tolvani-cli object: packing a drawing into each form, reading it back,
// and refusing what carries no drawing.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <filesystem>

#include "model/JwwFile.h"
#include "tests/app/CliRunner.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::RunCli;

class ObjectCli : public ::testing::Test {
protected:
    void SetUp() override { dir_ = test::MakeTempDir(); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string dir_;
};

// Every form gives back the bytes that resave writes of the drawing.
void ExpectRoundTrips(const std::string& drawing, const std::string& dir) {
    ASSERT_EQ(RunCli({"resave", drawing, dir + "/resaved.jww"}).exitCode, 0);
    const test::Bytes expected = test::ReadFileBytes(dir + "/resaved.jww");
    for (const std::string ext : {"bin", "ole", "png", "svg"}) {
        SCOPED_TRACE(drawing + " as " + ext);
        const std::string object = dir + "/object." + ext;
        auto r = RunCli({"object", "pack", drawing, object});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        r = RunCli({"object", "extract", object, dir + "/back.jww"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(test::ReadFileBytes(dir + "/back.jww"), expected);
        r = RunCli({"object", "info", object, "--json"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.out.find("\"form\": \"" + std::string(ext == "bin" ? "raw" : ext) + "\""), std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find("\"bodyOffset\": 56"), std::string::npos) << r.out;
    }
}

TEST_F(ObjectCli, GeneratedDrawingRoundTripsInEveryForm) {
    ASSERT_EQ(RunCli({"gen", Path("g.jww"), "--elements", "400", "--seed", "9"}).exitCode, 0);
    ExpectRoundTrips(Path("g.jww"), dir_);
}

TEST_F(ObjectCli, SampleDrawingsRoundTripInEveryForm) {
    const auto samples = test::SamplePaths();
    if (samples.empty()) GTEST_SKIP() << "no sample drawings";
    for (const auto& s : samples) ExpectRoundTrips(s, dir_);
}

TEST_F(ObjectCli, PictureShowsThePaperAtItsSize) {
    // The generated drawing is on A1 paper: 841 × 594 mm.
    ASSERT_EQ(RunCli({"gen", Path("g.jww"), "--elements", "50"}).exitCode, 0);
    ASSERT_EQ(RunCli({"object", "pack", Path("g.jww"), Path("o.png")}).exitCode, 0);
    ASSERT_EQ(RunCli({"object", "pack", Path("g.jww"), Path("o.svg")}).exitCode, 0);
    auto r = RunCli({"object", "info", Path("o.png"), "--json"});
    EXPECT_NE(r.out.find("\"extentWidth\": 84100, \"extentHeight\": 59400, \"viewWidth\": 841, \"viewHeight\": 594"),
              std::string::npos)
        << r.out;

    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(Path("o.png"))));
    EXPECT_EQ(image.width(), 3179);  // 841 mm at 96 dpi
    EXPECT_EQ(image.height(), 2245);
    const test::Bytes svg = test::ReadFileBytes(Path("o.svg"));
    const std::string text(svg.begin(), svg.end());
    EXPECT_NE(text.find("width=\"841.00mm\" height=\"594.00mm\""), std::string::npos);
    EXPECT_NE(text.find("<metadata><tolvani:data"), std::string::npos);

    // A chosen extent keeps the paper whole inside it.
    r = RunCli({"object", "pack", Path("g.jww"), Path("e.bin"), "--extent", "21167,15875"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = RunCli({"object", "info", Path("e.bin")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("大きさ: 21167 × 15875 (0.01 mm)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("表示範囲: 841 × 630.74 mm"), std::string::npos) << r.out;
}

TEST_F(ObjectCli, WhatCarriesNoDrawingIsRefusedAndNothingIsWritten) {
    ASSERT_EQ(RunCli({"gen", Path("g.jww"), "--elements", "30"}).exitCode, 0);
    ASSERT_EQ(RunCli({"render", Path("g.jww"), Path("plain.png")}).exitCode, 0);
    ASSERT_EQ(RunCli({"render", Path("g.jww"), Path("plain.svg")}).exitCode, 0);
    ASSERT_EQ(RunCli({"object", "pack", Path("g.jww"), Path("o.bin")}).exitCode, 0);
    const test::Bytes object = test::ReadFileBytes(Path("o.bin"));
    {
        std::FILE* f = std::fopen(Path("cut.bin").c_str(), "wb");
        std::fwrite(object.data(), 1, object.size() / 2, f);
        std::fclose(f);
    }
    struct Case {
        std::string in;
        std::string message;
    };
    const Case cases[] = {
        {Path("plain.png"), "この画像には図面のデータが含まれていません。"},
        {Path("plain.svg"), "この画像には図面のデータが含まれていません。"},
        {Path("cut.bin"), "の末尾以降にアクセスしようとしました。"},
        {Path("g.jww"), "オブジェクトのデータが正しくありません"},
        {Path("missing.bin"), "ローカル読込でエラー！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        auto r = RunCli({"object", "extract", c.in, Path("out.jww")});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(Path("out.jww")));
        r = RunCli({"object", "info", c.in});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_EQ(RunCli({"object", "pack", Path("g.jww"), Path("o.txt")}).exitCode, 2);
    EXPECT_EQ(RunCli({"object", "pack", Path("g.jww"), Path("o.bin"), "--extent", "0,10"}).exitCode, 2);
    EXPECT_EQ(RunCli({"object", "unpack", Path("o.bin")}).exitCode, 2);
    EXPECT_EQ(RunCli({"object", "pack", Path("plain.png"), Path("p.bin")}).exitCode, 1);
}

}  // namespace
}  // namespace tolvani
