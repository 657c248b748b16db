// Glyph-by-glyph text layout on the recording canvas.
#include <gtest/gtest.h>

#include <cmath>

#include "display/RecordingCanvas.h"
#include "display/TextRenderer.h"
#include "tests/display/DisplayTestSupport.h"

namespace tolvani::display {
namespace {

using test::ScreenAt;

// Sx = Sy = 2; drawing (x, y) → device (2x, 2(100 − y)). Start (10, 50) is
// device (20, 100); height 5 and width 4 give Hi = 10 and Wpx = 8.
std::vector<RecordingCanvas::TextOutput> Layout(const std::string& text, double angle = 0, bool vertical = false,
                                                double height = 5, double width = 4, double spacing = 0,
                                                int style = 0) {
    RecordingCanvas canvas;
    const CJwwScreen screen = ScreenAt(0, 100, 2, 2);
    TextParams p;
    p.text = text;
    p.fontName = "F";
    p.startX = 10;
    p.startY = 50;
    p.height = height;
    p.width = width;
    p.spacing = spacing;
    p.angle = angle;
    p.vertical = vertical;
    p.style = style;
    DrawString(canvas, screen, p, nullptr);
    return canvas.Texts();
}

TEST(TextLayout, HalfWidthGlyphsAdvanceHalfAStepFromTheRaisedStart) {
    const auto t = Layout("ab");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].at, (DevicePoint{20, 90}));  // raised by the height: 10 units
    EXPECT_EQ(t[1].at, (DevicePoint{24, 90}));  // (8 + 0) / 2
    EXPECT_EQ(t[0].font.height, 10);
    EXPECT_EQ(t[0].font.faceName, "F");
    EXPECT_EQ(t[0].font.charSet, 128);
    EXPECT_EQ(t[0].bytes, "a");
}

TEST(TextLayout, FullWidthGlyphsAdvanceAWholeStepIncludingTheSpacing) {
    const auto t = Layout("\x82\xa0\x82\xa2", 0, false, 5, 4, 1.5);  // あい
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].at, (DevicePoint{20, 90}));
    EXPECT_EQ(t[1].at, (DevicePoint{31, 90}));  // 8 + 3
    EXPECT_EQ(t[1].bytes, "\x82\xa2");
}

TEST(TextLayout, AngleTurnsTheStepAndTheCellOffset) {
    const auto t = Layout("\x82\xa0\x82\xa0", 90);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].font.escapement, 900);
    EXPECT_EQ(t[0].font.orientation, 900);
    EXPECT_EQ(t[0].at, (DevicePoint{10, 100}));  // offset (−5, 0) mm: left of the start
    EXPECT_EQ(t[1].at, (DevicePoint{10, 92}));   // writes upward: stepY = −8
    const auto n = Layout("a", -45.04);
    EXPECT_EQ(n.at(0).font.escapement, -449);  // trunc(−450.4 + 0.5)
}

TEST(TextLayout, EscapesSwitchTheFontForTheRestOfTheText) {
    const auto t = Layout("^!A^/B^_C^-D");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].font.weight, 700);
    EXPECT_FALSE(t[0].font.italic);
    EXPECT_EQ(t[1].font.weight, 700);
    EXPECT_TRUE(t[1].font.italic);
    EXPECT_TRUE(t[2].font.underline);
    EXPECT_FALSE(t[2].font.strikeOut);
    EXPECT_TRUE(t[3].font.strikeOut);
    EXPECT_EQ(t[1].at.x, t[0].at.x + 4);  // switches take no room
    const auto styled = Layout("A", 0, false, 5, 4, 0, 3);
    EXPECT_EQ(styled.at(0).font.weight, 700);
    EXPECT_TRUE(styled.at(0).font.italic);
}

TEST(TextLayout, UnknownEscapeLosesItsCaretAndMDoesNothing) {
    const auto t = Layout("^zA");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].bytes, "z");
    EXPECT_EQ(t[1].bytes, "A");
    EXPECT_EQ(t[1].at.x, 24);
    const auto m = Layout("^mA");
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].at.x, 20);  // no move
}

