#include "display/qt/DirectRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tolvani::display {

DirectRaster::DirectRaster(QImage& image)
    : bits_(image.bits()), stride_(image.bytesPerLine()), w_(image.width()), h_(image.height()),
      bottom_(image.height() - 1) {}

void DirectRaster::SetRows(int top, int bottom) {
    top_ = std::max(0, top);
    bottom_ = std::min(h_ - 1, bottom);
}

void DirectRaster::SetDashes(const std::vector<int>& pattern) {
    dashes_ = pattern;
    dashTotal_ = 0;
    dashesPositive_ = true;
    for (int d : dashes_) {
        dashTotal_ += d;
        if (d <= 0) dashesPositive_ = false;
    }
    if (dashTotal_ <= 0) {
        dashes_.clear();
        dashTotal_ = 0;
    }
    phaseInPattern_ = dashTotal_ > 0 ? phase_ % dashTotal_ : 0;
}

namespace {

// Clips the segment to [0, w−1] × [0, h−1] (Liang–Barsky). Returns false
// when nothing is left; t0 and t1 give the part kept.
bool Clip(double x0, double y0, double x1, double y1, double w, double h, double& t0, double& t1) {
    t0 = 0;
    t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0, w - 1 - x0, y0, h - 1 - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

// Rounds a quotient up, for any signs (d > 0).
int64_t CeilDiv(int64_t n, int64_t d) { return n >= 0 ? (n + d - 1) / d : -((-n) / d); }

// The steps of a walk whose rows lie in top..bottom: steps i0..i1 of 0..major
// (i0 > i1 when none). Along the walk the minor coordinate has moved by
// c(i) = floor((2·minor·i + major − 1) / (2·major)) after i steps.
void StepsInRows(int64_t y0, int64_t sy, bool xMajor, int64_t major, int64_t minor, int64_t top, int64_t bottom,
                 int64_t& i0, int64_t& i1) {
    // The rows as distances from y0 along the walk's direction.
    const int64_t lo = sy > 0 ? top - y0 : y0 - bottom, hi = sy > 0 ? bottom - y0 : y0 - top;
    if (!xMajor) {
        i0 = std::max<int64_t>(0, lo);
        i1 = std::min(major, hi);
        return;
    }
    if (minor == 0) {
        const bool in = lo <= 0 && hi >= 0;
        i0 = in ? 0 : 1;
        i1 = in ? major : 0;
        return;
    }
    const int64_t k0 = std::max<int64_t>(0, lo), k1 = std::min(minor, hi);
    if (k0 > k1) {
        i0 = 1;
        i1 = 0;
        return;
    }
    // First step whose minor coordinate has moved by at least k.
    auto first = [&](int64_t k) { return k <= 0 ? 0 : CeilDiv(2 * major * k - major + 1, 2 * minor); };
    i0 = first(k0);
    i1 = std::min(major, first(k1 + 1) - 1);
}

}  // namespace

void DirectRaster::Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const int64_t fullSteps =
        std::max(std::llabs(static_cast<int64_t>(x1) - x0), std::llabs(static_cast<int64_t>(y1) - y0));
    const int64_t startPhase = phase_, startInPattern = phaseInPattern_;
    phase_ += fullSteps;
    if (dashTotal_ > 0) {
        phaseInPattern_ += fullSteps;
        if (phaseInPattern_ >= dashTotal_) phaseInPattern_ %= dashTotal_;
    }
    if (std::max(y0, y1) < top_ || std::min(y0, y1) > bottom_) return;
    // Segments wholly inside the image (most of them) need no clipping.
    double t0 = 0, t1 = 1;
    const bool inside = x0 >= 0 && x1 >= 0 && y0 >= 0 && y1 >= 0 && x0 < w_ && x1 < w_ && y0 < h_ && y1 < h_;
    if (!inside && !Clip(x0, y0, x1, y1, w_, h_, t0, t1)) return;
    int64_t ax = x0, ay = y0, bx = x1, by = y1;
    if (t0 > 0) {
        ax = std::llround(x0 + t0 * (static_cast<double>(x1) - x0));
        ay = std::llround(y0 + t0 * (static_cast<double>(y1) - y0));
    }
    if (t1 < 1) {
        bx = std::llround(x0 + t1 * (static_cast<double>(x1) - x0));
        by = std::llround(y0 + t1 * (static_cast<double>(y1) - y0));
    }
    // Where in the dash pattern the clipped start lies.
    const int64_t startPos = dashes_.empty() ? 0
                             : ax == x0 && ay == y0
                                 ? startInPattern
                                 : (startPhase + std::max(std::llabs(ax - x0), std::llabs(ay - y0))) % dashTotal_;
    const int64_t dx = std::llabs(bx - ax), dy = std::llabs(by - ay);
    const qsizetype rowStep = (by >= ay ? 1 : -1) * (stride_ / static_cast<qsizetype>(sizeof(QRgb)));
    const qsizetype colStep = bx >= ax ? 1 : -1;
    // Major and minor steps of the walk.
    const bool xMajor = dx >= dy;
    const int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const qsizetype majorStep = xMajor ? colStep : rowStep, minorStep = xMajor ? rowStep : colStep;
    // Only the steps in the rows written are walked; the walk starts there
    // in the state the whole walk has at that step.
    int64_t first = 0, last = major;
    if (top_ > 0 || bottom_ < h_ - 1) {
        StepsInRows(ay, by >= ay ? 1 : -1, xMajor, major, minor, top_, bottom_, first, last);
        if (first > last) return;
    }
    const int64_t moved = first == 0 ? 0 : (2 * minor * first + major - 1) / (2 * major);
    QRgb* p = reinterpret_cast<QRgb*>(bits_ + ay * stride_) + ax + first * majorStep + moved * minorStep;
    int64_t err = 2 * minor * (first + 1) - major - 2 * major * moved;
    // The dash the first pixel walked lies in, and how much of it is left.
    std::size_t k = 0;
    int64_t left = 0;
    if (!dashes_.empty()) {
        int64_t pos = first == 0 ? startPos : (startPos + first) % dashTotal_;
        while (pos >= dashes_[k]) {
            pos -= dashes_[k];
            k = (k + 1) % dashes_.size();
        }
        left = dashes_[k] - pos;
    }
    const int64_t span = last - first;
    const QRgb c = color_;
    const int64_t twoMinor = 2 * minor, twoMajor = 2 * major;
    // One step along the walk. A predicted branch on the error term beats
    // computing the address from it: the stores do not wait for the sum.
#define TOLVANI_STEP()                           \
    do {                                         \
        const bool side = err > 0;               \
        p += majorStep + (side ? minorStep : 0); \
        err += twoMinor - (side ? twoMajor : 0); \
    } while (false)
    if (dashes_.empty()) {
        for (int64_t i = 0; i < span; ++i) {
            *p = c;
            TOLVANI_STEP();
        }
        *p = c;
        return;
    }
    if (dashesPositive_) {
        // Dash by dash: a run of drawn pixels, then a run of skipped ones.
        int64_t remaining = span + 1;
        for (;;) {
            const int64_t n = std::min(left, remaining);
            remaining -= n;
            const int64_t steps = remaining == 0 ? n - 1 : n;
            if ((k & 1) == 0) {
                for (int64_t j = 0; j < steps; ++j) {
                    *p = c;
                    TOLVANI_STEP();
                }
                if (remaining == 0) {
                    *p = c;
                    return;
                }
            } else {
                for (int64_t j = 0; j < steps; ++j) TOLVANI_STEP();
                if (remaining == 0) return;
            }
            k = k + 1 == dashes_.size() ? 0 : k + 1;
            left = dashes_[k];
        }
    }
#undef TOLVANI_STEP
    for (int64_t i = 0;; ++i) {
        if ((k & 1) == 0) *p = c;
        if (i == span) break;
        if (--left == 0) {
            k = k + 1 == dashes_.size() ? 0 : k + 1;
            left = dashes_[k];
        }
        if (err > 0) {
            p += minorStep;
            err -= 2 * major;
        }
        err += 2 * minor;
        p += majorStep;
    }
}

