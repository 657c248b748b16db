// Block insertions: placement through nested and mirrored insertions,
// layers of the insertion, highlighting, and missing or self-placing
// definitions.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

#include "display/DrawDocument.h"
#include "display/RecordingCanvas.h"
#include "tests/display/DisplayTestSupport.h"
#include "tests/support/TestSupport.h"

namespace tolvani::display {
namespace {

using test::Draw;
using test::NewDoc;
using test::ScreenAt;

constexpr double kPi = 3.14159265358979323846;

CDataList& AddDefinition(CJwwDoc& doc, int number) {
    auto d = std::make_unique<CDataList>();
    d->number = number;
    CDataList& ref = *d;
    doc.AddDefinition(std::move(d));
    return ref;
}

void AddLine(test::ElementTarget list, double x1, double y1, double x2, double y2, uint16_t layer = 0) {
    auto l = std::make_unique<CDataSen>();
    l->lineType = 1;
    l->color = 2;
    l->layer = layer;
    l->start = {x1, y1};
    l->end = {x2, y2};
    list.Add(std::move(l));
}

CDataBlock& AddInsertion(test::ElementTarget list, int def, double x, double y, double sx = 1, double sy = 1,
                         double angle = 0) {
    auto b = std::make_unique<CDataBlock>();
    b->definitionNumber = def;
    b->ref = {x, y};
    b->scaleX = sx;
    b->scaleY = sy;
    b->angle = angle;
    return list.Add(std::move(b));
}

struct Fixture {
    std::unique_ptr<CJwwDoc> doc = NewDoc();
    CJwwScreen screen = ScreenAt(0, 100, 2, 2);
    RecordingCanvas canvas;
    void Run() { Draw(canvas, *doc, screen); }
    std::vector<DevicePoint> Ends() const {
        std::vector<DevicePoint> out;
        for (const auto& c : canvas.calls)
            if (c.kind == CallKind::MoveTo || c.kind == CallKind::LineTo) out.push_back(c.points[0]);
        return out;
    }
};

TEST(BlockRendering, NestedInsertionsComposePlacement) {
    Fixture f;
    AddLine(AddDefinition(*f.doc, 1).elements, 0, 0, 10, 0);
    // Definition 2 places definition 1 at (5, 0) turned by 90°.
    AddInsertion(AddDefinition(*f.doc, 2).elements, 1, 5, 0, 1, 1, kPi / 2);
    AddInsertion(*f.doc, 2, 40, 40, 2, 2);
    f.Run();
    // Inner line: (0,0)-(10,0) → turned (0,0)-(0,10) → +(5,0) → scaled ×2 → +(40,40).
    const auto ends = f.Ends();
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0], (DevicePoint{100, 120}));  // (50, 40)
    EXPECT_EQ(ends[1], (DevicePoint{100, 80}));   // (50, 60)
}

TEST(BlockRendering, UnderAMirroredParentTheOwnAngleTurnsTheOtherWay) {
    Fixture f;
    AddLine(AddDefinition(*f.doc, 1).elements, 0, 0, 10, 0);
    AddInsertion(AddDefinition(*f.doc, 2).elements, 1, 0, 0, 1, 1, kPi / 2);
    AddInsertion(*f.doc, 2, 50, 50, -1, 1, 0);  // mirrored in x
    f.Run();
    // Composed angle 0 − 90° with scale x −1: the turned line still points
    // up, as the mirror image of an upright line does (adding the angles
    // would turn it down).
    const auto ends = f.Ends();
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0], (DevicePoint{100, 100}));
    EXPECT_EQ(ends[1], (DevicePoint{100, 80}));  // (50, 60)
}

