// Lines, arcs, solids, colours and visibility, checked call by call on the
// recording canvas.
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

template <class T>
T& Add(CJwwDoc& doc, int color = 2, int lineType = 1) {
    auto e = std::make_unique<T>();
    e->color = static_cast<uint16_t>(color);
    e->lineType = static_cast<uint8_t>(lineType);
    T& ref = *e;
    doc.AddElement(std::move(e));
    return ref;
}

CDataSen& AddLine(CJwwDoc& doc, double x1, double y1, double x2, double y2, int color = 2, int lineType = 1) {
    CDataSen& l = Add<CDataSen>(doc, color, lineType);
    l.start = {x1, y1};
    l.end = {x2, y2};
    return l;
}

CDataEnko& AddArc(CJwwDoc& doc, double r, double start, double sweep, bool full, int lineType = 1) {
    CDataEnko& a = Add<CDataEnko>(doc, 2, lineType);
    a.center = {100, 50};
    a.radius = r;
    a.startAngle = start;
    a.arcAngle = sweep;
    a.flatness = 1;
    a.fullCircle = full ? 1 : 0;
    return a;
}

struct Fixture {
    std::unique_ptr<CJwwDoc> doc = NewDoc();
    CJwwScreen screen = ScreenAt(0, 100, 2, 2);  // (x, y) → (2x, 2(100 − y))
    RecordingCanvas canvas;
    void Run() { Draw(canvas, *doc, screen); }
    Pen LastPen() const { return canvas.Of(CallKind::Pen).back().pen; }
};

TEST(LineRendering, EndPointsGoThroughTheTransformAndTheLineTypeChoosesThePen) {
    struct Case {
        int lineType;
        PenStyle style;
    };
    const Case cases[] = {
        {1, PenStyle::Solid},      {2, PenStyle::Dot},     {3, PenStyle::Dot},     {9, PenStyle::Dot},
        {4, PenStyle::Dash},       {5, PenStyle::DashDot}, {6, PenStyle::DashDot}, {7, PenStyle::DashDotDot},
        {8, PenStyle::DashDotDot}, {0, PenStyle::Solid},   {10, PenStyle::Solid},  {16, PenStyle::Solid},
        {30, PenStyle::Solid},     {62, PenStyle::Solid},  {200, PenStyle::Solid},
    };
    for (const auto& c : cases) {
        Fixture f;
        AddLine(*f.doc, 1.25, 99.75, 10.2, 80, 2, c.lineType);
        f.Run();
        const Pen pen = f.LastPen();
        EXPECT_EQ(pen.style, c.style) << c.lineType;
        EXPECT_EQ(pen.width, 1);
        const auto moves = f.canvas.Of(CallKind::MoveTo);
        const auto lines = f.canvas.Of(CallKind::LineTo);
        ASSERT_EQ(moves.size(), 1u);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(moves[0].points[0], (DevicePoint{3, 1}));  // 2.5 + 0.5 → 3, 0.5 + 0.5 → 1
        EXPECT_EQ(lines[0].points[0], (DevicePoint{20, 40}));
    }
}