void DirectRaster::Span(int64_t y, int64_t x0, int64_t x1, QRgb fill) {
    if (y < top_ || y > bottom_) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, w_ - 1);
    if (x0 > x1) return;
    auto* line = reinterpret_cast<QRgb*>(bits_ + y * stride_);
    std::fill(line + x0, line + x1 + 1, fill);
}

void DirectRaster::FillPolygon(const DevicePoint* points, std::size_t count, QRgb fill) {
    if (count < 3) return;
    std::vector<Edge>& edges = edges_;
    edges.clear();
    double top = 1e300, bottom = -1e300;
    for (std::size_t i = 0; i < count; ++i) {
        const DevicePoint& a = points[i];
        const DevicePoint& b = points[(i + 1) % count];
        if (a.y == b.y) continue;
        const bool down = a.y < b.y;
        const DevicePoint& u = down ? a : b;
        const DevicePoint& v = down ? b : a;
        edges.push_back({static_cast<double>(u.y), static_cast<double>(v.y), static_cast<double>(u.x),
                         static_cast<double>(v.x - u.x) / (v.y - u.y)});
        top = std::min(top, static_cast<double>(u.y));
        bottom = std::max(bottom, static_cast<double>(v.y));
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& p, const Edge& q) { return p.yTop < q.yTop; });
    // Every row stands alone: rows outside those written are left out.
    const int64_t y0 = std::max<int64_t>(top_, static_cast<int64_t>(std::floor(top)));
    const int64_t y1 = std::min<int64_t>(bottom_, static_cast<int64_t>(std::ceil(bottom)));
    std::vector<const Edge*>& active = active_;
    std::vector<double>& xs = xs_;
    active.clear();
    std::size_t next = 0;
    for (int64_t y = y0; y <= y1; ++y) {
        const double yc = static_cast<double>(y) + 0.5;
        while (next < edges.size() && edges[next].yTop <= yc) active.push_back(&edges[next++]);
        xs.clear();
        for (std::size_t i = 0; i < active.size();) {
            const Edge* e = active[i];
            if (e->yBottom <= yc) {
                active[i] = active.back();
                active.pop_back();
                continue;
            }
            if (e->yTop <= yc) xs.push_back(e->x + (yc - e->yTop) * e->slope);
            ++i;
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
            Span(y, static_cast<int64_t>(std::ceil(xs[i] - 0.5)), static_cast<int64_t>(std::ceil(xs[i + 1] - 0.5)) - 1,
                 fill);
    }
}

