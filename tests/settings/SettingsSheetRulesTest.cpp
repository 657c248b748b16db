#include <gtest/gtest.h>

#include "settings/SettingsSheetRules.h"

namespace tolvani::settings {
namespace {

CJwwHeader NewHeader() {
    CJwwHeader h;
    h.SetNewDrawingDefaults();
    return h;
}

TEST(SettingsSheetRules, ComponentsAndTexts) {
    const struct {
        long r, g, b;
        uint32_t color;
    } cases[] = {
        {255, 0, 0, 0x0000FF},        {0, 255, 0, 0x00FF00},        {0, 0, 255, 0xFF0000},
        {0x12, 0x34, 0x56, 0x563412}, {256 + 7, -1, 511, 0xFFFF07},  // each kept to its low 8 bits
    };
    for (const auto& c : cases) EXPECT_EQ(SettingsSheetRules::Compose(c.r, c.g, c.b), c.color);
    EXPECT_EQ(SettingsSheetRules::Red(0xFF563412), 0x12);
    EXPECT_EQ(SettingsSheetRules::Green(0xFF563412), 0x34);
    EXPECT_EQ(SettingsSheetRules::Blue(0xFF563412), 0x56);
    EXPECT_EQ(SettingsSheetRules::Number(255), "255");
    EXPECT_EQ(SettingsSheetRules::Size(2.5), "  2.5");
    EXPECT_EQ(SettingsSheetRules::Size(10), " 10.0");
    EXPECT_EQ(SettingsSheetRules::Size(1234.56), "1234.6");
}

TEST(SettingsSheetRules, DotSizeStepsStayInsideTheRange) {
    const struct {
        int position, step, result;
    } cases[] = {
        {16, 1, 17}, {16, -1, 15}, {2, -1, 2}, {3, -1, 2}, {50, 1, 50}, {49, 1, 50}, {100, -1, 50}, {-7, 1, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(SettingsSheetRules::StepDotSize(c.position, c.step), c.result);
    EXPECT_EQ(SettingsSheetRules::ShownDotSize(0), 2);
    EXPECT_EQ(SettingsSheetRules::ShownDotSize(16), 16);
    EXPECT_EQ(SettingsSheetRules::ShownDotSize(99), 50);
}

TEST(SettingsSheetRules, ChosenRedForColourThreeIsStoredOnOkOnly) {
    CJwwHeader h = NewHeader();
    const CJwwHeader before = h;
    SettingsSheetRules r;
    r.CopyIn(h, 0, 16);
    EXPECT_EQ(r.color[3], 0x00C000u);
    r.ChooseColor(3, 0xFF0000FFu);  // pure red, with bits above the colour
    EXPECT_EQ(SettingsSheetRules::Red(r.color[3]), 255);
    EXPECT_EQ(SettingsSheetRules::Green(r.color[3]), 0);
    EXPECT_EQ(SettingsSheetRules::Blue(r.color[3]), 0);
    // Cancel: nothing was written.
    EXPECT_EQ(h.color[3], before.color[3]);

    int zoomUp = 0, dotSize = 16;
    const auto changes = r.CopyOut(h, zoomUp, dotSize);
    EXPECT_TRUE(changes.drawing);
    EXPECT_FALSE(changes.settings);
    EXPECT_EQ(h.color[3], 0x0000FFu);
    for (int n = 0; n < kColorEntries; ++n) {
        if (n != 3) {
            EXPECT_EQ(h.color[n], before.color[n]) << n;
        }
    }
}

TEST(SettingsSheetRules, UnchangedValuesAreWrittenBackAsTheyWere) {
    CJwwHeader h = NewHeader();
    h.color[5] = 0xAB123456;  // bits above the colour, as read from a file
    h.colorWidth[2] = 7;
    h.textColor[4] = 300;
    SettingsSheetRules r;
    r.CopyIn(h, 1, 120);  // a DotSize outside 2..50, as read from the settings
    int zoomUp = 1, dotSize = 120;
    const auto changes = r.CopyOut(h, zoomUp, dotSize);
    EXPECT_FALSE(changes.drawing);
    EXPECT_FALSE(changes.settings);
    EXPECT_EQ(h.color[5], 0xAB123456u);
    EXPECT_EQ(h.colorWidth[2], 7u);
    EXPECT_EQ(h.textColor[4], 300u);
    EXPECT_EQ(dotSize, 120);
}

TEST(SettingsSheetRules, SettingsAndTextColoursGoBackOnOk) {
    CJwwHeader h = NewHeader();
    SettingsSheetRules r;
    r.CopyIn(h, 0, 16);
    EXPECT_DOUBLE_EQ(r.textWidth[3], 3.0);
    EXPECT_DOUBLE_EQ(r.textSpacing[3], 0.5);
    EXPECT_EQ(r.textColor[3], 2u);
    r.zoomUp = 1;
    r.dotSize = SettingsSheetRules::StepDotSize(r.dotSize, 1);
    const struct {
        const char* typed;
        bool taken;
        uint32_t value;
    } typed[] = {
        {"7", true, 7},     {"356", true, 356}, {"357", false, 356},   {"", false, 356},
        {"-1", false, 356}, {"3a", false, 356}, {"00009", false, 356}, {"0", true, 0},
    };
    for (const auto& t : typed) {
        EXPECT_EQ(r.SetTextColor(3, t.typed), t.taken) << t.typed;
        EXPECT_EQ(r.textColor[3], t.value) << t.typed;
    }
    EXPECT_FALSE(r.SetTextColor(0, "1"));
    EXPECT_FALSE(r.SetTextColor(11, "1"));
    r.SetTextColor(3, "6");
    uint32_t screen = 0;
    r.ChooseColor(6, 0x123456);
    ASSERT_TRUE(r.ScreenColor(r.textColor[3], screen));
    EXPECT_EQ(screen, 0x123456u);  // the sheet's own colour 6
    ASSERT_TRUE(r.ScreenColor(100, screen));
    EXPECT_EQ(screen, h.color[100]);
    EXPECT_FALSE(r.ScreenColor(357, screen));

    int zoomUp = 0, dotSize = 16;
    const auto changes = r.CopyOut(h, zoomUp, dotSize);
    EXPECT_TRUE(changes.drawing);
    EXPECT_TRUE(changes.settings);
    EXPECT_EQ(zoomUp, 1);
    EXPECT_EQ(dotSize, 17);
    EXPECT_EQ(h.textColor[3], 6u);
    EXPECT_DOUBLE_EQ(h.textWidth[3], 3.0);
}

}  // namespace
}  // namespace tolvani::settings
