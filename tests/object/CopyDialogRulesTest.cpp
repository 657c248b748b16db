// The object copy dialog's texts and its scale rule.
#include <gtest/gtest.h>

#include "object/CopyDialogRules.h"

namespace tolvani::object {
namespace {

struct View {
    View() {
        // 800 × 600 pixels at 96 dpi, showing 423.3 mm of the drawing.
        values.clientSize = {800, 600};
        values.clientHimetric = {21167, 15875};
        values.extent = values.clientHimetric;
        screen.viewWidth = 423.3;
        screen.viewHeight = 423.3 * 15875 / 21167;
        screen.centerX = 10;
        screen.centerY = -5;
        screen.deviceWidth = 800;
        screen.deviceHeight = 600;
        screen.UpdateVisibleRect();
        screen.UpdateScales();
    }
    display::CJwwScreen screen;
    display::ViewValues values;
};

TEST(CopyDialogRules, TextsInTheirFormats) {
    View v;
    CopyDialogRules rules(v.screen, v.values, true, false);
    EXPECT_EQ(rules.PasteSizeText(), "  211.7mm× 158.8mm");
    EXPECT_EQ(rules.DrawingSizeText(), "  423.3mm× 317.5mm");
    EXPECT_EQ(rules.ScaleText(), "    0.50");
    EXPECT_TRUE(rules.objEdit());
    EXPECT_FALSE(rules.objOutp());
}

TEST(CopyDialogRules, ScaleOneShowsTheDrawingAtPasteSize) {
    View v;
    CopyDialogRules rules(v.screen, v.values, false, false);
    ASSERT_TRUE(rules.ApplyScale("1"));
    EXPECT_DOUBLE_EQ(v.screen.viewWidth, 211.67);
    EXPECT_DOUBLE_EQ(v.screen.viewHeight, 158.75);
    EXPECT_EQ(v.screen.centerX, 10);  // about the unchanged centre
    EXPECT_EQ(v.screen.centerY, -5);
    EXPECT_EQ(rules.DrawingSizeText(), rules.PasteSizeText());
    EXPECT_EQ(rules.ScaleText(), "    1.00");
    ASSERT_TRUE(rules.ApplyScale("  0.5mm"));  // the number at the start counts
    EXPECT_DOUBLE_EQ(v.screen.viewWidth, 423.34);
}

TEST(CopyDialogRules, TextsThatGiveNoUsableScaleChangeNothing) {
    for (const std::string text : {"abc", "0", "", "-1", "-0.5", "inf", "nan", "1e400"}) {
        SCOPED_TRACE(text);
        View v;
        CopyDialogRules rules(v.screen, v.values, false, false);
        const double w = v.screen.viewWidth, h = v.screen.viewHeight;
        EXPECT_FALSE(rules.ApplyScale(text));
        EXPECT_EQ(v.screen.viewWidth, w);
        EXPECT_EQ(v.screen.viewHeight, h);
    }
}

}  // namespace
}  // namespace tolvani::object
