// tolvani-cli thumbnail as a file manager runs it: no display, a size, and
// nothing written for a drawing it cannot read.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "model/JwwFile.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::RunCli;
namespace fs = std::filesystem;

class ThumbnailCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::MakeTempDir();
        // As in a file manager's sandbox: no display and no platform named.
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
            if (const char* v = std::getenv(name)) saved_.emplace_back(name, v);
            ::unsetenv(name);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) ::setenv(name.c_str(), value.c_str(), 1);
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string dir_;
    std::vector<std::pair<std::string, std::string>> saved_;
};

int InkPixels(const QImage& image) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ink += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    return ink;
}

TEST_F(ThumbnailCli, ThePaperComesOutWithItsLongSideAtTheSize) {
    ASSERT_EQ(RunCli({"gen", Path("g.jww"), "--elements", "400", "--seed", "5"}).exitCode, 0);
    // The generated drawing is on A1 (841 × 594 mm).
    const struct {
        const char* size;
        int width, height;
    } cases[] = {{"256", 256, 181}, {"128", 128, 90}, {"1", 1, 1}};
    for (const auto& c : cases) {
        const auto r = RunCli({"thumbnail", Path("g.jww"), Path("t.png"), c.size});
        ASSERT_EQ(r.exitCode, 0) << c.size << ": " << r.err;
        EXPECT_TRUE(r.out.empty());
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString(Path("t.png")), "PNG")) << c.size;
        EXPECT_EQ(image.width(), c.width) << c.size;
        EXPECT_EQ(image.height(), c.height) << c.size;
        if (c.width > 100) {
            EXPECT_GT(InkPixels(image), 100) << c.size;
        }
    }
    // Variables that are there but empty count as none.
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) ::setenv(name, "", 1);
    const auto r = RunCli({"thumbnail", Path("g.jww"), Path("e.png"), "64"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) ::unsetenv(name);
    EXPECT_EQ(Files(), (std::vector<std::string>{"e.png", "g.jww", "t.png"}));
}

TEST_F(ThumbnailCli, SampleDrawingsGiveAPictureWithInk) {
    const auto samples = test::SamplePaths();
    if (samples.empty()) GTEST_SKIP() << "no sample drawings";
    for (const auto& sample : samples) {
        const auto r = RunCli({"thumbnail", sample, Path("s.png"), "128"});
        ASSERT_EQ(r.exitCode, 0) << sample << ": " << r.err;
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString(Path("s.png")), "PNG")) << sample;
        EXPECT_EQ(std::max(image.width(), image.height()), 128) << sample;
        EXPECT_GT(InkPixels(image), 0) << sample;
    }
}

TEST_F(ThumbnailCli, ADamagedDrawingExitsOneAndWritesNothing) {
    test::Bytes cut = test::NewDrawingHeaderBytes();
    cut.resize(cut.size() - 10);
    WriteFileAtomically(Path("cut.jww"), [&](std::FILE* f) { std::fwrite(cut.data(), 1, cut.size(), f); });
    WriteFileAtomically(Path("text.jww"), [](std::FILE* f) { std::fputs("not a drawing\n", f); });
    for (const char* name : {"cut.jww", "text.jww", "none.jww"}) {
        const auto r = RunCli({"thumbnail", Path(name), Path("t.png"), "256"});
        EXPECT_EQ(r.exitCode, 1) << name;
        EXPECT_FALSE(r.err.empty()) << name;
    }
    EXPECT_EQ(Files(), (std::vector<std::string>{"cut.jww", "text.jww"}));
}

TEST_F(ThumbnailCli, BadSizesAndMissingArgumentsAreUsageErrors) {
    ASSERT_EQ(RunCli({"gen", Path("g.jww"), "--elements", "5"}).exitCode, 0);
    const std::vector<std::vector<std::string>> cases = {
        {"thumbnail", Path("g.jww"), Path("t.png")},
        {"thumbnail", Path("g.jww"), Path("t.png"), "0"},
        {"thumbnail", Path("g.jww"), Path("t.png"), "-5"},
        {"thumbnail", Path("g.jww"), Path("t.png"), "12px"},
        {"thumbnail", Path("g.jww"), Path("t.png"), "99999"},
        {"thumbnail", Path("g.jww"), Path("t.png"), "256", "extra"},
    };
    for (const auto& args : cases) EXPECT_EQ(RunCli(args).exitCode, 2) << args.size();
    EXPECT_EQ(Files(), (std::vector<std::string>{"g.jww"}));
}

}  // namespace
}  // namespace tolvani
