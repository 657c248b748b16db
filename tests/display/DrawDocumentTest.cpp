#include <gtest/gtest.h>

#include <cmath>

#include "display/DrawDocument.h"
#include "display/RecordingCanvas.h"
#include "tests/display/DisplayTestSupport.h"

namespace tolvani::display {
namespace {

using test::NewDoc;

TEST(DrawDrawing, SetsUpTheContextFromTheExtentAndTheViewWidth) {
    auto doc = NewDoc();
    RecordingCanvas canvas(96);
    CJwwScreen screen;
    screen.viewWidth = 400;
    screen.viewHeight = 999;  // not used: the extent decides the height
    screen.centerX = 10;
    screen.centerY = -5;
    ViewValues v;
    v.extent = {21167 * 2, 21167};  // 1600 × 800 device units at 96 dpi
    v.dotSize = 16;
    DrawDrawing(canvas, *doc, screen, v);
    EXPECT_DOUBLE_EQ(screen.viewHeight, 200);
    EXPECT_EQ(screen.deviceWidth, 1600);
    EXPECT_EQ(screen.deviceHeight, 800);
    EXPECT_DOUBLE_EQ(screen.scaleX, 4);
    EXPECT_DOUBLE_EQ(screen.scaleY, 4);
    EXPECT_DOUBLE_EQ(screen.left, 10 - 200);
    EXPECT_DOUBLE_EQ(screen.top, -5 + 100);
    EXPECT_EQ(screen.dotRadius, 6);  // trunc(16 × 4 × 0.1)
}

TEST(DrawDrawing, DotRadiusFollowsDotSizeAndScale) {
    // DotSize 16 at Sx = 2.5 gives 4.
    auto doc = NewDoc();
    RecordingCanvas canvas(2540);  // one device unit per HIMETRIC unit
    CJwwScreen screen;
    screen.viewWidth = 400;
    ViewValues v;
    v.extent = {1000, 500};
    v.dotSize = 16;
    DrawDrawing(canvas, *doc, screen, v);
    EXPECT_DOUBLE_EQ(screen.scaleX, 2.5);
    EXPECT_EQ(screen.dotRadius, 4);
}

TEST(DrawDrawing, AnEmptyExtentOrViewDrawsNothingAndStaysFinite) {
    auto doc = NewDoc();
    auto line = std::make_unique<CDataSen>();
    line->lineType = 1;
    line->end = {10, 10};
    doc->AddElement(std::move(line));
    for (DeviceSize ext : {DeviceSize{0, 0}, DeviceSize{1000, 0}, DeviceSize{0, 1000}, DeviceSize{-5, 100}}) {
        RecordingCanvas canvas;
        CJwwScreen screen;
        screen.viewWidth = 400;
        ViewValues v;
        v.extent = ext;
        DrawDrawing(canvas, *doc, screen, v);
        EXPECT_TRUE(canvas.calls.empty());
        EXPECT_TRUE(std::isfinite(screen.scaleX) && std::isfinite(screen.viewHeight));
    }
    RecordingCanvas canvas;
    CJwwScreen zero;  // never fitted: W = 0
    ViewValues v;
    v.extent = {1000, 1000};
    DrawDrawing(canvas, *doc, zero, v);
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_TRUE(std::isfinite(zero.scaleX));
}

TEST(FitPaper, FitsThePaperWithMarginsOnOneAxis) {
    struct Case {
        int paper;
        DeviceSize extent;
        double w, h;
    };
    const Case cases[] = {
        {4, {1000, 500}, 420, 210},   // 297 × 210 into 2:1: widened
        {3, {1000, 1000}, 420, 420},  // 420 × 297 into a square: heightened
        {0, {1189, 841}, 1189, 841},  // exact proportions
        {99, {420, 297}, 420, 297},   // unknown paper: shown as 420 × 297
        {-1, {840, 297}, 840, 297},
    };
    for (const auto& c : cases) {
        auto doc = NewDoc();
        doc->shownPaperSize = c.paper;
        CJwwScreen s;
        s.centerX = 50;
        ViewValues v;
        v.extent = c.extent;
        v.clientSize = {800, 400};
        EXPECT_TRUE(FitPaper(*doc, s, v));
        EXPECT_NEAR(s.viewWidth, c.w, 1e-9) << c.paper;
        EXPECT_NEAR(s.viewHeight, c.h, 1e-9) << c.paper;
        EXPECT_EQ(s.centerX, 0);
        EXPECT_EQ(s.centerY, 0);
        EXPECT_DOUBLE_EQ(s.left, -c.w / 2);
        EXPECT_DOUBLE_EQ(s.top, c.h / 2);
        EXPECT_DOUBLE_EQ(s.scaleX, 800 / c.w);
    }
}

TEST(FitPaper, AnEmptyExtentChangesNothing) {
    auto doc = NewDoc();
    CJwwScreen s;
    s.viewWidth = 123;
    ViewValues v;  // extent 0 × 0
    FitPaper(*doc, s, v);
    EXPECT_EQ(s.viewWidth, 123);
    EXPECT_TRUE(std::isfinite(s.viewHeight));
}

TEST(SetViewScale, ShowsClientMillimetresDividedByTheScale) {
    CJwwScreen s;
    s.centerX = 7;
    s.deviceWidth = 800;
    s.deviceHeight = 600;
    ViewValues v;
    v.clientHimetric = {21167, 15875};  // an 800 × 600 window at 96 dpi
    EXPECT_TRUE(SetViewScale(s, v, 1));
    EXPECT_DOUBLE_EQ(s.viewWidth, 211.67);
    EXPECT_DOUBLE_EQ(s.viewHeight, 158.75);
    EXPECT_DOUBLE_EQ(s.centerX, 7);
    EXPECT_DOUBLE_EQ(s.left, 7 - 211.67 / 2);
    EXPECT_DOUBLE_EQ(s.scaleX, 800 / 211.67);
    EXPECT_TRUE(SetViewScale(s, v, 100));
    EXPECT_DOUBLE_EQ(s.viewWidth, 2.1167);

    const CJwwScreen before = s;
    EXPECT_FALSE(SetViewScale(s, v, 0));  // nothing happens, not even a redraw
    EXPECT_EQ(s.viewWidth, before.viewWidth);
    ViewValues none;
    EXPECT_TRUE(SetViewScale(s, none, 1));  // zero client area: view unchanged
    EXPECT_EQ(s.viewWidth, before.viewWidth);
}

TEST(SetClientSize, RecordsTheClientAndItsSizeInHimetric) {
    RecordingCanvas canvas(96);
    ViewValues v;
    SetClientSize(canvas, v, 800, 600);
    EXPECT_EQ(v.clientSize.width, 800);
    EXPECT_EQ(v.extent.width, 21167);
    EXPECT_EQ(v.extent.height, 15875);
}

TEST(PaperSize, TableAndFallback) {
    double w, h;
    PaperSize(14, w, h);
    EXPECT_EQ(w, 100000);
    EXPECT_EQ(h, 70700);
    PaperSize(15, w, h);
    EXPECT_EQ(w, 420);
    EXPECT_EQ(h, 297);
}

}  // namespace
}  // namespace tolvani::display
