// Curves, random lines, filled polygons and point marks.
#include <algorithm>
#include <cmath>

#include "display/DeviceMath.h"
#include "display/ElementRenderer.h"

namespace tolvani::display {

namespace {

constexpr double kPi = 3.14159265358979323846;
// A random line longer than this many pitches is finished with one straight
// segment; no device shows that many steps.
constexpr long kMaxRandomSteps = 200000;

}  // namespace

int DrawFlattenedCurve(RenderState& rs, double cx, double cy, double rx, double ry, double start, double sweep,
                       double tilt) {
    const CJwwScreen& s = rs.screen;
    const double begin = sweep < 0 ? start + sweep : start;
    const double end = sweep < 0 ? start : start + sweep;
    const double rxp = s.scaleX * rx, ryp = s.scaleY * ry;
    const double X = Round((cx - s.left) * s.scaleX), Y = (s.top - cy) * s.scaleY;
    const double reach = std::max(std::fabs(rxp), std::fabs(ryp));
    if (!rs.MayShow(X - reach, Y - reach, X + reach, Y + reach)) return 0;
    const double m = reach * 5 / 10;
    const int n = !(m >= 42) ? 42 : m > 360 ? 360 : static_cast<int>(m);
    const double ct = std::cos(tilt), st = std::sin(tilt);
    auto& pts = rs.curve;
    pts.resize(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        const double a = begin + i * (end - begin) / n;
        double u = std::cos(a) * rxp, v = std::sin(a) * ryp;
        if (tilt != 0) {
            const double tu = ct * u - st * v;
            v = st * u + ct * v;
            u = tu;
        }
        pts[static_cast<std::size_t>(i)] = {Round(X + u), Round(Y - v)};
    }
    rs.canvas.Polyline(pts.data(), pts.size());
    return n;
}

void DrawRandomLine(Canvas& canvas, uint32_t bits, double x1, double y1, double x2, double y2, double pitch,
                    double offset) {
    const double len = std::hypot(x2 - x1, y2 - y1);
    if (!(len > 0) || !Finite(len)) return;
    const double ux = (x2 - x1) / len, uy = (y2 - y1) / len;
    const double ox = uy * offset, oy = ux * offset;
    uint32_t mask = 0x80000000u;
    if (bits & mask)
        canvas.MoveTo(Round(x1), Round(y1));
    else
        canvas.MoveTo(Round(x1 + ox), Round(y1 + oy));
    double bx = x1, by = y1;
    if (pitch > 0 && len / pitch < kMaxRandomSteps) {
        int i = 0;
        for (double dist = pitch; dist < len; dist += pitch) {
            bx += ux * pitch;
            by += uy * pitch;
            mask = i == 31 ? 0x80000000u : mask >> 1;
            i = i == 31 ? 0 : i + 1;
            if (bits & mask)
                canvas.LineTo(Round(bx), Round(by));
            else
                canvas.LineTo(Round(bx + ox), Round(by + oy));
        }
    }
    if (bits & mask)
        canvas.LineTo(Round(x2), Round(y2));
    else
        canvas.LineTo(Round(x2 + ox), Round(y2 + oy));
}

void FillPolygon(RenderState& rs, int n) {
    n = std::clamp(n, 0, CJwwScreen::kScratchSize);
    if (n == 0) return;
    const CJwwScreen& s = rs.screen;
    int32_t x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
    for (int i = 0; i < n; ++i) {
        const DevicePoint p = s.ToDevice(s.drawingPoints[i].x, s.drawingPoints[i].y);
        rs.screen.devicePoints[i] = p;
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    if (!rs.MayShow(x0, y0, x1, y1)) return;
    rs.canvas.Polygon(rs.screen.devicePoints.data(), static_cast<std::size_t>(n));
}

namespace {

// A point mark drawn around (x, y), turned by the angle, scaled by s.
class Mark {
public:
    Mark(RenderState& rs, double x, double y, double angle, double s)
        : rs_(rs), x_(x), y_(y), c_(std::cos(angle)), sn_(std::sin(angle)), s_(s) {}

    DevicePoint At(double ox, double oy) const {
        ox *= s_;
        oy *= s_;
        return rs_.screen.ToDevice(x_ + c_ * ox - sn_ * oy, y_ + sn_ * ox + c_ * oy);
    }
    void Segment(double ax, double ay, double bx, double by) {
        const DevicePoint a = At(ax, ay), b = At(bx, by);
        rs_.canvas.MoveTo(a.x, a.y);
        rs_.canvas.LineTo(b.x, b.y);
    }
    void Outline(std::initializer_list<JwwPoint> pts) {
        const DevicePoint first = At(pts.begin()->x, pts.begin()->y);
        rs_.canvas.MoveTo(first.x, first.y);
        for (auto it = pts.begin() + 1; it != pts.end(); ++it) {
            const DevicePoint p = At(it->x, it->y);
            rs_.canvas.LineTo(p.x, p.y);
        }
        rs_.canvas.LineTo(first.x, first.y);
    }
    void Filled(std::initializer_list<JwwPoint> pts) {
        DevicePoint dp[4];
        std::size_t n = 0;
        for (const auto& p : pts) dp[n++] = At(p.x, p.y);
        rs_.canvas.Polygon(dp, n);
    }
    DeviceRect CircleBox(double r) const {
        const DevicePoint a = rs_.screen.ToDevice(x_ - r * s_, y_ + r * s_);
        const DevicePoint b = rs_.screen.ToDevice(x_ + r * s_, y_ - r * s_);
        return {a.x, a.y, b.x, b.y};
    }
    void Circle(double r) {
        rs_.UseBrush(Brush::Empty());
        rs_.canvas.Ellipse(CircleBox(r));
    }
    void Disc(double r) {
        const DevicePoint p = rs_.screen.ToDevice(x_, y_);
        rs_.canvas.Chord(CircleBox(r), p, p);
    }
    void DeviceDisc(double r) {
        const DevicePoint p = rs_.screen.ToDevice(x_, y_);
        rs_.canvas.Ellipse({Trunc(p.x - r), Trunc(p.y - r), Trunc(p.x + r), Trunc(p.y + r)});
    }
    void QuarterArcs() {
        const double q = 2.5 * s_ * std::cos(kPi / 4);
        const double angle = std::atan2(sn_, c_);
        DrawFlattenedCurve(rs_, x_ + c_ * q, y_ + sn_ * q, q, q, angle + kPi / 2, kPi / 2, 0);
        DrawFlattenedCurve(rs_, x_ - c_ * q, y_ - sn_ * q, q, q, angle + 3 * kPi / 2, kPi / 2, 0);
    }

private:
    RenderState& rs_;
    double x_, y_, c_, sn_, s_;
};

}  // namespace

void DrawPointMark(RenderState& rs, int code, double x, double y, double angle, double scale) {
    const CJwwScreen& sc = rs.screen;
    // Every mark lies within 7.6 scaled millimetres of the point, or within
    // the dot radii.
    const double X = (x - sc.left) * sc.scaleX, Y = (sc.top - y) * sc.scaleY;
    const double reach = 7.7 * std::fabs(scale) * std::max(std::fabs(sc.scaleX), std::fabs(sc.scaleY)) +
                         std::abs(static_cast<double>(sc.dotRadius)) + std::abs(static_cast<double>(rs.dotSize)) + 2;
    if (!rs.MayShow(X - reach, Y - reach, X + reach, Y + reach)) return;
    Mark m(rs, x, y, angle, scale);
    switch (code) {
        case 0: m.DeviceDisc(sc.dotRadius); break;
        case -1:
            m.Segment(0, 1.25, 0, -1.25);
            m.Segment(-1.0825, 0.625, 1.0825, -0.625);
            m.Segment(-1.0825, -0.625, 1.0825, 0.625);
            break;
        case -2:
        case 4: m.Circle(1.25); break;
        case -3: m.DeviceDisc(rs.dotSize); break;
        case -4:
            m.Segment(1.25, 0, -1.25, 0);
            m.Segment(0, 1.25, 0, -1.25);
            break;
        case -5: m.Outline({{1.25, 1.25}, {-1.25, 1.25}, {-1.25, -1.25}, {1.25, -1.25}}); break;
        case -6: m.Outline({{0, 2.5 / 1.5}, {-1.4434, -0.8333}, {1.4434, -0.8333}}); break;
        case -7:
            m.Segment(0.8839, 0.8839, -0.8839, -0.8839);
            m.Segment(-0.8839, 0.8839, 0.8839, -0.8839);
            break;
        case 1:
        case 6: m.Filled({{0, 0}, {-7.5, 1.25}, {-7.5, -1.25}}); break;
        case 2: m.Filled({{-2.5, 1.25}, {-2.5, -1.25}, {0, 1.25}, {0, -1.25}}); break;
        case 3:
        case 7: m.Disc(1.25); break;
        case 5: m.Filled({{-2.5, 1.25}, {-2.5, -1.25}, {0, -1.25}, {0, 1.25}}); break;
        case 8: m.QuarterArcs(); break;
        case 9:
        case 11:
            m.Segment(0, 0, -7.5, 1.25);
            m.Segment(0, 0, -7.5, -1.25);
            if (code == 11) m.Segment(-7.5, 1.25, -7.5, -1.25);
            break;
        case 10: m.Segment(1.7678, 1.7678, -1.7678, -1.7678); break;
        default: break;
    }
}

}  // namespace tolvani::display