TEST(ColourRules, DependOnKindLayerStateAndTable) {
    // Layer 1 of group 0 is display only (state 1).
    struct Case {
        const char* what;
        ElementKind kind;
        int color;
        int layer;
        Color expected;
    };
    auto doc = NewDoc();
    const CJwwHeader& h = doc->header;
    const Color c2 = h.color[2] & 0xFFFFFF, c9 = h.color[9] & 0xFFFFFF;
    const Color pink = Rgb(255, 128, 255);
    const Case cases[] = {
        {"line keeps its colour on a display-only layer", ElementKind::Sen, 2, 1, c2},
        {"arc on a display-only layer takes colour 9", ElementKind::Enko, 2, 1, c9},
        {"text on a display-only layer takes colour 9", ElementKind::Moji, 2, 1, c9},
        {"arc of colour 9 is drawn in colour 10", ElementKind::Enko, 9, 0, pink},
        {"text of colour 9 is drawn in colour 10", ElementKind::Moji, 9, 0, pink},
        {"solid of colour 9 is drawn in colour 10", ElementKind::Solid, 9, 0, pink},
        {"line of colour 9 keeps table colour 9", ElementKind::Sen, 9, 0, c9},
        {"colour beyond the table is black", ElementKind::Sen, 999, 0, kBlack},
        {"arc colour beyond the table is black", ElementKind::Enko, 4000, 0, kBlack},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.doc->header.groups[0].layerState[1] = kShown;
        std::unique_ptr<CData> e = CreateElement(c.kind);
        e->color = static_cast<uint16_t>(c.color);
        e->layer = static_cast<uint16_t>(c.layer);
        e->lineType = 1;
        if (auto* t = As<CDataMoji>(e.get())) {
            t->height = t->charWidth = 5;
            t->text = JwwString("A");
        }
        if (auto* a = As<CDataEnko>(e.get())) {
            a->radius = 5;
            a->flatness = 1;
            a->arcAngle = 1;
        }
        f.doc->AddElement(std::move(e));
        f.Run();
        const auto pens = f.canvas.Of(CallKind::Pen);
        ASSERT_FALSE(pens.empty()) << c.what;
        EXPECT_EQ(pens.back().pen.color, c.expected) << c.what;
        if (c.kind == ElementKind::Moji) {
            EXPECT_EQ(f.canvas.Texts().at(0).color, c.expected) << c.what;
        }
    }
}

TEST(ColourRules, WhiteIsDrawnBlackAndSolidsMayCarryTheirOwnColour) {
    Fixture f;
    f.doc->header.color[3] = 0xFFFFFF;
    AddLine(*f.doc, 0, 0, 1, 1, 3);
    CDataSolid& own = Add<CDataSolid>(*f.doc, CDataSolid::kOwnColor, 1);
    own.ownColor = Rgb(10, 20, 30);
    CDataSolid& white = Add<CDataSolid>(*f.doc, CDataSolid::kOwnColor, 1);
    white.ownColor = kWhite;
    f.Run();
    const auto brushes = f.canvas.Of(CallKind::Brush);
    ASSERT_EQ(brushes.size(), 2u);
    EXPECT_EQ(brushes[0].brush.color, Rgb(10, 20, 30));
    EXPECT_EQ(brushes[1].brush.color, kBlack);
    EXPECT_EQ(f.LastPen().color, kBlack);  // the line, drawn last, white in the table
}

TEST(Visibility, HiddenGroupsLayersAndNumbersOutsideTheTables) {
    struct Case {
        uint16_t group, layer;
        bool hideGroup, hideLayer;
        bool drawn;
    };
    const Case cases[] = {
        {0, 0, false, false, true},          {0, 0, true, false, false},   {0, 0, false, true, false},
        {15, 15, false, false, true},        {16, 0, false, false, false}, {0, 16, false, false, false},
        {65535, 65535, false, false, false},
    };
    for (const auto& c : cases) {
        Fixture f;
        if (c.hideGroup) f.doc->header.groups[0].state = kHidden;
        if (c.hideLayer) f.doc->header.groups[0].layerState[0] = kHidden;
        CDataSen& l = AddLine(*f.doc, 0, 0, 10, 10);
        l.layerGroup = c.group;
        l.layer = c.layer;
        f.Run();
        EXPECT_EQ(f.canvas.Of(CallKind::LineTo).size(), c.drawn ? 1u : 0u) << c.group << ":" << c.layer;
    }
}

TEST(Traversal, SolidsThenTextsAndDimensionsThenTheRest) {
    Fixture f;
    AddLine(*f.doc, 0, 0, 1, 1);
    CDataMoji& t = Add<CDataMoji>(*f.doc);
    t.height = t.charWidth = 5;
    t.text = JwwString("T");
    Add<CDataSolid>(*f.doc);
    CDataSunpou& d = Add<CDataSunpou>(*f.doc);
    d.line.lineType = 1;
    d.line.end = {5, 0};
    d.text.text = JwwString("D");
    d.text.height = d.text.charWidth = 5;
    f.Run();
    std::vector<CallKind> drawn;
    for (const auto& c : f.canvas.calls)
        if (c.kind == CallKind::Polygon || c.kind == CallKind::Text || c.kind == CallKind::LineTo)
            drawn.push_back(c.kind);
    const std::vector<CallKind> expected = {CallKind::Polygon, CallKind::Text, CallKind::LineTo, CallKind::Text,
                                            CallKind::LineTo};
    EXPECT_EQ(drawn, expected);
}