TEST(BlockRendering, AHiddenInsertionLayerHidesTheWholeDefinition) {
    Fixture f;
    CDataList& d = AddDefinition(*f.doc, 1);
    AddLine(d.elements, 0, 0, 10, 0, /*layer*/ 0);
    AddLine(d.elements, 0, 0, 10, 0, /*layer*/ 4);
    CDataBlock& b = AddInsertion(*f.doc, 1, 0, 0);
    b.layer = 3;
    f.doc->header.groups[0].layerState[3] = kHidden;
    f.doc->header.groups[0].layerState[4] = kHidden;  // the element's own layer does not matter
    f.Run();
    EXPECT_TRUE(f.canvas.Of(CallKind::LineTo).empty());
    b.layer = 0;
    f.Run();
    EXPECT_EQ(f.canvas.Of(CallKind::LineTo).size(), 2u);  // drawn on the insertion's layer
}

TEST(BlockRendering, HighlightFollowsTheSelectionAndPropagatesDown) {
    struct Case {
        int selectedParent, selectedItem;
        bool outerRed, innerRed;
    };
    // Outer insertion: tree item 5 placing definition 1, which places definition 2.
    const Case cases[] = {
        {0, 0, false, false},  // nothing selected
        {0, 5, true, true},    // the top-level insertion, and all it contains
        {5, 2, false, true},   // the nested insertion under item 5
        {7, 2, false, false},  // under another item
        {0, 6, false, false},
    };
    for (const auto& c : cases) {
        Fixture f;
        CDataList& d1 = AddDefinition(*f.doc, 1);
        AddLine(d1.elements, 0, 0, 1, 0);
        AddInsertion(d1.elements, 2, 0, 0);
        AddLine(AddDefinition(*f.doc, 2).elements, 0, 0, 1, 0);
        CDataBlock& top = AddInsertion(*f.doc, 1, 0, 0);
        top.treeItemId = 5;
        f.doc->selectedParentId = c.selectedParent;
        f.doc->selectedItemId = c.selectedItem;
        f.Run();
        const auto pens = f.canvas.Of(CallKind::Pen);
        // Pens are handed over only when they change.
        std::vector<Color> colours;
        for (const auto& call : f.canvas.calls) {
            if (call.kind == CallKind::Pen) colours.push_back(call.pen.color);
            if (call.kind == CallKind::LineTo) colours.push_back(0xFF000000u);
        }
        const Color normal = f.doc->header.color[2] & 0xFFFFFF;
        Color current = 0xFEFEFEFEu;
        std::vector<Color> lineColours;
        for (Color v : colours) {
            if (v == 0xFF000000u)
                lineColours.push_back(current);
            else
                current = v;
        }
        ASSERT_EQ(lineColours.size(), 2u);
        EXPECT_EQ(lineColours[0], c.outerRed ? kRed : normal) << c.selectedParent << "/" << c.selectedItem;
        EXPECT_EQ(lineColours[1], c.innerRed ? kRed : normal) << c.selectedParent << "/" << c.selectedItem;
    }
}

TEST(BlockRendering, MissingAndSelfPlacingDefinitionsAreReportedOncePerDraw) {
    auto doc = NewDoc();
    CDataList& self = AddDefinition(*doc, 1);
    AddLine(self.elements, 0, 0, 1, 1);
    AddInsertion(self.elements, 1, 1, 1);  // places itself
    CDataList& a = AddDefinition(*doc, 2);
    AddInsertion(a.elements, 3, 0, 0);
    AddInsertion(AddDefinition(*doc, 3).elements, 2, 0, 0);  // 2 → 3 → 2
    for (int i = 0; i < 50; ++i) AddInsertion(*doc, 9, 0, 0);
    AddInsertion(*doc, 4, 0, 0);
    AddInsertion(*doc, 1, 0, 0);
    AddInsertion(*doc, 2, 0, 0);
    RecordingCanvas canvas;
    CJwwScreen screen;
    screen.viewWidth = 400;
    ViewValues v;
    v.extent = {1000, 500};
    const DrawReport report = DrawDrawing(canvas, *doc, screen, v);
    const std::vector<int32_t> expected = {1, 2, 4, 9};
    EXPECT_EQ(report.missingDefinitions, expected);
    EXPECT_EQ(canvas.Of(CallKind::LineTo).size(), 1u);  // definition 1 drawn once, not again inside itself
}

