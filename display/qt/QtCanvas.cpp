#include "display/qt/QtCanvas.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <cmath>

#include "display/qt/GlyphCache.h"
#include "model/Cp932.h"

namespace tolvani::display {

namespace {

// Fonts higher than this many device units draw nothing; no device shows
// such a glyph whole.
constexpr int kMaxFontHeight = 20000;

QColor Q(Color c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

QColor ToQColor(Color c) { return Q(c); }

std::size_t QtCanvas::FontKeyHash::operator()(const LogFont& f) const {
    std::size_t h = std::hash<std::string>()(f.faceName);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2); };
    mix(static_cast<std::size_t>(f.height));
    mix(static_cast<std::size_t>(f.escapement));
    mix(static_cast<std::size_t>(f.orientation));
    mix(static_cast<std::size_t>(f.weight));
    mix((f.italic ? 1u : 0u) | (f.underline ? 2u : 0u) | (f.strikeOut ? 4u : 0u));
    return h;
}

QtCanvas::QtCanvas(QPainter& painter, double dpiX, double dpiY, QImage* image)
    : painter_(painter), dpiX_(dpiX > 0 ? dpiX : 96), dpiY_(dpiY > 0 ? dpiY : 96), image_(image) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setBackgroundMode(Qt::OpaqueMode);
    qpen_ = QPen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    qpen_.setCosmetic(true);
    painter_.setPen(qpen_);
    painter_.setBrush(Qt::NoBrush);
    if (image_ && (image_->format() == QImage::Format_RGB32 || image_->format() == QImage::Format_ARGB32 ||
                   image_->format() == QImage::Format_ARGB32_Premultiplied)) {
        direct_ = true;
        hasVisible_ = true;
        visible_ = {0, 0, image_->width() - 1, image_->height() - 1};
    }
}

QtCanvas::~QtCanvas() = default;

DeviceSize QtCanvas::HimetricToDevice(DeviceSize h) const {
    return {static_cast<int32_t>(std::lround(h.width * dpiX_ / 2540.0)),
            static_cast<int32_t>(std::lround(h.height * dpiY_ / 2540.0))};
}

DeviceSize QtCanvas::DeviceToHimetric(DeviceSize d) const {
    return {static_cast<int32_t>(std::lround(d.width * 2540.0 / dpiX_)),
            static_cast<int32_t>(std::lround(d.height * 2540.0 / dpiY_))};
}

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

