// Pixel masks of glyphs drawn once with QPainter, unturned, and then copied
// (turned by the escapement) straight into RGB32 images: drawing a text
// glyph by glyph costs a few hundred pixel writes instead of a font set-up
// and a text layout per glyph, and texts at any angle share their masks.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "display/qt/DirectRaster.h"
#include "display/qt/GlyphPainter.h"

namespace tolvani::display {

struct GlyphKey {
    int fontId;  // identifies family, size and style (not the escapement)
    char32_t cp;
    bool doubleByte;
    friend bool operator==(const GlyphKey& a, const GlyphKey& b) {
        return a.fontId == b.fontId && a.cp == b.cp && a.doubleByte == b.doubleByte;
    }
};

class GlyphCache {
public:
    // Glyphs whose cell is higher than this are drawn by QPainter directly.
    static constexpr int kMaxHeight = 160;

    // The cache shared by every image canvas (user-interface thread only).
    static GlyphCache& Shared();

    // A number for the font that stays the same for fonts that differ only
    // in their escapement.
    int FontId(const ResolvedFont& f);

    // Writes the glyph at the point through the raster (colour set there).
    void Draw(DirectRaster& raster, int x, int y, int fontId, const ResolvedFont& f, bool doubleByte, char32_t cp,
              const QString& text);

private:
    struct Mask {
        std::vector<uint8_t> bits;
        int width = 0, height = 0;
        double ox = 0, oy = 0;  // pixel (0, 0) from the point
        std::vector<DirectRaster::Run> runs;  // the same ink, for unturned glyphs
    };
    struct KeyHash {
        std::size_t operator()(const GlyphKey& k) const {
            uint64_t h = static_cast<uint64_t>(k.fontId) * 0x9E3779B97F4A7C15ULL ^
                         (static_cast<uint64_t>(k.cp) * 2 + (k.doubleByte ? 1 : 0)) * 0xC2B2AE3D27D4EB4FULL;
            return static_cast<std::size_t>(h ^ (h >> 29));
        }
    };
    const Mask& Render(const GlyphKey& key, const ResolvedFont& f, bool doubleByte, char32_t cp, const QString& text);

    std::unordered_map<GlyphKey, Mask, KeyHash> masks_;
    std::unordered_map<std::string, int> fontIds_;
};

}  // namespace tolvani::display
