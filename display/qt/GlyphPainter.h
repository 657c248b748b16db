// Draws one glyph of a text with QPainter the way the text model places it:
// the point is the top-left corner of the glyph's cell, turned with the
// escapement. Faces beginning with "@" write vertically: full-width glyphs
// stand upright in a square cell, brackets, dashes, the long-vowel mark and
// wave dashes lie turned along the line, "、" "。" and small kana sit toward
// the upper right of their cell, and half-width glyphs stand upright with
// their top-left corner at the point.
#pragma once

#include <QFont>
#include <QPainter>
#include <QString>

namespace tolvani::display {

struct ResolvedFont {
    QFont font;
    double ascent = 0;      // pixels, at the font's size
    double cellHeight = 0;  // ascent + descent
    int height = 0;         // requested cell height, device units
    int escapement = 0;     // tenths of a degree, counter-clockwise
    bool vertical = false;
    int cacheId = 0;  // the glyph cache's number for this font
};

// How a full-width character stands in vertical writing.
enum class VerticalForm { Upright, Turned, Corner, SmallKana };
VerticalForm VerticalFormOf(char32_t cp);

// Draws `text` (one character) at (x, y) in the painter's current
// coordinates composed with `base`.
void PaintGlyph(QPainter& painter, const QTransform& base, double x, double y, const ResolvedFont& f, bool doubleByte,
                char32_t cp, const QString& text);

}  // namespace tolvani::display