TEST(BlockRendering, AnEmptyDefinitionListReportsEveryInsertion) {
    auto doc = NewDoc();
    AddInsertion(*doc, 0, 0, 0);
    RecordingCanvas canvas;
    CJwwScreen screen;
    screen.viewWidth = 400;
    ViewValues v;
    v.extent = {1000, 500};
    EXPECT_EQ(DrawDrawing(canvas, *doc, screen, v).missingDefinitions, std::vector<int32_t>{0});
}

TEST(BlockRendering, TextThroughAMirroredInsertionKeepsItsSize) {
    Fixture f;
    CDataList& d = AddDefinition(*f.doc, 1);
    auto t = std::make_unique<CDataMoji>();
    t->height = t->charWidth = 5;
    t->angle = 30;
    t->text = JwwString("A");
    d.elements.push_back(std::move(t));
    AddInsertion(*f.doc, 1, 50, 50, 1, -1, kPi / 2);
    f.Run();
    const auto texts = f.canvas.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].font.height, 10);
    EXPECT_EQ(texts[0].font.escapement, 600);  // 90° − 30°
}

// Insertions that lie wholly outside the visible box are skipped as a whole;
// what the draw reports and how much of the placing budget it uses stay
// those of a draw that walks every insertion.
struct SkipCase {
    const char* name;
    void (*build)(CJwwDoc& doc);
    bool drawsSomething;
};

void FarLine(CJwwDoc& doc) {
    AddLine(AddDefinition(doc, 1).elements, 0, 0, 10, 0);
    AddInsertion(doc, 1, -5000, 50);
}

void LongLineReachingIn(CJwwDoc& doc) {
    AddLine(AddDefinition(doc, 1).elements, 0, 0, 5000, 0);
    AddInsertion(doc, 1, -4900, 50);
}

void ScaledUpReachingIn(CJwwDoc& doc) {
    AddLine(AddDefinition(doc, 1).elements, 0, 0, 10, 0);
    AddInsertion(doc, 1, -4900, 50, 500, 500);
}

void TurnedReachingIn(CJwwDoc& doc) {
    AddLine(AddDefinition(doc, 1).elements, 0, 0, 0, 5000);
    AddInsertion(doc, 1, -4900, 50, 1, 1, kPi / 2 * 3);  // the line turned to point +x
}

void NestedReachingIn(CJwwDoc& doc) {
    AddLine(AddDefinition(doc, 1).elements, 0, 0, 10, 0);
    AddInsertion(AddDefinition(doc, 2).elements, 1, 4900, 0);
    AddInsertion(doc, 2, -4850, 50);
}

void FarWithMissingInside(CJwwDoc& doc) {
    CDataList& d = AddDefinition(doc, 1);
    AddLine(d.elements, 0, 0, 10, 0);
    AddInsertion(d.elements, 7, 0, 0);
    AddInsertion(doc, 1, -5000, 50);
}

void FarPlacingItself(CJwwDoc& doc) {
    CDataList& d = AddDefinition(doc, 1);
    AddLine(d.elements, 0, 0, 10, 0);
    AddInsertion(d.elements, 1, 1, 1);
    AddInsertion(doc, 1, -5000, 50);
}

void FarNestedOnHiddenLayer(CJwwDoc& doc) {
    for (int n = 1; n <= 3; ++n) AddLine(AddDefinition(doc, n).elements, 0, 0, 10, 0);
    AddInsertion(doc.FindBlockList(2)->elements, 1, 0, 0).layer = 3;
    AddInsertion(doc.FindBlockList(3)->elements, 2, 0, 0);
    AddInsertion(doc.FindBlockList(3)->elements, 2, 5, 0);
    doc.header.groups[0].layerState[3] = kHidden;
    for (int i = 0; i < 3; ++i) AddInsertion(doc, 3, -5000, 50 + i);
    AddInsertion(doc, 3, 50, 50);
}

