#include "display/qt/QtCanvas.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <algorithm>
#include <cmath>

#include "display/qt/DirectRaster.h"
#include "display/qt/GlyphCache.h"
#include "model/Cp932.h"

namespace tolvani::display {

namespace {

// Fonts higher than this many device units draw nothing; no device shows
// such a glyph whole.
constexpr int kMaxFontHeight = 20000;

QColor Q(Color c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The opaque QRgb of a colour, as QColor::rgb() gives it.
QRgb Rgb32(Color c) { return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// Fonts resolved once per thread: face, height and style; the escapement
// only turns what is drawn, so it is not part of the key. Each thread keeps
// its own fonts: a font's engine data belongs to the thread that uses it.
struct FontKey {
    std::string face;
    int height;
    int weight;
    int flags;
    friend bool operator==(const FontKey& a, const FontKey& b) {
        return a.height == b.height && a.weight == b.weight && a.flags == b.flags && a.face == b.face;
    }
};

struct FontKeyHash {
    std::size_t operator()(const FontKey& k) const {
        return std::hash<std::string>()(k.face) ^ (static_cast<std::size_t>(k.height) * 0x9E3779B97F4A7C15ULL) ^
               (static_cast<std::size_t>(k.weight) << 20) ^ static_cast<std::size_t>(k.flags);
    }
};

const ResolvedFont& ResolveBase(const LogFont& lf) {
    thread_local std::unordered_map<FontKey, std::unique_ptr<ResolvedFont>, FontKeyHash> fonts;
    thread_local std::unordered_map<QString, double> emPerCell;
    thread_local FontMapper mapper;
    const int h = std::abs(lf.height);
    FontKey key{lf.faceName, h, lf.weight, (lf.italic ? 1 : 0) | (lf.underline ? 2 : 0) | (lf.strikeOut ? 4 : 0)};
    auto it = fonts.find(key);
    if (it != fonts.end()) return *it->second;
    if (fonts.size() > 20000) fonts.clear();  // callers hold copies, never pointers
    auto rf = std::make_unique<ResolvedFont>();
    const bool vertical = !lf.faceName.empty() && lf.faceName[0] == '@';
    const std::string_view face = std::string_view(lf.faceName).substr(vertical ? 1 : 0);
    const QString& family = mapper.Family(face);
    QFont f(family);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    f.setHintingPreference(QFont::PreferFullHinting);
    // The height asked for is the whole cell; Qt sizes the em square.
    auto em = emPerCell.find(family);
    if (em == emPerCell.end()) {
        QFont probe(f);
        probe.setPixelSize(1000);
        const QFontMetricsF pm(probe);
        const double cell = pm.ascent() + pm.descent();
        em = emPerCell.emplace(family, cell > 0 ? 1000.0 / cell : 1.0).first;
    }
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(h * em->second))));
    f.setWeight(lf.weight >= 600 ? QFont::Bold : QFont::Normal);
    f.setItalic(lf.italic);
    f.setUnderline(lf.underline);
    f.setStrikeOut(lf.strikeOut);
    const QFontMetricsF fm(f);
    rf->font = f;
    rf->ascent = fm.ascent();
    rf->cellHeight = fm.ascent() + fm.descent();
    rf->height = h;
    rf->vertical = vertical;
    rf->cacheId = GlyphCache::Shared().FontId(*rf);
    return *fonts.emplace(std::move(key), std::move(rf)).first->second;
}

}  // namespace

QColor ToQColor(Color c) { return Q(c); }

