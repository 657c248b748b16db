#include "display/ElementRenderer.h"

#include <algorithm>
#include <cmath>

#include "display/DeviceMath.h"
#include "display/TextRenderer.h"

namespace tolvani::display {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Color kColor10 = Rgb(255, 128, 255);
// Device units added around the visible area before elements are skipped:
// covers pen widths and the rounding of every primitive.
constexpr int kCullMargin = 64;

}  // namespace

RenderState::RenderState(Canvas& c, const CJwwDoc& d, CJwwScreen& s, int32_t dotSizeValue)
    : canvas(c), doc(d), screen(s), dotSize(dotSizeValue) {
    DeviceRect box;
    if (canvas.VisibleBox(box)) {
        cull = true;
        visible = {box.left - kCullMargin, box.top - kCullMargin, box.right + kCullMargin, box.bottom + kCullMargin};
    }
}

void RenderState::UsePen(const Pen& p) {
    if (penSet && p == pen) return;
    pen = p;
    penSet = true;
    canvas.SetPen(p);
}

void RenderState::UseBrush(const Brush& b) {
    if (brushSet && b == brush) return;
    brush = b;
    brushSet = true;
    canvas.SetBrush(b);
}

bool RenderState::MayShow(double x0, double y0, double x1, double y1) const {
    if (!cull) return true;
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    return !(x1 < visible.left || x0 > visible.right || y1 < visible.top || y0 > visible.bottom);
}

Color ScreenColor(const CJwwHeader& header, int n) {
    if (n == 10) return kColor10;
    if (n < 0 || n >= kColorEntries) return kBlack;
    return header.color[n] & 0xFFFFFF;
}

bool LayerVisible(const CJwwHeader& header, int group, int layer) {
    if (group < 0 || group >= kLayerGroups || layer < 0 || layer >= kLayers) return false;
    const LayerGroup& g = header.groups[group];
    return g.state != kHidden && g.layerState[layer] != kHidden;
}

namespace {

struct Placed {
    double x, y;
};

Placed Place(const InsertionContext* ctx, double x, double y) {
    if (!ctx) return {x, y};
    const JwwPoint p = MapThroughInsertion(*ctx, x, y);
    return {p.x, p.y};
}

bool Visible(const RenderState& rs, const CData& e, const InsertionContext* ctx) {
    return ctx ? LayerVisible(rs.doc.header, ctx->layerGroup, ctx->layer)
               : LayerVisible(rs.doc.header, e.layerGroup, e.layer);
}

bool OwnLayerDisplayOnly(const CJwwHeader& h, const CData& e) {
    if (e.layerGroup >= kLayerGroups || e.layer >= kLayers) return false;
    const LayerGroup& g = h.groups[e.layerGroup];
    return g.state == kShown || g.layerState[e.layer] == kShown;
}

Color Finish(Color c, const InsertionContext* ctx) {
    if (c == kWhite) c = kBlack;
    if (ctx && ctx->highlighted) c = kRed;
    return c;
}

// Lines and points: the colour number as it stands.
Color LineColor(const RenderState& rs, const CData& e, const InsertionContext* ctx) {
    return Finish(ScreenColor(rs.doc.header, e.color), ctx);
}

// Arcs, solids and texts: colour 9 shows as 10, and display-only layers in 9.
int AreaColorNumber(const RenderState& rs, const CData& e) {
    int n = e.color == 9 ? 10 : e.color;
    if (OwnLayerDisplayOnly(rs.doc.header, e)) n = 9;
    return n;
}

Color AreaColor(const RenderState& rs, const CData& e, const InsertionContext* ctx) {
    return Finish(ScreenColor(rs.doc.header, AreaColorNumber(rs, e)), ctx);
}

PenStyle StyleOfLineType(int t) {
    switch (t) {
        case 2:
        case 3:
        case 9: return PenStyle::Dot;
        case 4: return PenStyle::Dash;
        case 5:
        case 6: return PenStyle::DashDot;
        case 7:
        case 8: return PenStyle::DashDotDot;
        default: return PenStyle::Solid;
    }
}

double TiltThrough(const InsertionContext* ctx, double tilt) { return ctx ? ComposeAngle(*ctx, tilt) : tilt; }

}  // namespace