void DirectRaster::FillEllipse(double cx, double cy, double rx, double ry, QRgb fill) {
    if (!(rx > 0) || !(ry > 0)) return;
    const int64_t y0 = std::max<int64_t>(top_, static_cast<int64_t>(std::floor(cy - ry)));
    const int64_t y1 = std::min<int64_t>(bottom_, static_cast<int64_t>(std::ceil(cy + ry)));
    for (int64_t y = y0; y <= y1; ++y) {
        const double t = (static_cast<double>(y) + 0.5 - cy) / ry;
        if (t <= -1 || t >= 1) continue;
        const double hw = rx * std::sqrt(1 - t * t);
        Span(y, static_cast<int64_t>(std::ceil(cx - hw - 0.5)), static_cast<int64_t>(std::floor(cx + hw - 0.5)), fill);
    }
}

void DirectRaster::Runs(const std::vector<Run>& runs, int32_t x, int32_t y) {
    for (const Run& r : runs)
        Span(static_cast<int64_t>(y) + r.dy, static_cast<int64_t>(x) + r.dx,
             static_cast<int64_t>(x) + r.dx + r.length - 1, color_);
}

void DirectRaster::Mask(const std::vector<uint8_t>& bits, int width, int height, double ox, double oy, int32_t x,
                        int32_t y, double degrees) {
    if (width <= 0 || height <= 0) return;
    if (degrees == 0) {
        const int64_t left = x + static_cast<int64_t>(std::lround(ox)), top = y + static_cast<int64_t>(std::lround(oy));
        for (int r = 0; r < height; ++r) {
            const int64_t py = top + r;
            if (py < top_ || py > bottom_) continue;
            auto* line = reinterpret_cast<QRgb*>(bits_ + py * stride_);
            const uint8_t* row = &bits[static_cast<std::size_t>(r) * width];
            const int c0 = static_cast<int>(std::max<int64_t>(0, -left));
            const int c1 = static_cast<int>(std::min<int64_t>(width, w_ - left));
            for (int c = c0; c < c1; ++c)
                if (row[c]) line[left + c] = color_;
        }
        return;
    }
    // Device y grows downward: turning counter-clockwise on the screen is a
    // negative angle in these coordinates.
    const double a = -degrees * M_PI / 180;
    const double cs = std::cos(a), sn = std::sin(a);
    // Bounding box of the turned mask.
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (int i = 0; i < 4; ++i) {
        const double u = ox + (i & 1 ? width : 0), v = oy + (i & 2 ? height : 0);
        const double px = cs * u - sn * v, py = sn * u + cs * v;
        minX = std::min(minX, px);
        maxX = std::max(maxX, px);
        minY = std::min(minY, py);
        maxY = std::max(maxY, py);
    }
    const int64_t x0 = std::max<int64_t>(0, x + static_cast<int64_t>(std::floor(minX)));
    const int64_t x1 = std::min<int64_t>(w_ - 1, x + static_cast<int64_t>(std::ceil(maxX)));
    const int64_t y0 = std::max<int64_t>(top_, y + static_cast<int64_t>(std::floor(minY)));
    const int64_t y1 = std::min<int64_t>(bottom_, y + static_cast<int64_t>(std::ceil(maxY)));
    const double dx0 = static_cast<double>(x0 - x) + 0.5;
    // Back into the glyph's frame, one pixel step at a time along each row.
    auto rowStart = [&](int64_t py, double& u, double& v) {
        const double dy = static_cast<double>(py - y) + 0.5;
        u = cs * dx0 + sn * dy - ox;
        v = -sn * dx0 + cs * dy - oy;
    };
    auto ink = [&](double u, double v) {
        if (u < 0 || v < 0 || u >= width || v >= height) return false;
        return bits[static_cast<std::size_t>(static_cast<int>(v)) * width + static_cast<int>(u)] != 0;
    };
    const QRgb c = color_;
    int64_t py = y0;
    // Two rows at a time: each row's steps depend only on that row, and two
    // independent chains of additions keep the processor busier.
    for (; py < y1; py += 2) {
        auto* line0 = reinterpret_cast<QRgb*>(bits_ + py * stride_);
        auto* line1 = reinterpret_cast<QRgb*>(bits_ + (py + 1) * stride_);
        double u0, v0, u1, v1;
        rowStart(py, u0, v0);
        rowStart(py + 1, u1, v1);
        for (int64_t px = x0; px <= x1; ++px, u0 += cs, v0 -= sn, u1 += cs, v1 -= sn) {
            if (ink(u0, v0)) line0[px] = c;
            if (ink(u1, v1)) line1[px] = c;
        }
    }
    if (py == y1) {
        auto* line = reinterpret_cast<QRgb*>(bits_ + py * stride_);
        double u, v;
        rowStart(py, u, v);
        for (int64_t px = x0; px <= x1; ++px, u += cs, v -= sn)
            if (ink(u, v)) line[px] = c;
    }
}

}  // namespace tolvani::display