QtCanvas::QtCanvas(QPainter& painter, double dpiX, double dpiY, QImage* image)
    : painter_(painter), dpiX_(dpiX > 0 ? dpiX : 96), dpiY_(dpiY > 0 ? dpiY : 96), image_(image) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setBackgroundMode(Qt::OpaqueMode);
    qpen_ = QPen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    qpen_.setCosmetic(true);
    painter_.setPen(qpen_);
    painter_.setBrush(Qt::NoBrush);
    // Pixels are written straight into the image only where they land
    // exactly where the painter would put them: one device unit per pixel,
    // nothing turned, moved or clipped, and plain copying of the colour.
    const bool exact = image_ && painter_.device() == image_ && image_->devicePixelRatio() == 1 &&
                       painter_.deviceTransform().isIdentity() && !painter_.hasClipping() && painter_.opacity() == 1 &&
                       painter_.compositionMode() == QPainter::CompositionMode_SourceOver;
    if (exact && (image_->format() == QImage::Format_RGB32 || image_->format() == QImage::Format_ARGB32 ||
                  image_->format() == QImage::Format_ARGB32_Premultiplied)) {
        direct_ = true;
        raster_ = std::make_unique<DirectRaster>(*image_);
        hasVisible_ = true;
        visible_ = {0, 0, image_->width() - 1, image_->height() - 1};
    } else if (image_ && painter_.device() == image_) {
        // What of the painter's coordinates lands on the image.
        bool invertible = false;
        const QTransform back = painter_.deviceTransform().inverted(&invertible);
        const QRectF f = back.mapRect(QRectF(image_->rect()));
        if (invertible && std::fabs(f.left()) < 1e9 && std::fabs(f.right()) < 1e9 && std::fabs(f.top()) < 1e9 &&
            std::fabs(f.bottom()) < 1e9) {
            const QRect r = f.toAlignedRect();
            hasVisible_ = true;
            visible_ = {r.left() - 1, r.top() - 1, r.right() + 1, r.bottom() + 1};
        }
    }
}

QtCanvas::~QtCanvas() = default;

DeviceSize HimetricToDevice(DeviceSize h, double dpiX, double dpiY) {
    return {static_cast<int32_t>(std::lround(h.width * dpiX / 2540.0)),
            static_cast<int32_t>(std::lround(h.height * dpiY / 2540.0))};
}

DeviceSize DeviceToHimetric(DeviceSize d, double dpiX, double dpiY) {
    return {static_cast<int32_t>(std::lround(d.width * 2540.0 / dpiX)),
            static_cast<int32_t>(std::lround(d.height * 2540.0 / dpiY))};
}

DeviceSize QtCanvas::HimetricToDevice(DeviceSize h) const { return display::HimetricToDevice(h, dpiX_, dpiY_); }

DeviceSize QtCanvas::DeviceToHimetric(DeviceSize d) const { return display::DeviceToHimetric(d, dpiX_, dpiY_); }

void QtCanvas::SetWindowOrigin(DevicePoint origin) {
    QRect w = painter_.window();
    w.moveTo(origin.x, origin.y);
    painter_.setWindow(w);
    direct_ = false;
}

void QtCanvas::SetWindowExtents(DeviceSize window, DeviceSize viewport) {
    const QRect w = painter_.window();
    painter_.setWindow(w.x(), w.y(), window.width, window.height);
    painter_.setViewport(0, 0, viewport.width, viewport.height);
    if (window.width != viewport.width || window.height != viewport.height) direct_ = false;
}

// Dash lengths in pen widths, close to those of common desktop systems.
const std::vector<int>& DashPattern(PenStyle style) {
    static const std::vector<int> solid, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
        case PenStyle::Dash: return dash;
        case PenStyle::Dot: return dot;
        case PenStyle::DashDot: return dashDot;
        case PenStyle::DashDotDot: return dashDotDot;
        default: return solid;
    }
}

void QtCanvas::DashesFor(PenStyle style) { raster_->SetDashes(DashPattern(style)); }

void QtCanvas::ApplyPen() {
    painterPenDirty_ = true;
    if (raster_) {
        raster_->SetColor(Rgb32(pen_.color));
        DashesFor(pen_.style);
    }
}

void QtCanvas::ApplyPainterPen() {
    painterPenDirty_ = false;
    qpen_.setColor(Q(pen_.color));
    qpen_.setWidth(pen_.width > 1 ? pen_.width : 1);
    qpen_.setCosmetic(true);
    if (pen_.style == PenStyle::Solid) {
        qpen_.setStyle(Qt::SolidLine);
    } else {
        const auto& d = DashPattern(pen_.style);
        qpen_.setDashPattern(QList<qreal>(d.begin(), d.end()));
    }
    painter_.setPen(qpen_);
}

void QtCanvas::SetPen(const Pen& pen) {
    if (pen == pen_) return;
    pen_ = pen;
    ApplyPen();
}

void QtCanvas::SetBrush(const Brush& brush) {
    brush_ = brush;
    painterBrushDirty_ = true;
}

void QtCanvas::ApplyPainterBrush() {
    painterBrushDirty_ = false;
    painter_.setBrush(brush_.solid ? QBrush(Q(brush_.color)) : QBrush(Qt::NoBrush));
}

void QtCanvas::MoveTo(int32_t x, int32_t y) {
    current_ = QPoint(x, y);
    if (raster_) raster_->StartRun();
}

