// The view's picture on a high-density screen: at a pixel ratio of 2 it has
// twice the pixels each way, shows the same part of the drawing, and is
// exactly the picture of a screen with twice the resolution.
#include <gtest/gtest.h>

#include <cmath>

#include "display/ViewDocument.h"
#include "display/ui/ViewPicture.h"
#include "model/DrawingGenerator.h"
#include "tests/display/GuiApp.h"

namespace tolvani::display {
namespace {

ViewPictureJob Job(std::shared_ptr<const CJwwDoc> drawing, QSize size, double dpi, double ratio) {
    ViewPictureJob job;
    job.drawing = std::move(drawing);
    job.size = size;
    job.dpiX = job.dpiY = dpi;
    job.pixelRatio = ratio;
    job.values.clientSize = {size.width(), size.height()};
    job.values.extent = DeviceResolution{dpi, dpi}.ToHimetric(job.values.clientSize);
    job.values.clientHimetric = job.values.extent;
    FitPaper(*job.drawing, job.screen, job.values);
    return job;
}

class ViewPicture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::EnsureGuiApp(); }
};

TEST_F(ViewPicture, APixelRatioOfTwoDrawsTheSameViewAtTwiceThePixels) {
    auto doc = std::make_shared<CJwwDoc>();
    GenerateDrawing(*doc, {3000, 11, 10});
    const QSize size(400, 283);

    ViewPictureJob dense = Job(doc, size, 96, 2);
    const display::ViewPicture picture = DrawViewPicture(dense, nullptr);
    EXPECT_EQ(picture.image.size(), size * 2);
    EXPECT_EQ(picture.image.devicePixelRatio(), 2.0);
    EXPECT_EQ(picture.image.deviceIndependentSize().toSize(), size);

    // The same part of the drawing as a screen of 192 dpi and twice the
    // device units shows.
    ViewPictureJob twice = Job(doc, size * 2, 192, 1);
    QImage expected = DrawViewPicture(twice, nullptr).image;
    QImage got = picture.image;
    got.setDevicePixelRatio(1);
    EXPECT_TRUE(got == expected);

    // And not merely the ratio-1 picture scaled up: a thin line is one
    // screen pixel wide, so the dense picture differs from a doubled one.
    ViewPictureJob plain = Job(doc, size, 96, 1);
    const QImage doubled = DrawViewPicture(plain, nullptr).image.scaled(size * 2);
    EXPECT_FALSE(got == doubled);
}

TEST_F(ViewPicture, UnusablePixelRatiosDrawAtOne) {
    auto doc = std::make_shared<CJwwDoc>();
    GenerateDrawing(*doc, {200, 12, 2});
    for (const double ratio : {0.0, -1.0, 0.5, 1e9, std::nan("")}) {
        ViewPictureJob job = Job(doc, QSize(120, 80), 96, ratio);
        const display::ViewPicture picture = DrawViewPicture(job, nullptr);
        EXPECT_EQ(picture.image.size(), QSize(120, 80)) << ratio;
        EXPECT_EQ(picture.image.devicePixelRatio(), 1.0) << ratio;
    }
}

}  // namespace
}  // namespace tolvani::display