TEST(Dimensions, PartsAreDrawnInOrderAndTheModeAddsAuxiliaryLinesAndPoints) {
    for (int mode : {0, 1}) {
        Fixture f;
        CDataSunpou& d = Add<CDataSunpou>(*f.doc);
        d.mode = static_cast<uint16_t>(mode);
        d.line.lineType = 1;
        d.line.end = {10, 0};
        d.text.text = JwwString("10");
        d.text.height = d.text.charWidth = 2.5;
        for (auto& a : d.aux) a.lineType = 1;
        for (auto& p : d.points) p.lineType = 1;
        f.Run();
        EXPECT_EQ(f.canvas.Of(CallKind::LineTo).size(), mode ? 3u : 1u);
        EXPECT_EQ(f.canvas.Of(CallKind::Ellipse).size(), mode ? 4u : 0u);  // four plain points
        EXPECT_EQ(f.canvas.Of(CallKind::Text).size(), 2u);
    }
    // A hidden part of a visible dimension stays hidden.
    Fixture f;
    CDataSunpou& d = Add<CDataSunpou>(*f.doc);
    d.mode = 1;
    d.line.layer = 3;
    f.doc->header.groups[0].layerState[3] = kHidden;
    d.line.lineType = 1;
    f.Run();
    EXPECT_EQ(f.canvas.Of(CallKind::LineTo).size(), 2u);
}

TEST(Curves, SegmentCountsFollowTheDeviceRadius) {
    struct Case {
        double r, sx;
        bool full;
        int lineType;
        std::size_t points;  // polyline points; 0: a true ellipse
    };
    const Case cases[] = {
        {1, 2, true, 30, 43},      // extended line type: flattened, 42 segments
        {1, 2, true, 1, 0},        // otherwise a true circle
        {1000, 1, false, 1, 361},  // 360 segments at most
        {100, 1, false, 1, 51},    // 50
        {1e9, 1, false, 1, 361},  {0, 1, false, 1, 43},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.doc->header.lineSegmentCount[30] = 2;
        f.screen = ScreenAt(-500, 500, c.sx, c.sx);
        AddArc(*f.doc, c.r, 0, 1, c.full, c.lineType);
        f.Run();
        const auto polylines = f.canvas.Of(CallKind::Polyline);
        if (c.points == 0) {
            EXPECT_TRUE(polylines.empty());
            ASSERT_EQ(f.canvas.Of(CallKind::Ellipse).size(), 1u);
        } else {
            ASSERT_EQ(polylines.size(), 1u) << c.r;
            EXPECT_EQ(polylines[0].points.size(), c.points) << c.r;
        }
    }
}

// Arcs, circles and ellipses take the pen style of their line type as lines
// do, so a dotted arc beside dotted lines shows dotted; random and extended
// line types and arc outlines of solids stay solid.
TEST(Curves, CurvesTakeThePenStyleOfTheirLineType) {
    struct Case {
        const char* shape;
        int lineType;
        PenStyle style;
        CallKind drawn;
    };
    const Case cases[] = {
        {"arc", 2, PenStyle::Dot, CallKind::Polyline},
        {"arc", 4, PenStyle::Dash, CallKind::Polyline},
        {"circle", 3, PenStyle::Dot, CallKind::Ellipse},
        {"circle", 6, PenStyle::DashDot, CallKind::Ellipse},
        {"ellipse", 7, PenStyle::DashDotDot, CallKind::Polyline},
        {"arc", 1, PenStyle::Solid, CallKind::Polyline},
        {"arc", 12, PenStyle::Solid, CallKind::Polyline},
        {"circle", 31, PenStyle::Solid, CallKind::Polyline},
        {"solid outline", 111, PenStyle::Solid, CallKind::Polyline},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.shape << " " << c.lineType);
        Fixture f;
        f.doc->header.lineSegmentCount[31] = 2;
        if (c.lineType == 111) {
            CDataSolid& s = Add<CDataSolid>(*f.doc, 2, 4);
            s.lineType = 111;
            s.corner[0] = {100, 50};
            s.corner[1] = {10, 0.5};
            s.corner[3] = {2, 0};
        } else {
            CDataEnko& a = AddArc(*f.doc, 10, 0.5, 2, std::string(c.shape) == "circle", c.lineType);
            if (std::string(c.shape) == "ellipse") a.flatness = 0.5;
        }
        f.Run();
        ASSERT_EQ(f.canvas.Of(c.drawn).size(), 1u);
        // The pen in force when the curve was drawn.
        Pen pen;
        for (const auto& call : f.canvas.calls) {
            if (call.kind == CallKind::Pen) pen = call.pen;
            if (call.kind == c.drawn) break;
        }
        EXPECT_EQ(pen.style, c.style);
        EXPECT_EQ(pen.width, 1);
    }
}