void QtCanvas::ApplyPen() {
    qpen_.setColor(Q(pen_.color));
    qpen_.setWidth(pen_.width > 1 ? pen_.width : 1);
    qpen_.setCosmetic(true);
    switch (pen_.style) {
    case PenStyle::Solid: qpen_.setStyle(Qt::SolidLine); break;
    // Dash lengths in pen widths, close to those of common desktop systems.
    case PenStyle::Dash: qpen_.setDashPattern({18, 6}); break;
    case PenStyle::Dot: qpen_.setDashPattern({3, 3}); break;
    case PenStyle::DashDot: qpen_.setDashPattern({9, 6, 3, 6}); break;
    case PenStyle::DashDotDot: qpen_.setDashPattern({9, 3, 3, 3, 3, 3}); break;
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
    painter_.setBrush(brush.solid ? QBrush(Q(brush.color)) : QBrush(Qt::NoBrush));
}

void QtCanvas::MoveTo(int32_t x, int32_t y) { current_ = QPoint(x, y); }

void QtCanvas::LineTo(int32_t x, int32_t y) {
    const QPoint to(x, y);
    painter_.drawLine(current_, to);
    current_ = to;
}

const QPolygon& QtCanvas::ToPolygon(const DevicePoint* points, std::size_t count) {
    polygon_.resize(static_cast<int>(count));
    for (std::size_t i = 0; i < count; ++i) polygon_[static_cast<int>(i)] = QPoint(points[i].x, points[i].y);
    return polygon_;
}

void QtCanvas::Polyline(const DevicePoint* points, std::size_t count) {
    if (count < 2) return;
    painter_.drawPolyline(ToPolygon(points, count));
}

void QtCanvas::Polygon(const DevicePoint* points, std::size_t count) {
    if (count < 2) return;
    painter_.drawPolygon(ToPolygon(points, count), Qt::OddEvenFill);
}

QRect QtCanvas::BoxRect(const DeviceRect& b) {
    const int l = std::min(b.left, b.right), r = std::max(b.left, b.right);
    const int t = std::min(b.top, b.bottom), d = std::max(b.top, b.bottom);
    return QRect(l, t, r - l, d - t);
}

void QtCanvas::Ellipse(const DeviceRect& box) { painter_.drawEllipse(BoxRect(box)); }

void QtCanvas::Chord(const DeviceRect& box, DevicePoint r1, DevicePoint r2) {
    const QRect rect = BoxRect(box);
    if (r1 == r2) {
        painter_.drawEllipse(rect);
        return;
    }
    const QPointF c = QRectF(rect).center();
    const double a1 = std::atan2(c.y() - r1.y, r1.x - c.x()) * 180 / M_PI;
    double a2 = std::atan2(c.y() - r2.y, r2.x - c.x()) * 180 / M_PI;
    if (a2 <= a1) a2 += 360;
    painter_.drawChord(rect, static_cast<int>(std::lround(a1 * 16)), static_cast<int>(std::lround((a2 - a1) * 16)));
}

void QtCanvas::Rectangle(const DeviceRect& box) {
    const QRect r = BoxRect(box);
    painter_.drawRect(QRect(r.x(), r.y(), std::max(0, r.width() - 1), std::max(0, r.height() - 1)));
}

void QtCanvas::SetPixel(int32_t x, int32_t y, Color color) {
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
    backgroundMode_ = mode;
    painter_.setBackgroundMode(mode == BackgroundMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
}

void QtCanvas::SetFont(const LogFont& font) {
    if (resolved_ && font == font_) return;
    font_ = font;
    resolved_ = nullptr;
}

const ResolvedFont& QtCanvas::Resolve(const LogFont& lf) {
    auto it = fonts_.find(lf);
    if (it != fonts_.end()) return *it->second;
    auto rf = std::make_unique<ResolvedFont>();
    const bool vertical = !lf.faceName.empty() && lf.faceName[0] == '@';
    const std::string_view face = std::string_view(lf.faceName).substr(vertical ? 1 : 0);
    const int h = std::abs(lf.height);
    QFont f(mapper_.Family(face));
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    f.setHintingPreference(QFont::PreferFullHinting);
    // The height asked for is the whole cell; Qt sizes the em square.
    QFont probe(f);
    probe.setPixelSize(1000);
    const QFontMetricsF pm(probe);
    const double cell = pm.ascent() + pm.descent();
    const double em = cell > 0 ? 1000.0 / cell : 1.0;
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(h * em))));
    f.setWeight(lf.weight >= 600 ? QFont::Bold : QFont::Normal);
    f.setItalic(lf.italic);
    f.setUnderline(lf.underline);
    f.setStrikeOut(lf.strikeOut);
    const QFontMetricsF fm(f);
    rf->font = f;
    rf->ascent = fm.ascent();
    rf->cellHeight = fm.ascent() + fm.descent();
    rf->height = h;
    rf->escapement = lf.escapement;
    rf->vertical = vertical;
    return *fonts_.emplace(lf, std::move(rf)).first->second;
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
    const QString text = QString::fromUcs4(&cp, 1);
    if (direct_ && h <= GlyphCache::kMaxHeight) {
        GlyphCache& cache = GlyphCache::Shared();
        auto* rf = const_cast<ResolvedFont*>(resolved_);
        if (rf->cacheId == 0) rf->cacheId = cache.FontId(*rf);
        cache.Draw(*image_, x, y, rf->cacheId, *rf, doubleByte, cp, text, Q(textColor_).rgb());
        return;
    }
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
    } else {
        painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    return true;
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
