// Pixel masks of glyphs drawn once with QPainter and then copied straight
// into RGB32 images: drawing a text glyph by glyph costs a few hundred
// pixel writes instead of a font set-up and a text layout per glyph.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "display/qt/GlyphPainter.h"

namespace tolvani::display {

struct GlyphKey {
    int fontId;  // identifies family, size, escapement and style
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

    // A number for the font that stays the same for equal fonts.
    int FontId(const ResolvedFont& f);

    // Writes the glyph into the image (RGB32 or ARGB32) at the point.
    void Draw(QImage& image, int x, int y, int fontId, const ResolvedFont& f, bool doubleByte, char32_t cp,
              const QString& text, QRgb color);

private:
    struct Span {
        int32_t dy, dx, length;
    };
    struct Mask {
        std::vector<Span> spans;
    };
    struct KeyHash {
        std::size_t operator()(const GlyphKey& k) const {
            return std::hash<uint64_t>()((static_cast<uint64_t>(k.fontId) << 33) ^ (static_cast<uint64_t>(k.cp) << 1) ^
                                         (k.doubleByte ? 1u : 0u));
        }
    };
    const Mask& Render(const GlyphKey& key, const ResolvedFont& f, bool doubleByte, char32_t cp, const QString& text);

    std::unordered_map<GlyphKey, Mask, KeyHash> masks_;
    std::unordered_map<std::string, int> fontIds_;
};

}  // namespace tolvani::display
