#include "display/qt/GlyphCache.h"

#include <QPainter>
#include <algorithm>
#include <mutex>

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
    std::unique_lock lock(mutex_);
    auto it = fontIds_.find(key);
    if (it != fontIds_.end()) return it->second;
    const int id = static_cast<int>(fontIds_.size()) + 1;
    fontIds_.emplace(std::move(key), id);
    return id;
}

GlyphCache::Mask GlyphCache::Render(const ResolvedFont& f, bool doubleByte, char32_t cp) {
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
    return mask;
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

const GlyphCache::Mask* GlyphCache::Find(int fontId, uint32_t key) const {
    if (static_cast<std::size_t>(fontId) >= tables_.size()) return nullptr;
    const auto& table = tables_[static_cast<std::size_t>(fontId)];
    auto it = table.find(key);
    return it != table.end() ? &it->second : nullptr;
}

void GlyphCache::Paint(DirectRaster& raster, const Mask& mask, int x, int y, const ResolvedFont& f) {
    if (f.escapement == 0)
        raster.Runs(mask.runs, x, y);
    else
        raster.Mask(mask.bits, mask.width, mask.height, mask.ox, mask.oy, x, y, f.escapement / 10.0);
}

void GlyphCache::Draw(DirectRaster& raster, int x, int y, int fontId, const ResolvedFont& f, bool doubleByte,
                      char32_t cp) {
    if (fontId <= 0) return;
    const uint32_t key = static_cast<uint32_t>(cp) * 2 + (doubleByte ? 1 : 0);
    const bool turned = f.escapement != 0;
    bool present = false;
    {
        std::shared_lock lock(mutex_);
        if (const Mask* m = Find(fontId, key)) {
            if (!turned || !m->bits.empty() || m->runs.empty()) {
                Paint(raster, *m, x, y, f);
                return;
            }
            present = true;  // only its turned form is still to be made
        }
    }
    // A new glyph is drawn outside the lock, so that other draws go on.
    Mask fresh;
    if (!present) fresh = Render(f, doubleByte, cp);
    std::unique_lock lock(mutex_);
    if (maskBytes_ >= kMaxBytes) {
        for (auto& t : tables_) t.clear();
        maskBytes_ = 0;
    }
    if (static_cast<std::size_t>(fontId) >= tables_.size()) tables_.resize(static_cast<std::size_t>(fontId) + 1);
    auto& table = tables_[static_cast<std::size_t>(fontId)];
    auto it = table.find(key);
    if (it == table.end()) {
        if (present) fresh = Render(f, doubleByte, cp);  // the cache started over meanwhile
        maskBytes_ += sizeof(Mask) + fresh.runs.size() * sizeof(DirectRaster::Run);
        it = table.emplace(key, std::move(fresh)).first;
    }
    Mask& mask = it->second;
    if (turned && mask.bits.empty() && !mask.runs.empty()) MakeBits(mask);
    Paint(raster, mask, x, y, f);
}

}  // namespace tolvani::display