void QtCanvas::LineTo(int32_t x, int32_t y) {
    const QPoint to(x, y);
    if (ThinDirect())
        raster_->Line(current_.x(), current_.y(), x, y);
    else {
        SyncPainter();
        painter_.drawLine(current_, to);
    }
    current_ = to;
}

const QPolygon& QtCanvas::ToPolygon(const DevicePoint* points, std::size_t count) {
    polygon_.resize(static_cast<int>(count));
    for (std::size_t i = 0; i < count; ++i) polygon_[static_cast<int>(i)] = QPoint(points[i].x, points[i].y);
    return polygon_;
}

void QtCanvas::Polyline(const DevicePoint* points, std::size_t count) {
    if (count < 2) return;
    if (ThinDirect()) {
        raster_->StartRun();
        for (std::size_t i = 1; i < count; ++i)
            raster_->Line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
        return;
    }
    SyncPainter();
    painter_.drawPolyline(ToPolygon(points, count));
}

// An unfilled ellipse as a fine polyline of its own pixels' size.
void QtCanvas::ThinEllipse(const QRect& r) {
    const double cx = r.x() + r.width() / 2.0, cy = r.y() + r.height() / 2.0;
    const double rx = r.width() / 2.0, ry = r.height() / 2.0;
    const double reach = std::max(rx, ry);
    const int n = static_cast<int>(std::clamp(reach * 1.5, 8.0, 2000.0));
    raster_->StartRun();
    int px = static_cast<int>(std::lround(cx + rx)), py = static_cast<int>(std::lround(cy));
    // The unit vector turned step by step, closing exactly.
    const double step = 2 * M_PI / n, cs = std::cos(step), sn = std::sin(step);
    double u = 1, v = 0;
    for (int i = 1; i <= n; ++i) {
        const double nu = u * cs - v * sn;
        v = u * sn + v * cs;
        u = nu;
        if (i == n) {
            u = 1;
            v = 0;
        }
        const int qx = static_cast<int>(std::lround(cx + rx * u));
        const int qy = static_cast<int>(std::lround(cy - ry * v));
        raster_->Line(px, py, qx, qy);
        px = qx;
        py = qy;
    }
}

namespace {

// Within this range the pixel walks work in plain doubles and integers.
bool Moderate(const DevicePoint* points, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (std::abs(points[i].x) > 1000000 || std::abs(points[i].y) > 1000000) return false;
    return true;
}

}  // namespace

void QtCanvas::Polygon(const DevicePoint* points, std::size_t count) {
    if (count < 2) return;
    if (ThinDirect() && Moderate(points, count)) {
        if (brush_.solid) raster_->FillPolygon(points, count, Rgb32(brush_.color));
        raster_->StartRun();
        for (std::size_t i = 0; i < count; ++i) {
            const DevicePoint& a = points[i];
            const DevicePoint& b = points[(i + 1) % count];
            raster_->Line(a.x, a.y, b.x, b.y);
        }
        return;
    }
    SyncPainter();
    painter_.drawPolygon(ToPolygon(points, count), Qt::OddEvenFill);
}

QRect QtCanvas::BoxRect(const DeviceRect& b) {
    const int l = std::min(b.left, b.right), r = std::max(b.left, b.right);
    const int t = std::min(b.top, b.bottom), d = std::max(b.top, b.bottom);
    return QRect(l, t, r - l, d - t);
}

void QtCanvas::Ellipse(const DeviceRect& box) {
    const QRect r = BoxRect(box);
    if (ThinDirect() && r.width() < 100000 && r.height() < 100000 && std::abs(r.x()) < 1000000 &&
        std::abs(r.y()) < 1000000) {
        if (brush_.solid)
            raster_->FillEllipse(r.x() + r.width() / 2.0, r.y() + r.height() / 2.0, r.width() / 2.0, r.height() / 2.0,
                                 Rgb32(brush_.color));
        ThinEllipse(r);
        return;
    }
    SyncPainter();
    painter_.drawEllipse(r);
}

void QtCanvas::Chord(const DeviceRect& box, DevicePoint r1, DevicePoint r2) {
    const QRect rect = BoxRect(box);
    if (r1 == r2) {
        Ellipse(box);
        return;
    }
    const QPointF c = QRectF(rect).center();
    const double a1 = std::atan2(c.y() - r1.y, r1.x - c.x()) * 180 / M_PI;
    double a2 = std::atan2(c.y() - r2.y, r2.x - c.x()) * 180 / M_PI;
    if (a2 <= a1) a2 += 360;
    SyncPainter();
    painter_.drawChord(rect, static_cast<int>(std::lround(a1 * 16)), static_cast<int>(std::lround((a2 - a1) * 16)));
}

