// Point marks: codes, angles in radians or degrees, scales and brushes.
#include <gtest/gtest.h>

#include <cmath>

#include "display/RecordingCanvas.h"
#include "tests/display/DisplayTestSupport.h"

namespace tolvani::display {
namespace {

using test::Draw;
using test::NewDoc;
using test::ScreenAt;

constexpr double kPi = 3.14159265358979323846;

struct Drawn {
    RecordingCanvas canvas;
    std::unique_ptr<CJwwDoc> doc = NewDoc();
    CDataTen* point = nullptr;
};

// Draws one point at drawing (50, 50) = device (100, 100), Sx = Sy = 2.
void DrawPoint(Drawn& d, int code, double angle, double scale, bool longForm = true) {
    auto p = std::make_unique<CDataTen>();
    p->pos = {50, 50};
    p->color = 2;
    p->lineType = longForm ? CDataTen::kLongForm : CDataTen::kShortForm;
    p->pointCode = code;
    p->angle = angle;
    p->scale = scale;
    d.point = p.get();
    d.doc->AddElement(std::move(p));
    CJwwScreen screen = ScreenAt(0, 100, 2, 2);
    screen.dotRadius = 3;
    Draw(d.canvas, *d.doc, screen);
}

TEST(PointMarks, PlainPointIsADiscOfTheDotRadiusInThePointColour) {
    Drawn d;
    DrawPoint(d, 7, 0, 1, /*longForm*/ false);  // a short point has code 0
    const auto e = d.canvas.Of(CallKind::Ellipse);
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].box.left, 97);
    EXPECT_EQ(e[0].box.right, 103);
    EXPECT_EQ(e[0].box.top, 97);
    const Color c = d.doc->header.color[2] & 0xFFFFFF;
    EXPECT_TRUE(d.canvas.Of(CallKind::Brush).back().brush.solid);
    EXPECT_EQ(d.canvas.Of(CallKind::Brush).back().brush.color, c == kWhite ? kBlack : c);
}

TEST(PointMarks, ArrowCodesTakeRadiansAndTurnWithTheAngle) {
    // Code 1 at π/2: the arrow's tail lies 7.5 mm below the point, so it points up.
    Drawn d;
    DrawPoint(d, 1, kPi / 2, 1);
    const auto polys = d.canvas.Of(CallKind::Polygon);
    ASSERT_EQ(polys.size(), 1u);
    const auto& pts = polys[0].points;
    ASSERT_EQ(pts.size(), 3u);
    EXPECT_EQ(pts[0], (DevicePoint{100, 100}));
    EXPECT_EQ(pts[1], (DevicePoint{98, 115}));  // (−7.5, 1.25) turned: (−1.25, −7.5)
    EXPECT_EQ(pts[2], (DevicePoint{103, 115}));
    EXPECT_EQ(d.canvas.Of(CallKind::Brush).back().brush.color, kWhite);
}

TEST(PointMarks, NegativeCodesTakeDegrees) {
    Drawn d;
    DrawPoint(d, -4, 90, 2);  // plus sign turned by 90°
    const auto moves = d.canvas.Of(CallKind::MoveTo);
    const auto lines = d.canvas.Of(CallKind::LineTo);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].points[0], (DevicePoint{100, 95}));  // (2.5, 0) turned up: 5 units
    EXPECT_EQ(lines[0].points[0], (DevicePoint{100, 105}));
    EXPECT_EQ(moves[1].points[0], (DevicePoint{95, 100}));
    EXPECT_EQ(d.canvas.Of(CallKind::Brush).back().brush.color, kBlack);
}

TEST(PointMarks, AZeroScaleIsDrawnAtOneAndTheElementKeepsIt) {
    Drawn d;
    DrawPoint(d, 10, 0, 0);
    EXPECT_EQ(d.point->scale, 0.0);
    const auto moves = d.canvas.Of(CallKind::MoveTo);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].points[0], (DevicePoint{104, 96}));  // 1.7678 mm × 2 = 3.5 units
}

TEST(PointMarks, EveryCodeDrawsItsShape) {
    struct Case {
        int code;
        std::size_t moves, polygons, ellipses, chords, polylines;
    };
    const Case cases[] = {
        {-1, 3, 0, 0, 0, 0}, {-2, 0, 0, 1, 0, 0}, {-3, 0, 0, 1, 0, 0}, {-4, 2, 0, 0, 0, 0}, {-5, 1, 0, 0, 0, 0},
        {-6, 1, 0, 0, 0, 0}, {-7, 2, 0, 0, 0, 0}, {1, 0, 1, 0, 0, 0},  {2, 0, 1, 0, 0, 0},  {3, 0, 0, 0, 1, 0},
        {4, 0, 0, 1, 0, 0},  {5, 0, 1, 0, 0, 0},  {6, 0, 1, 0, 0, 0},  {7, 0, 0, 0, 1, 0},  {8, 0, 0, 0, 0, 2},
        {9, 2, 0, 0, 0, 0},  {10, 1, 0, 0, 0, 0}, {11, 3, 0, 0, 0, 0}, {12, 0, 0, 0, 0, 0}, {-8, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Drawn d;
        DrawPoint(d, c.code, 0, 1);
        EXPECT_EQ(d.canvas.Of(CallKind::MoveTo).size(), c.moves) << c.code;
        EXPECT_EQ(d.canvas.Of(CallKind::Polygon).size(), c.polygons) << c.code;
        EXPECT_EQ(d.canvas.Of(CallKind::Ellipse).size(), c.ellipses) << c.code;
        EXPECT_EQ(d.canvas.Of(CallKind::Chord).size(), c.chords) << c.code;
        EXPECT_EQ(d.canvas.Of(CallKind::Polyline).size(), c.polylines) << c.code;
    }
}

TEST(PointMarks, DiscsCirclesAndTheSquareOutline) {
    Drawn d3;
    DrawPoint(d3, 3, 0, 2);  // disc of radius 2.5 mm = 5 units, radials equal
    const auto chord = d3.canvas.Of(CallKind::Chord).at(0);
    EXPECT_EQ(chord.box.left, 95);
    EXPECT_EQ(chord.box.bottom, 105);
    EXPECT_EQ(chord.points[0], chord.points[1]);
    Drawn d2;
    DrawPoint(d2, -2, 0, 2);  // unfilled circle
    EXPECT_FALSE(d2.canvas.Of(CallKind::Brush).back().brush.solid);
    Drawn dd;
    DrawPoint(dd, -3, 0, 1);  // radius is DotSize itself, in device units
    const auto e = dd.canvas.Of(CallKind::Ellipse).at(0);
    EXPECT_EQ(e.box.left, 100 - 16);
    EXPECT_EQ(e.box.right, 100 + 16);
    Drawn sq;
    DrawPoint(sq, -5, 0, 2);
    const auto lines = sq.canvas.Of(CallKind::LineTo);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(sq.canvas.Of(CallKind::MoveTo)[0].points[0], (DevicePoint{105, 95}));
    EXPECT_EQ(lines.back().points[0], (DevicePoint{105, 95}));  // closed
}

}  // namespace
}  // namespace tolvani::display
