// Draws element lists: the three passes of a list, visibility by layer
// group and layer, colours, and the drawing rule of each element kind.
// Block insertions recurse into their definitions through an
// InsertionContext.
#pragma once

#include <atomic>
#include <cstdint>
#include <set>
#include <unordered_map>
#include <vector>

#include "blocks/InsertionContext.h"
#include "display/CJwwScreen.h"
#include "display/Canvas.h"
#include "model/CJwwDoc.h"

namespace tolvani::display {

// Everything one draw shares: the target, the drawing, the drawing context,
// the definitions entered on the way down and the missing definitions met.
struct RenderState {
    RenderState(Canvas& c, const CJwwDoc& d, CJwwScreen& s, int32_t dotSizeValue);

    Canvas& canvas;
    const CJwwDoc& doc;
    CJwwScreen& screen;
    int32_t dotSize;
    BlockPath path;
    std::set<int32_t> missing;
    // Elements still allowed through insertions in this draw: definitions
    // that place each other many times over could otherwise take
    // practically forever.
    long placedBudget = 50'000'000;
    // Set once an insertion found the budget spent.
    bool budgetExhausted = false;
    // The caller's cancel flag, read before every element; `cancelled` is
    // set once it was found set, and the draw unwinds.
    const std::atomic<bool>* cancel = nullptr;
    bool cancelled = false;
    bool Stopped() {
        if (cancel && !cancelled && cancel->load(std::memory_order_relaxed)) cancelled = true;
        return cancelled;
    }
    // Points of the curve being drawn.
    std::vector<DevicePoint> curve;
    // The device rectangle that can be seen, widened by a margin; elements
    // wholly outside it are skipped.
    bool cull = false;
    DeviceRect visible;
    // Last pen and brush handed to the canvas, so that unchanged ones are
    // not handed again.
    Pen pen;
    Brush brush;
    bool penSet = false;
    bool brushSet = false;

    // Set once a text has made the canvas draw text without a background.
    bool textBackgroundSet = false;

    // What a definition places, for skipping whole insertions that lie
    // outside the visible area. Filled on first use in each draw.
    struct DefinitionReach {
        enum State : uint8_t { Unknown, Working, Done };
        State state = Unknown;
        // False when something placed through the definition may have an
        // effect beyond its own pixels (missing or self-placing definitions,
        // values changed while drawn, curved solids, values not finite).
        bool skippable = false;
        bool hasText = false;
        int height = 0;  // definitions entered on the way down, this one included
        // Everything placed lies within this distance of the definition's
        // origin: `own` in the definition's units, `drawing` in millimetres
        // of the drawing, `device` in device units.
        double own = 0;
        double drawing = 0;
        double device = 0;
        // The budget an insertion of the definition uses up once entered,
        // beyond the definition's own element count.
        long nested = 0;
    };
    std::unordered_map<const CDataList*, DefinitionReach> reach;

    void UsePen(const Pen& p);
    void UseBrush(const Brush& b);
    // True when the device box (any corner order) may touch the visible area.
    bool MayShow(double x0, double y0, double x1, double y1) const;
};

// Screen colour of a colour number: the drawing's table, entry 10 fixed,
// numbers outside the table black.
Color ScreenColor(const CJwwHeader& header, int n);

// State of a layer group and of one of its layers; numbers outside 0..15
// count as hidden.
bool LayerVisible(const CJwwHeader& header, int group, int layer);

void DrawElements(RenderState& rs, const ElementList& list, const InsertionContext* context);

// Arc or ellipse as a polyline through the device centre (X, Y unrounded).
// Returns the number of segments drawn.
int DrawFlattenedCurve(RenderState& rs, double cx, double cy, double rx, double ry, double start, double sweep,
                       double tilt);

// Line types 11 to 15 draw a line as a zigzag ("random line") of the
// type's pattern, with a pen as wide as its colour's line width.
bool IsRandomLineType(int lineType);
// The pen width of such a line, in device units (1 for colours outside
// the table).
int RandomLineWidth(const CJwwHeader& header, const CDataSen& line);

// Solids of these line types are curved (a filled circle, ring, sector or
// a curve as a line): their corners hold a centre, radius and angles, not
// points.
bool IsCurvedSolid(const CDataSolid& solid);

// Zigzag line between two device points (x rounded, y unrounded).
void DrawRandomLine(Canvas& canvas, uint32_t bits, double x1, double y1, double x2, double y2, double pitch,
                    double offset);

// Maps the first n drawing-space scratch points to device points and fills
// the polygon with the selected pen and brush.
void FillPolygon(RenderState& rs, int n);

// The mark of a point element at drawing point (x, y).
void DrawPointMark(RenderState& rs, int code, double x, double y, double angle, double scale);

}  // namespace tolvani::display
