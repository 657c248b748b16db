// The view's zoom drag, wheel and keys on the drawing context.
#include <gtest/gtest.h>

#include <cstring>

#include "display/ViewNavigation.h"

namespace tolvani::display {
namespace {

// A 400 × 200 mm view centred on (0, 0) on an 800 × 400 device.
CJwwScreen View() {
    CJwwScreen s;
    s.viewWidth = 400;
    s.viewHeight = 200;
    s.deviceWidth = 800;
    s.deviceHeight = 400;
    s.UpdateVisibleRect();
    s.UpdateScales();
    return s;
}

TEST(ZoomBand, TheLabelFollowsThePointersQuadrantAndTwoUnitsCountAsAClick) {
    struct Case {
        DevicePoint at;
        BandGesture gesture;
        const char* label;
    };
    const DevicePoint anchor{100, 100};
    const std::vector<Case> cases = {
        {{100, 100}, BandGesture::Center, " 移　動 "},    {{102, 98}, BandGesture::Center, " 移　動 "},
        {{103, 103}, BandGesture::ZoomIn, " 拡　大 "},    {{103, 100}, BandGesture::WholePaper, " 全　体 "},
        {{150, 20}, BandGesture::WholePaper, " 全　体 "}, {{100, 150}, BandGesture::Previous, " 前倍率 "},
        {{20, 150}, BandGesture::Previous, " 前倍率 "},   {{20, 20}, BandGesture::ZoomOut, " 縮　小 "},
        {{100, 97}, BandGesture::ZoomOut, " 縮　小 "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyBand(anchor, c.at), c.gesture) << c.at.x << "," << c.at.y;
        EXPECT_STREQ(BandLabel(ClassifyBand(anchor, c.at)), c.label);
    }
}

TEST(ZoomBand, EachOfTheFiveDragsDoesItsOperation) {
    // Device (200, 100) is drawing (-100, 50); one device unit is 0.5 mm.
    {
        CJwwScreen s = View();
        EXPECT_EQ(EndBand(s, {200, 100}, {202, 102}), BandGesture::Center);
        EXPECT_DOUBLE_EQ(s.centerX, -100);
        EXPECT_DOUBLE_EQ(s.centerY, 50);
        EXPECT_DOUBLE_EQ(s.viewWidth, 400);
    }
    {
        // Right and down by 3 units already zooms into that small rectangle.
        CJwwScreen s = View();
        EXPECT_EQ(EndBand(s, {200, 100}, {203, 103}), BandGesture::ZoomIn);
        EXPECT_DOUBLE_EQ(s.viewWidth, 3);
        EXPECT_DOUBLE_EQ(s.viewHeight, 1.5);
    }
    {
        CJwwScreen s = View();
        EXPECT_EQ(EndBand(s, {200, 100}, {400, 50}), BandGesture::WholePaper);
        EXPECT_DOUBLE_EQ(s.viewWidth, 400);  // the caller fits the paper
    }
    {
        // Left and up zooms out so the view fits into the rectangle: the
        // 400 mm view shrinks into 100 mm, so four times as much shows.
        CJwwScreen s = View();
        EXPECT_EQ(EndBand(s, {400, 200}, {200, 100}), BandGesture::ZoomOut);
        EXPECT_DOUBLE_EQ(s.viewWidth, 1600);
        EXPECT_DOUBLE_EQ(s.centerX, -50);
        EXPECT_DOUBLE_EQ(s.centerY, 25);
    }
    {
        // Two rectangle zooms, then straight down goes back to the first.
        CJwwScreen s = View();
        EndBand(s, {0, 0}, {400, 200});
        const double firstWidth = s.viewWidth, firstX = s.centerX;
        EndBand(s, {0, 0}, {400, 200});
        EXPECT_EQ(EndBand(s, {300, 100}, {300, 300}), BandGesture::Previous);
        EXPECT_DOUBLE_EQ(s.viewWidth, firstWidth);
        EXPECT_DOUBLE_EQ(s.centerX, firstX);
    }
}

TEST(ZoomBand, GoingBackBeforeTwoRectangleZoomsLeavesTheViewFinite) {
    CJwwScreen s = View();
    EXPECT_EQ(EndBand(s, {300, 100}, {300, 300}), BandGesture::Previous);
    EXPECT_DOUBLE_EQ(s.viewWidth, 400);
    EXPECT_DOUBLE_EQ(s.centerX, 0);
}

TEST(WheelAndKeys, StepsZoomAboutTheCentreAndPanByATwentieth) {
    struct Case {
        const char* what;
        bool shift, ctrl;
        int delta, zoomUp;
        double width, cx, cy;
    };
    const std::vector<Case> wheel = {
        {"away zooms in", false, false, 120, 0, 320, 0, 0},
        {"towards zooms out", false, false, -120, 0, 480, 0, 0},
        {"ZoomUp reverses", false, false, 120, 1, 480, 0, 0},
        {"ZoomUp reverses back", false, false, -120, 1, 320, 0, 0},
        {"Shift away pans up", true, false, 120, 0, 400, 0, 10},
        {"Shift towards pans down", true, false, -120, 0, 400, 0, -10},
        {"Ctrl away pans right", false, true, 120, 0, 400, 20, 0},
        {"Shift wins over Ctrl", true, true, -120, 0, 400, 0, -10},
    };
    for (const Case& c : wheel) {
        CJwwScreen s = View();
        WheelStep(s, c.shift, c.ctrl, c.delta, c.zoomUp);
        EXPECT_DOUBLE_EQ(s.viewWidth, c.width) << c.what;
        EXPECT_DOUBLE_EQ(s.centerX, c.cx) << c.what;
        EXPECT_DOUBLE_EQ(s.centerY, c.cy) << c.what;
    }
    struct KeyCase {
        NavKey key;
        double width, cx, cy;
    };
    const std::vector<KeyCase> keys = {
        {NavKey::PageUp, 480, 0, 0}, {NavKey::PageDown, 320, 0, 0}, {NavKey::Left, 400, -20, 0},
        {NavKey::Up, 400, 0, 10},    {NavKey::Right, 400, 20, 0},   {NavKey::Down, 400, 0, -10},
    };
    for (const KeyCase& c : keys) {
        CJwwScreen s = View();
        KeyStep(s, c.key);
        EXPECT_DOUBLE_EQ(s.viewWidth, c.width) << static_cast<int>(c.key);
        EXPECT_DOUBLE_EQ(s.centerX, c.cx) << static_cast<int>(c.key);
        EXPECT_DOUBLE_EQ(s.centerY, c.cy) << static_cast<int>(c.key);
        EXPECT_DOUBLE_EQ(s.left, s.centerX - s.viewWidth / 2) << static_cast<int>(c.key);
    }
}

}  // namespace
}  // namespace tolvani::display
