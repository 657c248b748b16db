// The values of the settings sheet "Tolvani 設定" and of the display dialog:
// copies of the screen colours, line widths and text types of the drawing
// and of the settings ZoomUp and DotSize, the rules that change them, their
// texts, and the copy back on OK.
#pragma once

#include <cstdint>
#include <string>

#include "model/CJwwHeader.h"

namespace tolvani::settings {

class SettingsSheetRules {
public:
    static constexpr int kLineColors = 8;  // colours 1..8 are edited
    static constexpr int kDotSizeMin = 2;
    static constexpr int kDotSizeMax = 50;
    static constexpr uint32_t kMaxColorNumber = kColorEntries - 1;

    static int Red(uint32_t c) { return static_cast<int>(c & 0xFF); }
    static int Green(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
    static int Blue(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
    // red | green << 8 | blue << 16, each kept to its low 8 bits.
    static uint32_t Compose(long red, long green, long blue);
    // "%d" and the text-type sizes' "%5.1f".
    static std::string Number(long v);
    static std::string Size(double v);
    // The value a spin step leaves: position ± 1, kept inside 2..50.
    static int StepDotSize(int position, int step);
    // The position a spin control shows for a value: inside 2..50.
    static int ShownDotSize(int value);

    void CopyIn(const CJwwHeader& header, int zoomUp, int dotSize);

    struct Changes {
        bool drawing = false;   // a colour or a text type's colour number
        bool settings = false;  // ZoomUp or DotSize
    };
    // Writes colours and widths 0..8, the text types, ZoomUp and DotSize.
    Changes CopyOut(CJwwHeader& header, int& zoomUp, int& dotSize) const;

    // Colour n (1..8) becomes the chosen colour (24 bits).
    void ChooseColor(int n, uint32_t chosen) { color[n] = chosen & 0xFFFFFFu; }
    // A text type's colour number as typed; false (nothing changes) when it
    // is not a number 0..356.
    bool SetTextColor(int type, const std::string& typed);
    // The screen colour of a colour number, as the sheet shows it: entries
    // 0..8 from the sheet's copies, the others from the drawing's table.
    // False for a number outside the table.
    bool ScreenColor(uint32_t number, uint32_t& out) const;

    uint32_t color[kColorEntries] = {};
    uint32_t width[kLineColors + 1] = {};
    int zoomUp = 0;
    int dotSize = 16;
    double textWidth[kTextTypes + 1] = {};
    double textHeight[kTextTypes + 1] = {};
    double textSpacing[kTextTypes + 1] = {};
    uint32_t textColor[kTextTypes + 1] = {};
};

}  // namespace tolvani::settings