TEST(Curves, TrueCircleBoxRoundsXButTruncatesY) {
    Fixture f;
    f.screen = ScreenAt(0, 100, 2, 2);
    CDataEnko& a = AddArc(*f.doc, 10.25, 0, 2 * kPi, true);
    a.center = {50.2, 50.3};
    f.Run();
    const auto e = f.canvas.Of(CallKind::Ellipse).at(0);
    EXPECT_EQ(e.box.left, 80);     // trunc(79.9 + 0.5)
    EXPECT_EQ(e.box.right, 121);   // trunc(120.9 + 0.5)
    EXPECT_EQ(e.box.top, 78);      // trunc(78.9), no half unit
    EXPECT_EQ(e.box.bottom, 119);  // trunc(119.9)
    EXPECT_FALSE(f.canvas.Of(CallKind::Brush).back().brush.solid);
}

TEST(Curves, NegativeSweepRunsFromStartPlusSweepToStart) {
    Fixture f;
    AddArc(*f.doc, 10, kPi / 2, -kPi / 2, false);  // centre (100, 50) → device (200, 100)
    f.Run();
    const auto pts = f.canvas.Of(CallKind::Polyline).at(0).points;
    EXPECT_EQ(pts.front(), (DevicePoint{220, 100}));  // angle 0
    EXPECT_EQ(pts.back(), (DevicePoint{200, 80}));    // angle π/2, upward
}

TEST(Curves, TiltTurnsEllipsesAndCircularArcsAddItToTheStart) {
    Fixture f;
    CDataEnko& e = AddArc(*f.doc, 10, 0, kPi, false);
    e.flatness = 0.5;
    e.tiltAngle = kPi / 2;  // the long axis stands upright
    CDataEnko& c = AddArc(*f.doc, 10, 0, kPi, false);
    c.tiltAngle = kPi / 2;  // a circular arc: start + tilt
    f.Run();
    const auto polys = f.canvas.Of(CallKind::Polyline);
    ASSERT_EQ(polys.size(), 2u);
    EXPECT_EQ(polys[0].points.front(), (DevicePoint{200, 80}));  // (10, 0) turned up
    EXPECT_EQ(polys[1].points.front(), (DevicePoint{200, 80}));
    EXPECT_EQ(polys[1].points.back(), (DevicePoint{200, 120}));
}

