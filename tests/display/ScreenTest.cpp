#include <gtest/gtest.h>

#include <cmath>

#include "display/CJwwScreen.h"

namespace tolvani::display {
namespace {

// A 400 × 200 mm view on an 800 × 400 device, centred on (cx, cy).
CJwwScreen View(double w, double h, double cx = 0, double cy = 0) {
    CJwwScreen s;
    s.viewWidth = w;
    s.viewHeight = h;
    s.centerX = cx;
    s.centerY = cy;
    s.deviceWidth = 800;
    s.deviceHeight = 400;
    s.UpdateVisibleRect();
    s.UpdateScales();
    return s;
}

void ExpectInvariants(const CJwwScreen& s) {
    EXPECT_DOUBLE_EQ(s.left, s.centerX - s.viewWidth / 2);
    EXPECT_DOUBLE_EQ(s.right, s.left + s.viewWidth);
    EXPECT_DOUBLE_EQ(s.bottom, s.centerY - s.viewHeight / 2);
    EXPECT_DOUBLE_EQ(s.top, s.bottom + s.viewHeight);
}

void ExpectFinite(const CJwwScreen& s) {
    for (double v :
         {s.viewWidth, s.viewHeight, s.centerX, s.centerY, s.scaleX, s.scaleY, s.left, s.right, s.top, s.bottom})
        EXPECT_TRUE(std::isfinite(v));
}

TEST(ScreenTransform, ToDeviceRoundsByAddingAHalfAndTruncatingTowardZero) {
    const CJwwScreen s = View(400, 200);  // Sx = Sy = 2
    ASSERT_DOUBLE_EQ(s.scaleX, 2);
    struct Case {
        double x, y;
        int X, Y;
    };
    const Case cases[] = {
        {s.left, s.top, 0, 0},
        {s.left + 0.25, s.top, 1, 0},       // 0.5 + 0.5 truncated
        {s.left + 0.2, s.top - 0.2, 0, 0},  // 0.4 + 0.5 truncated
        {s.left - 0.3, s.top + 0.3, 0, 0},  // −0.6 + 0.5 = −0.1 goes toward zero
        {s.left - 0.8, s.top, -1, 0},       // −1.6 + 0.5 = −1.1
        {0, 0, 400, 200},
        {s.right, s.bottom, 800, 400},
    };
    for (const auto& c : cases) {
        const DevicePoint p = s.ToDevice(c.x, c.y);
        EXPECT_EQ(p.x, c.X) << c.x;
        EXPECT_EQ(p.y, c.Y) << c.y;
    }
}

TEST(ScreenTransform, ToDrawingInvertsTheMapping) {
    const CJwwScreen s = View(400, 200, 30, -20);
    const JwwPoint p = s.ToDrawing(100, 50);
    EXPECT_DOUBLE_EQ(p.x, 100 / 2.0 + s.left);
    EXPECT_DOUBLE_EQ(p.y, s.top - 50 / 2.0);
    const DevicePoint back = s.ToDevice(p.x, p.y);
    EXPECT_EQ(back.x, 100);
    EXPECT_EQ(back.y, 50);
}

TEST(ScreenTransform, ZoomToRectZoomsInOrOutByTheDragDirection) {
    CJwwScreen s = View(400, 200);
    s.ZoomToRect(0, 100, 200, 0);  // point 1 upper left: zoom in
    EXPECT_DOUBLE_EQ(s.viewWidth, 200);
    EXPECT_DOUBLE_EQ(s.viewHeight, 100);
    EXPECT_DOUBLE_EQ(s.centerX, 100);
    EXPECT_DOUBLE_EQ(s.centerY, 50);
    EXPECT_DOUBLE_EQ(s.scaleX, 4);
    ExpectInvariants(s);

    CJwwScreen t = View(400, 200);
    t.ZoomToRect(200, 0, 0, 100);  // zoom out: m = W/dx = 2
    EXPECT_DOUBLE_EQ(t.viewWidth, 800);
    EXPECT_DOUBLE_EQ(t.viewHeight, 400);
    EXPECT_DOUBLE_EQ(t.centerX, 100);
    EXPECT_DOUBLE_EQ(t.centerY, 50);
    EXPECT_DOUBLE_EQ(t.scaleX, 1);
    ExpectInvariants(t);
}

TEST(ScreenTransform, ZoomToRectWidensTheRectangleToTheViewProportions) {
    CJwwScreen s = View(400, 200);
    s.ZoomToRect(0, 100, 100, 0);  // square rectangle into a 2:1 view
    EXPECT_DOUBLE_EQ(s.viewWidth, 200);
    EXPECT_DOUBLE_EQ(s.viewHeight, 100);
    CJwwScreen t = View(400, 200);
    t.ZoomToRect(0, 10, 100, 0);  // flat rectangle: the width decides
    EXPECT_DOUBLE_EQ(t.viewWidth, 100);
    EXPECT_DOUBLE_EQ(t.viewHeight, 50);
}

TEST(ScreenTransform, ZoomPreviousTogglesBetweenTheLastTwoRectangles) {
    CJwwScreen s = View(400, 200);
    s.ZoomToRect(-100, 50, 100, -50);  // first: 200 × 100 at (0, 0)
    s.ZoomToRect(10, 30, 50, 10);      // second: 40 × 20 at (30, 20)
    const CJwwScreen second = s;
    s.ZoomPrevious();
    EXPECT_DOUBLE_EQ(s.viewWidth, 200);
    EXPECT_DOUBLE_EQ(s.centerX, 0);
    s.ZoomPrevious();
    EXPECT_DOUBLE_EQ(s.viewWidth, second.viewWidth);
    EXPECT_DOUBLE_EQ(s.viewHeight, second.viewHeight);
    EXPECT_DOUBLE_EQ(s.centerX, second.centerX);
    EXPECT_DOUBLE_EQ(s.centerY, second.centerY);
}

TEST(ScreenTransform, RequestsThatWouldLeaveNoViewAreIgnored) {
    CJwwScreen s = View(400, 200, 5, 6);
    const CJwwScreen before = s;
    s.ZoomPrevious();              // the previous rectangle is all zeros
    s.ZoomToRect(10, 10, 10, 10);  // a point
    s.ZoomToRect(10, 10, 50, 10);  // a line
    s.ZoomBy(0);
    s.ZoomBy(NAN);
    s.CenterOn(INFINITY, 0);
    ExpectFinite(s);
    EXPECT_DOUBLE_EQ(s.viewWidth, before.viewWidth);
    EXPECT_DOUBLE_EQ(s.viewHeight, before.viewHeight);
    EXPECT_DOUBLE_EQ(s.centerX, before.centerX);
    EXPECT_DOUBLE_EQ(s.lastZoom.right, 0);

    CJwwScreen empty;  // a new document's context: everything 0
    empty.ZoomToRect(0, 100, 200, 0);
    empty.ZoomPrevious();
    empty.ZoomBy(0.8);
    ExpectFinite(empty);
}

TEST(ScreenTransform, ZoomByPanByAndCenterOn) {
    CJwwScreen s = View(400, 200, 10, 20);
    s.ZoomBy(0.8);
    EXPECT_DOUBLE_EQ(s.viewWidth, 320);
    EXPECT_DOUBLE_EQ(s.viewHeight, 160);
    EXPECT_DOUBLE_EQ(s.centerX, 10);
    EXPECT_DOUBLE_EQ(s.scaleX, 800 / 320.0);
    ExpectInvariants(s);

    s.scaleX = 7;  // PanBy leaves the scales as they are
    s.PanBy(1, -1);
    EXPECT_DOUBLE_EQ(s.centerX, 10 + 320 / 20.0);
    EXPECT_DOUBLE_EQ(s.centerY, 20 - 160 / 20.0);
    EXPECT_DOUBLE_EQ(s.scaleX, 7);
    ExpectInvariants(s);

    s.CenterOn(-3, 4);
    EXPECT_DOUBLE_EQ(s.centerX, -3);
    EXPECT_DOUBLE_EQ(s.centerY, 4);
    EXPECT_DOUBLE_EQ(s.scaleX, 800 / 320.0);  // recomputed
    ExpectInvariants(s);
}

}  // namespace
}  // namespace tolvani::display
