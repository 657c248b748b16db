// Drawing into images: several draws of one drawing at once on different
// threads give each the one-thread picture and leave the drawing as it was.
#include <gtest/gtest.h>

#include <QImage>
#include <thread>
#include <vector>

#include "app/gen/DrawingGenerator.h"
#include "display/qt/ImageDraw.h"
#include "tests/display/DisplayTestSupport.h"
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
        threads.emplace_back([&, i] { pictures[i] = Draw(doc, views[i], {}); });
    for (auto& t : threads) t.join();
    for (std::size_t i = 0; i < std::size(views); ++i) {
        const QImage alone = Draw(doc, views[i], {});
        EXPECT_TRUE(pictures[i] == alone) << i;
    }
    EXPECT_EQ(test::SaveToBytes(doc), before);
}

}  // namespace
}  // namespace tolvani::display
