// Lays out one text glyph by glyph in the drawing's own text model: full-
// width characters advance a whole step, half-width ones half a step, and
// "^" escapes switch the font or place the next glyph above, below or over.
#pragma once

#include <string>
#include <string_view>

#include "display/CJwwScreen.h"
#include "display/Canvas.h"

namespace tolvani::display {

struct TextParams {
    bool vertical = false;
    int style = 0;              // 1 italic, 2 bold, 3 both
    std::string_view fontName;  // code page 932
    std::string_view text;      // code page 932; ends at the first 0 byte
    // The text as the drawing kept it when some characters have no code
    // page 932 form (null otherwise).
    const std::u16string* original = nullptr;
    double startX = 0, startY = 0;
    double endX = 0, endY = 0;
    double width = 0, height = 0, spacing = 0;
    double angle = 0;  // degrees, counter-clockwise
};

// Draws the text. When `visible` is given, glyphs wholly outside it are
// skipped. Returns false when the text is too small to reach the canvas at
// all (nothing, not even the background mode, was handed to it).
bool DrawString(Canvas& canvas, const CJwwScreen& screen, const TextParams& p, const DeviceRect* visible);

}  // namespace tolvani::display
