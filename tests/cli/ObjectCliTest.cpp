// tolvani-cli object: packing a drawing into each form, reading it back,
// and refusing what carries no drawing.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <filesystem>

#include "model/JwwFile.h"
#include "tests/cli/CliRunner.h"
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

#include <gsf/gsf-outfile-zip.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

namespace tolvani {
namespace {

// A zip package with entries of the given names and contents.
void WriteZip(const std::string& path, const std::vector<std::pair<std::string, test::Bytes>>& entries) {
    gsf_init();
    GsfOutput* file = gsf_output_stdio_new(path.c_str(), nullptr);
    GsfOutfile* zip = gsf_outfile_zip_new(file, nullptr);
    for (const auto& [name, bytes] : entries) {
        // Folders are made one level at a time.
        std::vector<GsfOutput*> dirs;
        GsfOutfile* parent = zip;
        std::string rest = name;
        for (auto slash = rest.find('/'); slash != std::string::npos; slash = rest.find('/')) {
            GsfOutput* d = gsf_outfile_new_child(parent, rest.substr(0, slash).c_str(), TRUE);
            dirs.push_back(d);
            parent = GSF_OUTFILE(d);
            rest = rest.substr(slash + 1);
        }
        GsfOutput* e = gsf_outfile_new_child(parent, rest.c_str(), FALSE);
        gsf_output_write(e, bytes.size(), bytes.data());
        gsf_output_close(e);
        g_object_unref(e);
        for (auto it = dirs.rbegin(); it != dirs.rend(); ++it) {
            gsf_output_close(*it);
            g_object_unref(*it);
        }
    }
    gsf_output_close(GSF_OUTPUT(zip));
    g_object_unref(zip);
    g_object_unref(file);
}

TEST_F(ObjectCli, DrawingsComeOutOfOfficeDocuments) {
    ASSERT_EQ(RunCli({"gen", Path("a.jww"), "--elements", "40", "--seed", "1"}).exitCode, 0);
    ASSERT_EQ(RunCli({"gen", Path("b.jww"), "--elements", "70", "--seed", "2"}).exitCode, 0);
    ASSERT_EQ(RunCli({"object", "pack", Path("a.jww"), Path("a.ole"), "--extent", "21167,15875"}).exitCode, 0);
    ASSERT_EQ(RunCli({"object", "pack", Path("b.jww"), Path("b.png")}).exitCode, 0);
    ASSERT_EQ(RunCli({"render", Path("b.jww"), Path("plain.png")}).exitCode, 0);
    WriteZip(Path("book.xlsx"), {{"[Content_Types].xml", test::Bytes{'<', '/', '>'}},
                                 {"xl/embeddings/oleObject1.bin", test::ReadFileBytes(Path("a.ole"))},
                                 {"xl/media/image1.png", test::ReadFileBytes(Path("plain.png"))},
                                 {"xl/media/image2.png", test::ReadFileBytes(Path("b.png"))}});
    auto r = RunCli({"object", "list", Path("book.xlsx")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "#1\tole\t21167 × 15875 (0.01 mm)\txl/embeddings/oleObject1.bin\n"
              "#2\tpng\t84100 × 59400 (0.01 mm)\txl/media/image2.png\n");

    for (const auto& [n, drawing] : {std::pair<std::string, std::string>{"1", "a.jww"}, {"2", "b.jww"}}) {
        ASSERT_EQ(RunCli({"resave", Path(drawing), Path("expected.jww")}).exitCode, 0);
        r = RunCli({"object", "extract", Path("book.xlsx") + "#" + n, Path("out.jww")});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(test::ReadFileBytes(Path("out.jww")), test::ReadFileBytes(Path("expected.jww")));
    }
    r = RunCli({"object", "extract", Path("book.xlsx") + "#3", Path("none.jww")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("図面のオブジェクトが 2 個しかありません"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(Path("none.jww")));
    r = RunCli({"object", "extract", Path("book.xlsx"), Path("none.jww")});
    EXPECT_EQ(r.exitCode, 1);
    r = RunCli({"object", "list", Path("a.jww")});
    EXPECT_EQ(r.exitCode, 1);
}

// Where each kind of office document keeps its objects and pictures.
TEST_F(ObjectCli, EveryKindOfOfficeDocumentGivesItsDrawings) {
    ASSERT_EQ(RunCli({"gen", Path("a.jww"), "--elements", "30", "--seed", "4"}).exitCode, 0);
    ASSERT_EQ(RunCli({"object", "pack", Path("a.jww"), Path("a.ole"), "--extent", "20000,10000"}).exitCode, 0);
    ASSERT_EQ(RunCli({"object", "pack", Path("a.jww"), Path("a.svg"), "--extent", "20000,10000"}).exitCode, 0);
    ASSERT_EQ(RunCli({"resave", Path("a.jww"), Path("expected.jww")}).exitCode, 0);
    const test::Bytes ole = test::ReadFileBytes(Path("a.ole")), svg = test::ReadFileBytes(Path("a.svg"));
    const struct {
        const char* name;
        const char* objectEntry;
        const char* pictureEntry;
    } documents[] = {
        {"letter.docx", "word/embeddings/oleObject1.bin", "word/media/image1.svg"},
        {"slides.pptx", "ppt/embeddings/oleObject2.bin", "ppt/media/image3.svg"},
        {"sheet.ods", "Object 1", "Pictures/1000000000000.svg"},
        {"text.odt", "Object 2", "ObjectReplacements/Object 2.svg"},
    };
    for (const auto& d : documents) {
        SCOPED_TRACE(d.name);
        WriteZip(Path(d.name), {{"mimetype", test::Bytes{'x'}}, {d.objectEntry, ole}, {d.pictureEntry, svg}});
        auto r = RunCli({"object", "list", Path(d.name)});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.out.find(std::string("#1\tole\t20000 × 10000 (0.01 mm)\t") + d.objectEntry), std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find(std::string("#2\tsvg\t20000 × 10000 (0.01 mm)\t") + d.pictureEntry), std::string::npos)
            << r.out;
        for (const char* n : {"#1", "#2"}) {
            std::filesystem::remove(Path("out.jww"));
            r = RunCli({"object", "extract", Path(d.name) + n, Path("out.jww")});
            ASSERT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(test::ReadFileBytes(Path("out.jww")), test::ReadFileBytes(Path("expected.jww")));
        }
    }
}

}  // namespace
}  // namespace tolvani
