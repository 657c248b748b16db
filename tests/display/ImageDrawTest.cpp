// Drawing into images: in bands on several threads, several draws of one
// drawing at once, cancelling. Every way gives the one-thread picture and
// leaves the drawing as it was.
#include <gtest/gtest.h>

#include <QImage>
#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "display/qt/ImageDraw.h"
#include "model/DrawingGenerator.h"
#include "model/JwwFile.h"
#include "tests/display/DisplayTestSupport.h"
#include "tests/display/GuiApp.h"
#include "tests/support/TestSupport.h"

namespace tolvani::display {
namespace {

class ImageDraw : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::EnsureGuiApp(); }
};

// One view of a drawing: the whole paper of an image of w × h pixels,
// zoomed in by `zoom` about the centre.
struct View {
    int width, height;
    double zoom;
};

QImage Draw(const CJwwDoc& doc, const View& view, const DrawControl& control, DrawReport* report = nullptr) {
    QImage image(view.width, view.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    ViewValues values;
    values.clientSize = {view.width, view.height};
    values.extent = {static_cast<int32_t>(view.width * 2540 / 96), static_cast<int32_t>(view.height * 2540 / 96)};
    values.clientHimetric = values.extent;
    CJwwScreen screen;
    FitPaper(doc, screen, values);
    if (view.zoom != 1) screen.ZoomBy(1 / view.zoom);
    DrawControl c = control;
    c.dpiX = c.dpiY = 96;
    const DrawReport r = DrawDrawingToImage(image, doc, screen, values, c);
    if (report) *report = r;
    return image;
}

DrawControl Threads(int n) {
    DrawControl c;
    c.threads = n;
    return c;
}

TEST_F(ImageDraw, SeveralThreadsDrawOneDrawingAtOnceAsOneThreadDoes) {
    CJwwDoc doc;
    GenerateDrawing(doc, {6000, 3, 20});
    const test::Bytes before = test::SaveToBytes(doc);
    // Sizes no other test draws at, so that the threads meet empty font and
    // glyph caches.
    const View views[] = {{613, 431, 1}, {613, 431, 6}, {517, 389, 2}, {517, 389, 1}};
    std::vector<QImage> pictures(std::size(views));
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < std::size(views); ++i)
        threads.emplace_back([&, i] { pictures[i] = Draw(doc, views[i], Threads(i % 2 ? 2 : 1)); });
    for (auto& t : threads) t.join();
    for (std::size_t i = 0; i < std::size(views); ++i) {
        const QImage alone = Draw(doc, views[i], Threads(1));
        EXPECT_TRUE(pictures[i] == alone) << i;
    }
    EXPECT_EQ(test::SaveToBytes(doc), before);
}

TEST_F(ImageDraw, ADrawingLoadsOnAWorkerWhileThisThreadDrawsAnother) {
    const std::string dir = test::MakeTempDir();
    CJwwDoc saved;
    GenerateDrawing(saved, {30000, 5, 25});
    ASSERT_TRUE(SaveDrawingFile(dir + "/other.jww", saved).ok());
    CJwwDoc shown;
    GenerateDrawing(shown, {8000, 6, 15});
    const View view{577, 401, 1.5};
    const QImage shownAlone = Draw(shown, view, Threads(1));

    LoadOutcome loaded;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        loaded = LoadDrawingFile(dir + "/other.jww");
        done = true;
    });
    // The window goes on drawing its drawing, at least twice, until the
    // worker is through.
    int draws = 0;
    while (!done || draws < 2) {
        EXPECT_TRUE(Draw(shown, view, Threads(draws % 2 ? 2 : 1)) == shownAlone) << draws;
        ++draws;
    }
    worker.join();
    ASSERT_TRUE(loaded.ok()) << loaded.message;
    EXPECT_TRUE(Draw(*loaded.doc, view, Threads(2)) == Draw(saved, view, Threads(1)));
    // Released here, on the thread that did not make it.
    loaded.doc.reset();
    std::filesystem::remove_all(dir);
}

// Views of the whole paper and zoomed in, with heights that do not split
// evenly into bands.
const View kViews[] = {{640, 451, 1}, {640, 451, 3.7}, {500, 333, 10}};

void ExpectBandsLikeOneThread(const CJwwDoc& doc, const std::string& name) {
    for (const View& view : kViews) {
        DrawReport one;
        const QImage alone = Draw(doc, view, Threads(1), &one);
        for (const int bands : {2, 7}) {
            DrawReport banded;
            const QImage picture = Draw(doc, view, Threads(bands), &banded);
            EXPECT_TRUE(picture == alone) << name << ", zoom " << view.zoom << ", " << bands << " bands";
            EXPECT_EQ(banded.missingDefinitions, one.missingDefinitions) << name;
            EXPECT_EQ(banded.budgetExhausted, one.budgetExhausted) << name;
            EXPECT_FALSE(banded.cancelled);
        }
    }
}

TEST_F(ImageDraw, BandsOfGeneratedDrawingsGiveTheOneThreadPicture) {
    for (const uint64_t seed : {1, 2}) {
        CJwwDoc doc;
        GenerateDrawing(doc, {20000, seed, 30});
        ExpectBandsLikeOneThread(doc, "generated " + std::to_string(seed));
    }
}

TEST_F(ImageDraw, BandsOfTheSamplesGiveTheOneThreadPicture) {
    const auto paths = test::SamplePaths();
    if (paths.empty()) GTEST_SKIP() << "no sample drawings";
    for (const auto& path : paths) {
        CJwwDoc doc;
        ASSERT_EQ(LoadJwwFile(path, doc), CJwwDoc::LoadResult::Loaded) << path;
        ExpectBandsLikeOneThread(doc, path);
    }
}

TEST_F(ImageDraw, ASetCancelFlagStopsEveryBandAndTheReportSaysSo) {
    CJwwDoc doc;
    GenerateDrawing(doc, {5000, 4, 10});
    const std::atomic<bool> cancel{true};
    for (const int bands : {1, 3}) {
        DrawControl c = Threads(bands);
        c.cancel = &cancel;
        DrawReport report;
        const QImage picture = Draw(doc, kViews[0], c, &report);
        EXPECT_TRUE(report.cancelled) << bands;
        QImage white(picture.size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        EXPECT_TRUE(picture == white) << bands;
    }
}

}  // namespace
}  // namespace tolvani::display