TEST(Solids, SectorsRingsAndQuadrilaterals) {
    struct Case {
        int lineType;
        double radius, mode;
        std::size_t polygonPoints;
    };
    const Case cases[] = {
        {101, 5, 0, 12},      // 10 segments + centre
        {101, 100, 0, 66},    // 64 segments + centre
        {101, 100, -1, 66},   // the tangent point instead of the centre
        {101, 100, 1, 65},    // a segment closed by its chord
        {101, 1000, 2, 361},  // at most 360 segments
        {105, 10, 5, 130},   {106, 10, 5, 130}, {1, 0, 0, 4},
    };
    for (const auto& c : cases) {
        Fixture f;
        CDataSolid& s = Add<CDataSolid>(*f.doc, 2, c.lineType);
        s.corner[0] = {50, 50};
        s.corner[1] = {c.radius, 1.0};
        s.corner[2] = {0, 0};
        s.corner[3] = {kPi / 2, c.mode};
        f.Run();
        const auto polys = f.canvas.Of(CallKind::Polygon);
        ASSERT_EQ(polys.size(), 1u) << c.lineType;
        EXPECT_EQ(polys[0].points.size(), c.polygonPoints) << c.lineType << " " << c.radius;
    }
    Fixture f;
    CDataSolid& s = Add<CDataSolid>(*f.doc, 2, 101);
    s.corner[0] = {50, 50};
    s.corner[1] = {10, 1.0};
    s.corner[3] = {kPi / 2, 0};
    f.Run();
    const auto pts = f.canvas.Of(CallKind::Polygon).at(0).points;
    EXPECT_EQ(pts.front(), (DevicePoint{120, 100}));  // (60, 50)
    EXPECT_EQ(pts[10], (DevicePoint{100, 80}));       // (50, 60) after 10 segments
    EXPECT_EQ(pts.back(), (DevicePoint{100, 100}));   // the centre closes the pie
    // Arc outline only (111): a polyline, no fill.
    Fixture g;
    CDataSolid& o = Add<CDataSolid>(*g.doc, 2, 111);
    o.corner[1] = {10, 1.0};
    o.corner[3] = {kPi, 0};
    g.Run();
    EXPECT_TRUE(g.canvas.Of(CallKind::Polygon).empty());
    EXPECT_EQ(g.canvas.Of(CallKind::Polyline).size(), 1u);
}

TEST(RandomLines, ZigzagByTheBitPatternAndNothingForZeroLength) {
    Fixture f;
    CJwwHeader& h = f.doc->header;
    h.linePattern[11] = 0x80000000u;  // only the first step on the line
    h.linePitch[11] = 4;
    h.lineDots[11] = 3;
    h.colorWidth[2] = 2;
    AddLine(*f.doc, 0, 100, 5, 100, 2, 11);  // device (0, 0) to (10, 0)
    AddLine(*f.doc, 7, 7, 7, 7, 2, 11);      // zero length
    f.Run();
    EXPECT_EQ(f.LastPen().width, 2);
    const auto moves = f.canvas.Of(CallKind::MoveTo);
    const auto lines = f.canvas.Of(CallKind::LineTo);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].points[0], (DevicePoint{0, 0}));
    // Offset d = 3 + 2 = 5 along (uy·d, ux·d) = (0, 5); steps at 4 and 8.
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].points[0], (DevicePoint{4, 5}));
    EXPECT_EQ(lines[1].points[0], (DevicePoint{8, 5}));
    EXPECT_EQ(lines[2].points[0], (DevicePoint{10, 5}));
}

TEST(RandomLines, AZeroPitchDoesNotHang) {
    Fixture f;
    f.doc->header.linePitch[12] = 0;
    f.doc->header.linePattern[12] = 0xFFFFFFFFu;
    AddLine(*f.doc, 0, 100, 300, 100, 2, 12);
    f.Run();
    EXPECT_EQ(f.canvas.Of(CallKind::LineTo).size(), 1u);
}

TEST(Culling, ElementsWhollyOutsideTheVisibleBoxAreSkipped) {
    Fixture f;
    f.canvas.SetVisibleBox({0, 0, 799, 599});
    AddLine(*f.doc, 10, 90, 20, 80);       // inside
    AddLine(*f.doc, -1000, 90, -900, 80);  // far left
    AddLine(*f.doc, -1000, 90, 1000, 80);  // crosses the view
    CDataMoji& t = Add<CDataMoji>(*f.doc);
    t.start = {5000, 50};
    t.height = t.charWidth = 5;
    t.text = JwwString("far");
    f.Run();
    EXPECT_EQ(f.canvas.Of(CallKind::LineTo).size(), 2u);
    EXPECT_TRUE(f.canvas.Of(CallKind::Text).empty());
}

}  // namespace
}  // namespace tolvani::display
