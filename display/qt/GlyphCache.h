// Pixel masks of glyphs drawn once with QPainter, unturned, and then copied
// (turned by the escapement) straight into RGB32 images: drawing a text
// glyph by glyph costs a few hundred pixel writes instead of a font set-up
// and a text layout per glyph, and texts at any angle share their masks.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <shared_mutex>
#include <unordered_map>
#include <vector>

#include "display/qt/DirectRaster.h"
#include "display/qt/GlyphPainter.h"

namespace tolvani::display {

class GlyphCache {
public:
    // Glyphs whose cell is higher than this are drawn by QPainter directly.
    static constexpr int kMaxHeight = 160;

    // The cache shared by every image canvas, on any thread: masks are
    // looked up under a shared lock and added under an exclusive one; a
    // missing mask is made outside the lock.
    static GlyphCache& Shared();

    // A number for the font that stays the same for fonts that differ only
    // in their escapement.
    int FontId(const ResolvedFont& f);

    // Writes the glyph at the point through the raster (colour set there).
    void Draw(DirectRaster& raster, int x, int y, int fontId, const ResolvedFont& f, bool doubleByte, char32_t cp);

private:
    struct Mask {
        // One byte per pixel, made from the runs the first time the glyph
        // is drawn turned.
        std::vector<uint8_t> bits;
        int width = 0, height = 0;
        double ox = 0, oy = 0;                // pixel (0, 0) from the point
        std::vector<DirectRaster::Run> runs;  // the ink, row by row
    };
    void MakeBits(Mask& mask);
    static Mask Render(const ResolvedFont& f, bool doubleByte, char32_t cp);
    // The mask in the tables, or null (shared lock held).
    const Mask* Find(int fontId, uint32_t key) const;
    static void Paint(DirectRaster& raster, const Mask& mask, int x, int y, const ResolvedFont& f);

    mutable std::shared_mutex mutex_;
    // Masks by font number, then by character: each font's table stays
    // small, so finding a glyph touches little memory.
    std::vector<std::unordered_map<uint32_t, Mask>> tables_;
    std::size_t maskBytes_ = 0;
    std::unordered_map<std::string, int> fontIds_;
};

}  // namespace tolvani::display