void FarTextThenNearLine(CJwwDoc& doc) {
    auto t = std::make_unique<CDataMoji>();
    t->height = t->charWidth = 5;
    t->text = JwwString("far");
    AddDefinition(doc, 1).elements.push_back(std::move(t));
    AddInsertion(doc, 1, -5000, 50);
    AddLine(doc, 10, 90, 20, 80);
}

void FarPointOfScaleZero(CJwwDoc& doc) {
    auto p = std::make_unique<CDataTen>();
    p->lineType = CDataTen::kLongForm;
    p->pointCode = -4;
    AddDefinition(doc, 1).elements.push_back(std::move(p));
    AddInsertion(doc, 1, -5000, 50);
}

TEST(BlockRendering, InsertionsOutsideTheVisibleBoxAreSkippedWithoutChangingTheDraw) {
    const SkipCase cases[] = {
        {"far line", FarLine, false},
        {"long line reaching in", LongLineReachingIn, true},
        {"scaled up reaching in", ScaledUpReachingIn, true},
        {"turned reaching in", TurnedReachingIn, true},
        {"nested reaching in", NestedReachingIn, true},
        {"far, missing definition inside", FarWithMissingInside, false},
        {"far, placing itself", FarPlacingItself, false},
        {"far, nested on a hidden layer", FarNestedOnHiddenLayer, true},
        {"far text, then a line", FarTextThenNearLine, true},
        {"far point of scale 0", FarPointOfScaleZero, false},
    };
    for (const SkipCase& c : cases) {
        SCOPED_TRACE(c.name);
        // The same drawing drawn twice: walking everything, and with the box.
        auto whole = NewDoc(), culled = NewDoc();
        c.build(*whole);
        c.build(*culled);
        CJwwScreen screen = ScreenAt(0, 100, 2, 2);
        RecordingCanvas all, part;
        part.SetVisibleBox({0, 0, 399, 199});
        RenderState a(all, *whole, screen, 16), b(part, *culled, screen, 16);
        DrawElements(a, whole->mainList, nullptr);
        DrawElements(b, culled->mainList, nullptr);
        EXPECT_EQ(a.missing, b.missing);
        EXPECT_EQ(a.placedBudget, b.placedBudget);
        EXPECT_EQ(a.textBackgroundSet, b.textBackgroundSet);
        EXPECT_EQ(part.Of(CallKind::BackgroundMode).size(), all.Of(CallKind::BackgroundMode).size());
        const std::size_t drawn =
            part.Of(CallKind::LineTo).size() + part.Of(CallKind::Polyline).size() + part.Of(CallKind::Text).size();
        EXPECT_EQ(drawn > 0, c.drawsSomething);
        // Values that drawing sets are set all the same.
        for (std::size_t i = 0; i < whole->blockList.size(); ++i)
            for (std::size_t k = 0; k < whole->blockList[i]->elements.size(); ++k) {
                if (const auto* p = As<CDataTen>(whole->blockList[i]->elements[k].get())) {
                    EXPECT_EQ(As<CDataTen>(culled->blockList[i]->elements[k].get())->scale, p->scale);
                }
            }
    }
}

TEST(BlockRendering, AnInsertionOutsideTheVisibleBoxIsNotWalked) {
    auto doc = NewDoc();
    auto text = [] {
        auto t = std::make_unique<CDataMoji>();
        t->start = {10, 50};
        t->height = t->charWidth = 5;
        t->text = JwwString("AB");
        return t;
    };
    doc->AddElement(text());
    AddLine(AddDefinition(*doc, 1).elements, 0, 0, 10, 0);
    doc->FindBlockList(1)->elements.push_back(text());
    AddInsertion(*doc, 1, -5000, 50);
    AddInsertion(*doc, 1, 50, 50);
    CJwwScreen screen = ScreenAt(0, 100, 2, 2);
    RecordingCanvas canvas;
    canvas.SetVisibleBox({0, 0, 399, 199});
    Draw(canvas, *doc, screen);
    // The text colour is handed over for the main-list text and the text of
    // the insertion that shows, not for the one far away.
    EXPECT_EQ(canvas.Of(CallKind::TextColor).size(), 2u);
    EXPECT_EQ(canvas.Of(CallKind::LineTo).size(), 1u);
    EXPECT_EQ(canvas.Of(CallKind::Text).size(), 4u);
}

