#include "display/qt/GlyphCache.h"

#include <QPainter>
#include <algorithm>

namespace tolvani::display {

namespace {

// Masks kept before the cache starts over.
constexpr std::size_t kMaxMasks = 200000;

}  // namespace

GlyphCache& GlyphCache::Shared() {
    static GlyphCache cache;
    return cache;
}

int GlyphCache::FontId(const ResolvedFont& f) {
    std::string key = f.font.key().toStdString();
    key += '|' + std::to_string(f.height) + '|' + std::to_string(f.escapement) + (f.vertical ? "|v" : "|h");
    auto it = fontIds_.find(key);
    if (it != fontIds_.end()) return it->second;
    const int id = static_cast<int>(fontIds_.size()) + 1;
    fontIds_.emplace(std::move(key), id);
    return id;
}

const GlyphCache::Mask& GlyphCache::Render(const GlyphKey& key, const ResolvedFont& f, bool doubleByte, char32_t cp,
                                           const QString& text) {
    if (masks_.size() >= kMaxMasks) masks_.clear();
    Mask mask;
    const int h = std::max(1, f.height);
    const int half = 3 * h + 8;  // room for any glyph turned about the point
    QImage scratch(2 * half, 2 * half, QImage::Format_ARGB32_Premultiplied);
    scratch.fill(Qt::transparent);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setPen(QColor(255, 255, 255));
        PaintGlyph(p, QTransform(), half, half, f, doubleByte, cp, text);
    }
    for (int y = 0; y < scratch.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        int x = 0;
        while (x < scratch.width()) {
            if (qAlpha(line[x]) < 128) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < scratch.width() && qAlpha(line[x]) >= 128) ++x;
            mask.spans.push_back({y - half, start - half, x - start});
        }
    }
    return masks_.emplace(key, std::move(mask)).first->second;
}

void GlyphCache::Draw(QImage& image, int x, int y, int fontId, const ResolvedFont& f, bool doubleByte, char32_t cp,
                      const QString& text, QRgb color) {
    const GlyphKey key{fontId, cp, doubleByte};
    auto it = masks_.find(key);
    const Mask& mask = it != masks_.end() ? it->second : Render(key, f, doubleByte, cp, text);
    const int w = image.width(), h = image.height();
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (const Span& s : mask.spans) {
        const int64_t py = static_cast<int64_t>(y) + s.dy;
        if (py < 0 || py >= h) continue;
        int64_t x0 = static_cast<int64_t>(x) + s.dx, x1 = x0 + s.length;
        if (x1 <= 0 || x0 >= w) continue;
        x0 = std::max<int64_t>(x0, 0);
        x1 = std::min<int64_t>(x1, w);
        auto* line = reinterpret_cast<QRgb*>(bits + py * stride);
        std::fill(line + x0, line + x1, color);
    }
}

}  // namespace tolvani::display
