#include "display/qt/GlyphCache.h"

#include <QPainter>
#include <algorithm>

namespace tolvani::display {

namespace {

// Bytes of masks kept before the cache starts over.
constexpr std::size_t kMaxBytes = 160u << 20;

}  // namespace

GlyphCache& GlyphCache::Shared() {
    static GlyphCache cache;
    return cache;
}

int GlyphCache::FontId(const ResolvedFont& f) {
    std::string key = f.font.key().toStdString();
    key += '|' + std::to_string(f.height) + (f.vertical ? "|v" : "|h");
    auto it = fontIds_.find(key);
    if (it != fontIds_.end()) return it->second;
    const int id = static_cast<int>(fontIds_.size()) + 1;
    fontIds_.emplace(std::move(key), id);
    return id;
}

GlyphCache::Mask& GlyphCache::Render(std::unordered_map<uint32_t, Mask>& table, uint32_t key,
                                           const ResolvedFont& f, bool doubleByte, char32_t cp) {
    const QString text = QString::fromUcs4(&cp, 1);
    ResolvedFont upright = f;
    upright.escapement = 0;
    const int h = std::max(1, f.height);
    const int half = h + 8;  // unturned, every glyph lies within a cell or so of the point
    QImage scratch(half + 2 * h + 8, half + 2 * h + 8, QImage::Format_ARGB32_Premultiplied);
    scratch.fill(Qt::transparent);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setPen(QColor(255, 255, 255));
        PaintGlyph(p, QTransform(), half, half, upright, doubleByte, cp, text);
    }
    const int sw = scratch.width(), sh = scratch.height();
    int l = sw, t = sh, r = -1, b = -1;
    for (int y = 0; y < sh; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < sw; ++x)
            if (qAlpha(line[x]) >= 128) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
    }
    Mask mask;
    if (r >= 0) {
        mask.width = r - l + 1;
        mask.height = b - t + 1;
        mask.ox = l - half;
        mask.oy = t - half;
        for (int y = t; y <= b; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
            for (int x = l; x <= r;) {
                if (qAlpha(line[x]) < 128) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x <= r && qAlpha(line[x]) >= 128) ++x;
                mask.runs.push_back({static_cast<int16_t>(y - half), static_cast<int16_t>(start - half),
                                     static_cast<int16_t>(x - start)});
            }
        }
    }
    mask.runs.shrink_to_fit();
    maskBytes_ += sizeof(Mask) + mask.runs.size() * sizeof(DirectRaster::Run);
    return table.emplace(key, std::move(mask)).first->second;
}

void GlyphCache::MakeBits(Mask& mask) {
    mask.bits.assign(static_cast<std::size_t>(mask.width) * mask.height, 0);
    const int ox = static_cast<int>(mask.ox), oy = static_cast<int>(mask.oy);
    for (const DirectRaster::Run& run : mask.runs) {
        uint8_t* row = &mask.bits[static_cast<std::size_t>(run.dy - oy) * mask.width];
        std::fill(row + (run.dx - ox), row + (run.dx - ox + run.length), uint8_t{1});
    }
    maskBytes_ += mask.bits.size();
}

void GlyphCache::Draw(DirectRaster& raster, int x, int y, int fontId, const ResolvedFont& f, bool doubleByte,
                      char32_t cp) {
    if (maskBytes_ >= kMaxBytes) {
        for (auto& t : tables_) t.clear();
        maskBytes_ = 0;
    }
    if (fontId < 0) return;
    if (static_cast<std::size_t>(fontId) >= tables_.size()) tables_.resize(static_cast<std::size_t>(fontId) + 1);
    auto& table = tables_[static_cast<std::size_t>(fontId)];
    const uint32_t key = static_cast<uint32_t>(cp) * 2 + (doubleByte ? 1 : 0);
    auto it = table.find(key);
    Mask& mask = it != table.end() ? it->second : Render(table, key, f, doubleByte, cp);
    if (f.escapement == 0) {
        raster.Runs(mask.runs, x, y);
        return;
    }
    if (mask.bits.empty() && !mask.runs.empty()) MakeBits(mask);
    raster.Mask(mask.bits, mask.width, mask.height, mask.ox, mask.oy, x, y, f.escapement / 10.0);
}

}  // namespace tolvani::display