void QtCanvas::Rectangle(const DeviceRect& box) {
    const QRect r = BoxRect(box);
    SyncPainter();
    painter_.drawRect(QRect(r.x(), r.y(), std::max(0, r.width() - 1), std::max(0, r.height() - 1)));
}

void QtCanvas::SetPixel(int32_t x, int32_t y, Color color) {
    SyncPainter();
    const QPen saved = painter_.pen();
    QPen p(Q(color));
    p.setCosmetic(true);
    painter_.setPen(p);
    painter_.drawPoint(x, y);
    painter_.setPen(saved);
}

void QtCanvas::SetTextColor(Color color) { textColor_ = color; }
void QtCanvas::SetBackgroundColor(Color color) {
    backgroundColor_ = color;
    painter_.setBackground(QBrush(Q(color)));
}
void QtCanvas::SetBackgroundMode(BackgroundMode mode) {
    if (mode == backgroundMode_) return;
    backgroundMode_ = mode;
    painter_.setBackgroundMode(mode == BackgroundMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
}

void QtCanvas::SetFont(const LogFont& font) {
    if (resolved_ && font == font_) return;
    font_ = font;
    resolved_ = nullptr;
}

const ResolvedFont& QtCanvas::Resolve(const LogFont& lf) {
    currentFont_ = ResolveBase(lf);
    currentFont_.escapement = lf.escapement;
    return currentFont_;
}

void QtCanvas::TextOut(int32_t x, int32_t y, std::string_view bytes, char32_t original) {
    if (bytes.empty()) return;
    const int h = std::abs(font_.height);
    if (h == 0 || h > kMaxFontHeight) return;
    const auto b0 = static_cast<uint8_t>(bytes[0]);
    const bool doubleByte = bytes.size() >= 2 && IsCp932LeadByte(b0);
    char32_t cp = original;
    if (cp == 0)
        cp = doubleByte ? Cp932CharToUnicode(static_cast<uint16_t>((b0 << 8) | static_cast<uint8_t>(bytes[1])))
                        : Cp932CharToUnicode(b0);
    if (cp == 0 || cp < 0x20 || cp == 0x7F) return;
    if (!resolved_) resolved_ = &Resolve(font_);
    if (direct_ && copyMode_ && h <= GlyphCache::kMaxHeight) {
        GlyphCache& cache = GlyphCache::Shared();
        raster_->SetColor(Rgb32(textColor_));
        cache.Draw(*raster_, x, y, resolved_->cacheId, *resolved_, doubleByte, cp);
        raster_->SetColor(Rgb32(pen_.color));
        return;
    }
    const QString text = QString::fromUcs4(&cp, 1);
    SyncPainter();
    const QTransform saved = painter_.transform();
    const QPen savedPen = painter_.pen();
    painter_.setPen(Q(textColor_));
    PaintGlyph(painter_, saved, x, y, *resolved_, doubleByte, cp, text);
    painter_.setTransform(saved);
    painter_.setPen(savedPen);
}

bool QtCanvas::SetRasterMode(RasterMode mode) {
    const bool raster = painter_.paintEngine() && painter_.paintEngine()->type() == QPaintEngine::Raster;
    if (mode == RasterMode::NotXorPen) {
        if (!raster) return false;
        painter_.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        copyMode_ = false;
    } else {
        painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        copyMode_ = true;
    }
    return true;
}

void QtCanvas::SetBand(int top, int bottom) {
    if (!image_) return;
    top = std::max(0, top);
    bottom = std::min(image_->height() - 1, bottom);
    painter_.setClipRect(QRect(0, top, image_->width(), std::max(0, bottom - top + 1)));
    if (raster_) raster_->SetRows(top, bottom);
    SetVisibleBox({0, top, image_->width() - 1, bottom});
}

void QtCanvas::SetVisibleBox(const DeviceRect& box) {
    hasVisible_ = true;
    visible_ = box;
}

bool QtCanvas::VisibleBox(DeviceRect& box) const {
    if (!hasVisible_) return false;
    box = visible_;
    return true;
}

}  // namespace tolvani::display