TEST(TextLayout, SuperscriptSubscriptAndSmallGlyphs) {
    // x, then "2" at half height at the top of the next half cell.
    const auto u = Layout("x^u2y");
    ASSERT_EQ(u.size(), 3u);
    EXPECT_EQ(u[1].bytes, "2");
    EXPECT_EQ(u[1].at, (DevicePoint{24, 90}));
    EXPECT_EQ(u[1].font.height, 5);
    EXPECT_EQ(u[2].at.x, 28);  // the cursor moved half a step
    EXPECT_EQ(u[2].font.height, 10);
    const auto d = Layout("x^d2");
    EXPECT_EQ(d.at(1).at, (DevicePoint{24, 95}));  // lowered by half the height
    const auto c = Layout("x^c2");
    EXPECT_EQ(c.at(1).at, (DevicePoint{24, 92}));
    EXPECT_EQ(c.at(1).font.height, 7);
}

TEST(TextLayout, OverlayAndOverstrikeUseThePreviousGlyph) {
    const auto o = Layout("\x82\xa0^o\x82\xa2X");
    ASSERT_EQ(o.size(), 3u);
    EXPECT_EQ(o[1].at, (DevicePoint{22, 93}));  // previous cell + a quarter step and height
    EXPECT_EQ(o[1].font.height, 5);
    EXPECT_EQ(o[2].at.x, 28);  // previous cell + a whole step
    const auto n = Layout("ab^nc");
    EXPECT_EQ(n.at(2).at, n.at(1).at);
    const auto B = Layout("\x82\xa0^B|");
    EXPECT_EQ(B.at(1).at.x, 21);  // + 0.1 step
    const auto b = Layout("\x82\xa0^b|");
    EXPECT_EQ(b.at(1).at.x, 22);
    // At the very start there is no previous glyph: the start point is used.
    const auto first = Layout("^nA");
    EXPECT_EQ(first.at(0).at, (DevicePoint{20, 90}));
}

TEST(TextLayout, TextsThatEndInsideACharacterStopAtTheirEnd) {
    const std::string texts[] = {"a^", "a^u", "a\x82", "a^u\x82", std::string("ab\0cd", 5)};
    for (const std::string& text : texts) {
        const auto t = Layout(text);
        ASSERT_GE(t.size(), 1u) << text;
        EXPECT_EQ(t[0].bytes, "a");
        for (const auto& g : t) EXPECT_TRUE(g.bytes == "a" || g.bytes == "b") << text;
    }
}

TEST(TextLayout, AHeightThatRoundsToZeroDrawsNothing) {
    EXPECT_TRUE(Layout("abc", 0, false, 0.2).empty());    // 0.4 units
    EXPECT_EQ(Layout("abc", 0, false, 0.25).size(), 3u);  // 0.5 rounds up
}

TEST(TextLayout, VerticalTextSwapsWidthAndHeightAndUsesTheAtFace) {
    // Width 4 is the extent across the column, height 5 the step.
    const auto t = Layout(
        "\x82\xa0\x82\xa0"
        "a",
        -90, true);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].font.faceName, "@F");
    EXPECT_EQ(t[0].font.height, 8);              // Sx × width
    EXPECT_EQ(t[0].at, (DevicePoint{28, 100}));  // moved right by the width
    EXPECT_EQ(t[1].at, (DevicePoint{28, 110}));  // down by Sy × height
    // The half-width glyph: moved across by 0.8 × 8 and set at 0.45 × 10.
    EXPECT_EQ(t[2].at, (DevicePoint{28 - 6, 120}));
    EXPECT_EQ(t[2].font.height, 5);
}

TEST(TextLayout, AKeptOriginalCharacterRidesAlongTheGetaMark) {
    RecordingCanvas canvas;
    const CJwwScreen screen = ScreenAt(0, 100, 2, 2);
    const std::u16string original = u"a\u20ACb";  // € has no code page 932 form
    TextParams p;
    p.text =
        "a\x81\xac"
        "b";
    p.original = &original;
    p.height = p.width = 5;
    DrawString(canvas, screen, p, nullptr);
    const auto texts = canvas.Of(CallKind::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].original, 0u);
    EXPECT_EQ(texts[1].original, 0x20ACu);
    EXPECT_EQ(texts[2].original, 0u);
}

}  // namespace
}  // namespace tolvani::display