// Sets the cancel flag when it records the given line-to, as a caller on
// another thread would while the draw runs.
class CancellingCanvas : public RecordingCanvas {
public:
    CancellingCanvas(std::atomic<bool>& flag, std::size_t at) : flag_(flag), at_(at) {}
    void LineTo(int32_t x, int32_t y) override {
        RecordingCanvas::LineTo(x, y);
        if (++lines_ == at_) flag_ = true;
    }

private:
    std::atomic<bool>& flag_;
    std::size_t at_;
    std::size_t lines_ = 0;
};

TEST(DrawCancel, ADrawStopsAtTheElementAfterTheFlagIsSetAndSaysSo) {
    // 40 lines of the main list, then three insertions of 100 lines each.
    auto doc = NewDoc();
    for (int i = 0; i < 40; ++i) AddLine(*doc, i, 10, i, 20);
    CDataList& def = AddDefinition(*doc, 1);
    for (int i = 0; i < 100; ++i) AddLine(def.elements, i * 0.1, 0, i * 0.1, 5);
    for (int k = 0; k < 3; ++k) AddInsertion(*doc, 1, 10 + 5 * k, 50);
    struct Case {
        const char* name;
        std::size_t at;  // line-to after which the flag is set; 0: before the draw
        std::size_t drawn;
        bool cancelled;
    };
    const Case cases[] = {
        {"set before the draw", 0, 0, true},
        {"in the main list", 7, 7, true},
        {"inside an insertion", 175, 175, true},
        {"never", 100000, 340, false},
    };
    for (const Case& c : cases) {
        std::atomic<bool> flag{c.at == 0};
        CancellingCanvas canvas(flag, c.at);
        CJwwScreen screen;
        screen.viewWidth = 200;
        ViewValues v;
        v.extent = {21167, 10583};
        const DrawReport report = DrawDrawing(canvas, *doc, screen, v, &flag);
        EXPECT_EQ(canvas.Of(CallKind::LineTo).size(), c.drawn) << c.name;
        EXPECT_EQ(report.cancelled, c.cancelled) << c.name;
    }
}

// Insertions far outside the view use up the placing budget; once it is
// spent the insertions after it are not drawn, and the report says so.
TEST(DrawBudget, ASpentPlacingBudgetIsReported) {
    for (const int far : {10, 60}) {
        SCOPED_TRACE(far);
        auto doc = NewDoc();
        CDataList& leaf = AddDefinition(*doc, 1);
        for (int i = 0; i < 1000; ++i) AddLine(leaf.elements, 0, 0, 1, 1);
        CDataList& mid = AddDefinition(*doc, 2);
        for (int i = 0; i < 1000; ++i) AddInsertion(mid.elements, 1, 0, 0);
        CDataList& cross = AddDefinition(*doc, 3);
        AddLine(cross.elements, 0, 0, 200, 100);
        AddLine(cross.elements, 0, 100, 200, 0);
        for (int i = 0; i < far; ++i) AddInsertion(*doc, 2, -100000, 50);
        AddInsertion(*doc, 3, 0, 0);
        CJwwScreen screen = ScreenAt(0, 100, 2, 2);
        RecordingCanvas canvas;
        canvas.SetVisibleBox({0, 0, 399, 199});
        RenderState rs(canvas, *doc, screen, 16);
        DrawElements(rs, doc->mainList, nullptr);
        // 60 far insertions place 60,060,000 elements: over the 50,000,000.
        EXPECT_EQ(rs.budgetExhausted, far == 60);
        EXPECT_EQ(canvas.Of(CallKind::LineTo).size(), far == 60 ? 0u : 2u);
    }
}

}  // namespace
}  // namespace tolvani::display