bool IsRandomLineType(int lineType) { return lineType >= 11 && lineType <= 15; }

int RandomLineWidth(const CJwwHeader& header, const CDataSen& line) {
    return line.color < kColorEntries ? static_cast<int>(std::min<uint32_t>(header.colorWidth[line.color], 1000)) : 1;
}

bool IsCurvedSolid(const CDataSolid& solid) {
    const int t = solid.lineType;
    return t == 101 || t == 105 || t == 106 || t == 111;
}

namespace {

void DrawLine(RenderState& rs, const CDataSen& e, const InsertionContext* ctx) {
    if (!Visible(rs, e, ctx)) return;
    const Placed a = Place(ctx, e.start.x, e.start.y), b = Place(ctx, e.end.x, e.end.y);
    const Color c = LineColor(rs, e, ctx);
    const CJwwScreen& s = rs.screen;
    const CJwwHeader& h = rs.doc.header;
    if (IsRandomLineType(e.lineType)) {
        const int width = RandomLineWidth(h, e);
        const double pitch = h.linePitch[e.lineType];
        const double offset = static_cast<double>(h.lineDots[e.lineType]) + width;
        const double x1 = Round((a.x - s.left) * s.scaleX), y1 = (s.top - a.y) * s.scaleY;
        const double x2 = Round((b.x - s.left) * s.scaleX), y2 = (s.top - b.y) * s.scaleY;
        if (!rs.MayShow(std::min(x1, x2) - offset, std::min(y1, y2) - offset, std::max(x1, x2) + offset,
                        std::max(y1, y2) + offset))
            return;
        rs.UsePen({PenStyle::Solid, width, c});
        DrawRandomLine(rs.canvas, h.linePattern[e.lineType], x1, y1, x2, y2, pitch, offset);
        return;
    }
    const DevicePoint p = s.ToDevice(a.x, a.y), q = s.ToDevice(b.x, b.y);
    if (!rs.MayShow(p.x, p.y, q.x, q.y)) return;
    rs.UsePen({StyleOfLineType(e.lineType), 1, c});
    rs.canvas.MoveTo(p.x, p.y);
    rs.canvas.LineTo(q.x, q.y);
}

void DrawArc(RenderState& rs, const CDataEnko& e, const InsertionContext* ctx) {
    if (!Visible(rs, e, ctx)) return;
    const Color c = AreaColor(rs, e, ctx);
    const Placed ce = Place(ctx, e.center.x, e.center.y);
    double rx = e.radius, ry = e.radius * e.flatness, tilt = e.tiltAngle;
    if (ctx) {
        rx *= ctx->scaleX;
        ry *= ctx->scaleY;
        tilt = TiltThrough(ctx, tilt);
    }
    const CJwwScreen& s = rs.screen;
    const double reach = std::max(std::fabs(rx * s.scaleX), std::fabs(ry * s.scaleY));
    const double X = (ce.x - s.left) * s.scaleX, Y = (s.top - ce.y) * s.scaleY;
    if (!rs.MayShow(X - reach, Y - reach, X + reach, Y + reach)) return;
    // Curves are dashed by their line type as lines are, the pattern
    // starting at the curve's first point and running along it.
    rs.UsePen({StyleOfLineType(e.lineType), 1, c});
    const int k =
        e.lineType >= 30 && e.lineType <= 62 ? static_cast<int>(rs.doc.header.lineSegmentCount[e.lineType]) : 0;
    if (rx == ry) {
        if (e.fullCircle) {
            if (k == 0) {
                rs.UseBrush(Brush::Empty());
                rs.canvas.Ellipse({Round((ce.x - rx - s.left) * s.scaleX), Trunc((s.top - (ce.y + rx)) * s.scaleY),
                                   Round((ce.x + rx - s.left) * s.scaleX), Trunc((s.top - (ce.y - rx)) * s.scaleY)});
            } else {
                DrawFlattenedCurve(rs, ce.x, ce.y, rx, ry, 0, 6.283185, 0);
            }
        } else {
            DrawFlattenedCurve(rs, ce.x, ce.y, rx, ry, e.startAngle + tilt, e.arcAngle, 0);
        }
    } else {
        DrawFlattenedCurve(rs, ce.x, ce.y, rx, ry, e.startAngle, e.arcAngle, tilt);
    }
}

// Point on an ellipse (r, r·f) at angle a, turned by the tilt, about c.
JwwPoint OnEllipse(const Placed& c, double r, double f, double ca, double sa, double ct, double st) {
    const double u = ca * r, v = sa * r * f;
    return {c.x + ct * u - st * v, c.y + st * u + ct * v};
}

JwwPoint OnEllipse(const Placed& c, double r, double f, double a, double ct, double st) {
    return OnEllipse(c, r, f, std::cos(a), std::sin(a), ct, st);
}

void DrawSolid(RenderState& rs, const CDataSolid& e, const InsertionContext* ctx) {
    if (!Visible(rs, e, ctx)) return;
    const int n = AreaColorNumber(rs, e);
    const Color c =
        Finish(e.color == CDataSolid::kOwnColor && n == CDataSolid::kOwnColor ? (e.ownColor & 0xFFFFFF)
                                                                              : ScreenColor(rs.doc.header, n),
               ctx);
    rs.UsePen({PenStyle::Solid, 1, c});
    rs.UseBrush(Brush::Solid(c));
    auto& buf = rs.screen.drawingPoints;
    const int t = e.lineType;
    if (IsCurvedSolid(e)) {
        const Placed ce = Place(ctx, e.corner[0].x, e.corner[0].y);
        const double R = e.corner[1].x, f = e.corner[1].y;
        const double tilt = TiltThrough(ctx, e.corner[2].x);
        const double start = e.corner[2].y, sweep = e.corner[3].x, mode = e.corner[3].y;
        const double ct = std::cos(tilt), st = std::sin(tilt);
        if (t == 111) {
            DrawFlattenedCurve(rs, ce.x, ce.y, R, R * f, start, sweep, tilt);
            return;
        }
        if (t == 101) {
            const double m = R * 6.4 / 10;
            const int count = !(m >= 10) ? 10 : m > 360 ? 360 : static_cast<int>(m);
            int used = 0;
            for (int k = 0; k <= count; ++k) buf[used++] = OnEllipse(ce, R, f, start + k * sweep / count, ct, st);
            if (mode == 0) {
                buf[used++] = {ce.x, ce.y};
            } else if (mode == -1) {
                buf[used++] = OnEllipse(ce, R / std::cos(sweep / 2), f, start + sweep / 2, ct, st);
            }
            FillPolygon(rs, used);
            return;
        }
        const double r2 = mode;
        const double innerY = t == 105 ? r2 * f : R * f - (R - r2);
        const double innerF = r2 != 0 ? innerY / r2 : 0;
        // Both curves pass through the same angles: their cosines and sines
        // are worked out once.
        double cosA[65], sinA[65];
        int used = 0;
        for (int k = 0; k <= 64; ++k) {
            const double a = start + k * sweep / 64;
            cosA[k] = std::cos(a);
            sinA[k] = std::sin(a);
            buf[used++] = OnEllipse(ce, R, f, cosA[k], sinA[k], ct, st);
        }
        for (int k = 64; k >= 0; --k) {
            if (r2 != 0) {
                buf[used++] = OnEllipse(ce, r2, innerF, cosA[k], sinA[k], ct, st);
            } else {
                const double u = 0, v = sinA[k] * innerY;
                buf[used++] = {ce.x + ct * u - st * v, ce.y + st * u + ct * v};
            }
        }
        FillPolygon(rs, used);
        return;
    }
    for (int k = 0; k < 4; ++k) {
        const Placed p = Place(ctx, e.corner[k].x, e.corner[k].y);
        buf[k] = {p.x, p.y};
    }
    FillPolygon(rs, 4);
}

void DrawText(RenderState& rs, const CDataMoji& e, const InsertionContext* ctx) {
    if (!Visible(rs, e, ctx)) return;
    const Color c = AreaColor(rs, e, ctx);
    TextParams p;
    const Placed a = Place(ctx, e.start.x, e.start.y), b = Place(ctx, e.end.x, e.end.y);
    p.startX = a.x;
    p.startY = a.y;
    p.endX = b.x;
    p.endY = b.y;
    p.width = e.charWidth;
    p.height = e.height;
    p.spacing = e.spacing;
    p.angle = e.angle;
    if (ctx) {
        p.height *= ctx->scaleY;
        p.width *= ctx->scaleX;
        p.spacing *= ctx->scaleX;
        const double deg = ctx->angle * 180 / kPi;
        p.angle = ctx->scaleX * ctx->scaleY > 0 ? deg + e.angle : deg - e.angle;
    }
    p.vertical = (e.flag & 0x20) != 0;
    p.style = static_cast<int>(e.style);
    p.fontName = e.fontName.view();
    p.text = e.text.view();
    p.original = e.text.wide();
    rs.UsePen({PenStyle::Solid, 1, c});
    rs.canvas.SetTextColor(c);
    if (DrawString(rs.canvas, rs.screen, p, rs.cull ? &rs.visible : nullptr)) rs.textBackgroundSet = true;
}

// A point stored with a scale of 0 is drawn at scale 1; the element keeps
// its 0, so that a save writes back what was read.
double PointScale(const CDataTen& e) { return e.lineType != CDataTen::kLongForm ? 1.0 : e.scale == 0 ? 1.0 : e.scale; }

void DrawPoint(RenderState& rs, const CDataTen& e, const InsertionContext* ctx) {
    if (!Visible(rs, e, ctx)) return;
    const bool longForm = e.lineType == CDataTen::kLongForm;
    const int code = longForm ? e.pointCode : 0;
    const Color c = LineColor(rs, e, ctx);
    const Placed p = Place(ctx, e.pos.x, e.pos.y);
    double angle = longForm ? e.angle : 0;
    if (code < 0) angle = angle * kPi / 180;  // negative codes keep degrees
    angle = TiltThrough(ctx, angle);
    const double scale = PointScale(e);
    rs.UsePen({PenStyle::Solid, 1, c});
    rs.UseBrush(Brush::Solid(code == 0 ? c : code >= 1 && code <= 3 ? kWhite : kBlack));
    DrawPointMark(rs, code, p.x, p.y, angle, scale);
}

void DrawDimension(RenderState& rs, const CDataSunpou& e, const InsertionContext* ctx) {
    if (!Visible(rs, e, ctx)) return;
    DrawLine(rs, e.line, ctx);
    DrawText(rs, e.text, ctx);
    if (e.mode != 0) {
        DrawLine(rs, e.aux[0], ctx);
        DrawLine(rs, e.aux[1], ctx);
        for (const auto& p : e.points) DrawPoint(rs, p, ctx);
    }
}

long SaturatingAdd(long a, long b) {
    constexpr long kMax = 1L << 60;
    return a > kMax - b ? kMax : a + b;
}

double Length(double x, double y) { return std::hypot(x, y); }

double LargerScale(double sx, double sy) { return std::max(std::fabs(sx), std::fabs(sy)); }

// How far the definition's elements can lie from its origin, and whether an
// insertion of it may be skipped as a whole. Definitions are walked once per
// draw; a walk deeper than this gives up (the insertion is then drawn as
// usual).
constexpr int kMaxReachDepth = 64;

const RenderState::DefinitionReach& ReachOf(RenderState& rs, const CDataList* def, int depth) {
    RenderState::DefinitionReach& r = rs.reach[def];
    if (r.state != RenderState::DefinitionReach::Unknown) return r;
    r.state = RenderState::DefinitionReach::Working;
    const CJwwHeader& h = rs.doc.header;
    bool ok = depth < kMaxReachDepth;
    bool text = false;
    int height = 1;
    double own = 0, drawing = 0, device = 0;
    long nested = 0;
    // Values that are not finite make the definition one that is always
    // walked.
    auto grow = [&ok](double& limit, double v) {
        if (!(v >= 0) || !Finite(v))
            ok = false;
        else
            limit = std::max(limit, v);
    };
    auto line = [&](const CDataSen& e) {
        grow(own, Length(e.start.x, e.start.y));
        grow(own, Length(e.end.x, e.end.y));
        if (IsRandomLineType(e.lineType))
            grow(device, static_cast<double>(h.lineDots[e.lineType]) + RandomLineWidth(h, e));
    };
    auto textReach = [&](const CDataMoji& e) {
        text = true;
        const double w = std::fabs(e.charWidth), ht = std::fabs(e.height), sp = std::fabs(e.spacing);
        const double n = static_cast<double>(e.text.view().size());
        grow(own, Length(e.start.x, e.start.y) + (n + 2) * (w + ht + sp) + 4 * (w + ht));
    };
    auto point = [&](const CDataTen& e) {
        grow(own, Length(e.pos.x, e.pos.y));
        grow(drawing, 7.7 * std::fabs(PointScale(e)));
    };
    for (const auto& ptr : def->elements) {
        if (!ok) break;
        const CData& e = *ptr;
        switch (e.Kind()) {
            case ElementKind::Sen: line(static_cast<const CDataSen&>(e)); break;
            case ElementKind::Enko: {
                const auto& a = static_cast<const CDataEnko&>(e);
                grow(own,
                     Length(a.center.x, a.center.y) + std::max(std::fabs(a.radius), std::fabs(a.radius * a.flatness)));
                break;
            }
            case ElementKind::Moji: textReach(static_cast<const CDataMoji&>(e)); break;
            case ElementKind::Solid: {
                const auto& so = static_cast<const CDataSolid&>(e);
                if (IsCurvedSolid(so)) {
                    ok = false;
                    break;
                }
                for (const JwwPoint& c : so.corner) grow(own, Length(c.x, c.y));
                break;
            }
            case ElementKind::Sunpou: {
                const auto& d = static_cast<const CDataSunpou&>(e);
                line(d.line);
                textReach(d.text);
                if (d.mode != 0) {
                    line(d.aux[0]);
                    line(d.aux[1]);
                    for (const CDataTen& p : d.points) point(p);
                }
                break;
            }
            case ElementKind::Ten: point(static_cast<const CDataTen&>(e)); break;
            case ElementKind::Block: {
                const auto& b = static_cast<const CDataBlock&>(e);
                const CDataList* inner = rs.doc.FindBlockList(b.definitionNumber);
                if (!inner) {
                    ok = false;
                    break;
                }
                const RenderState::DefinitionReach& n = ReachOf(rs, inner, depth + 1);
                if (n.state != RenderState::DefinitionReach::Done || !n.skippable) {
                    ok = false;
                    break;
                }
                grow(own, Length(b.ref.x, b.ref.y) + LargerScale(b.scaleX, b.scaleY) * n.own);
                grow(drawing, n.drawing);
                grow(device, n.device);
                text = text || n.hasText;
                height = std::max(height, n.height + 1);
                long used = static_cast<long>(inner->elements.size());
                if (LayerVisible(h, b.layerGroup, b.layer)) used = SaturatingAdd(used, n.nested);
                nested = SaturatingAdd(nested, used);
                break;
            }
            default: break;
        }
    }
    // The map may have grown while nested definitions were walked; its
    // elements stay where they are.
    r.skippable = ok;
    r.hasText = text;
    r.height = height;
    r.own = own;
    r.drawing = drawing;
    r.device = device;
    r.nested = nested;
    r.state = RenderState::DefinitionReach::Done;
    return r;
}

// True when nothing placed by the insertion can show, and skipping it
// leaves every later decision of the draw as it would have been.
bool SkipInsertion(RenderState& rs, const CDataList* def, const InsertionContext& placed) {
    if (!rs.cull || !LayerVisible(rs.doc.header, placed.layerGroup, placed.layer)) return false;
    const RenderState::DefinitionReach& r = ReachOf(rs, def, 0);
    if (!r.skippable || (r.hasText && !rs.textBackgroundSet)) return false;
    if (rs.path.Depth() + r.height >= BlockPath::kMaxDepth) return false;
    const long used = SaturatingAdd(static_cast<long>(def->elements.size()), r.nested);
    if (rs.placedBudget < used) return false;
    const CJwwScreen& s = rs.screen;
    const double X = (placed.refX - s.left) * s.scaleX, Y = (s.top - placed.refY) * s.scaleY;
    const double R =
        ((r.own * LargerScale(placed.scaleX, placed.scaleY) + r.drawing) * LargerScale(s.scaleX, s.scaleY) + r.device +
         std::abs(static_cast<double>(s.dotRadius)) + std::abs(static_cast<double>(rs.dotSize))) *
            (1 + 1e-9) +
        4;
    if (!Finite(X) || !Finite(Y) || !Finite(R)) return false;
    if (rs.MayShow(X - R, Y - R, X + R, Y + R)) return false;
    rs.placedBudget -= used;
    return true;
}

void DrawInsertion(RenderState& rs, const CDataBlock& e, const InsertionContext* ctx) {
    const InsertionContext placed = ComposeInsertion(rs.doc, ctx, e);
    const CDataList* def = rs.doc.blockList.empty() ? nullptr : rs.doc.FindBlockList(e.definitionNumber);
    if (!def) {
        rs.missing.insert(e.definitionNumber);
        return;
    }
    if (SkipInsertion(rs, def, placed)) return;
    BlockPath::Scope scope(rs.path, def);
    if (!scope.entered()) {
        rs.missing.insert(e.definitionNumber);
        return;
    }
    rs.placedBudget -= static_cast<long>(def->elements.size());
    if (rs.placedBudget < 0) {
        rs.budgetExhausted = true;
        return;
    }
    DrawElements(rs, def->elements, &placed);
}

}  // namespace

void DrawElements(RenderState& rs, const ElementList& list, const InsertionContext* context) {
    if (list.empty()) return;
    if (context && !LayerVisible(rs.doc.header, context->layerGroup, context->layer)) return;
    for (const auto& e : list) {
        if (rs.Stopped()) return;
        if (const auto* s = As<CDataSolid>(e.get())) DrawSolid(rs, *s, context);
    }
    for (const auto& e : list) {
        if (rs.Stopped()) return;
        if (const auto* t = As<CDataMoji>(e.get()))
            DrawText(rs, *t, context);
        else if (const auto* d = As<CDataSunpou>(e.get()))
            DrawDimension(rs, *d, context);
    }
    for (const auto& e : list) {
        if (rs.Stopped()) return;
        switch (e->Kind()) {
            case ElementKind::Sen: DrawLine(rs, static_cast<const CDataSen&>(*e), context); break;
            case ElementKind::Enko: DrawArc(rs, static_cast<const CDataEnko&>(*e), context); break;
            case ElementKind::Ten: DrawPoint(rs, static_cast<const CDataTen&>(*e), context); break;
            case ElementKind::Block: DrawInsertion(rs, static_cast<const CDataBlock&>(*e), context); break;
            default: break;
        }
    }
}

}  // namespace tolvani::display
