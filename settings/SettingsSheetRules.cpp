#include "settings/SettingsSheetRules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tolvani::settings {

uint32_t SettingsSheetRules::Compose(long red, long green, long blue) {
    return (static_cast<uint32_t>(red) & 0xFF) | (static_cast<uint32_t>(green) & 0xFF) << 8 |
           (static_cast<uint32_t>(blue) & 0xFF) << 16;
}

std::string SettingsSheetRules::Number(long v) { return std::to_string(v); }

std::string SettingsSheetRules::Size(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%5.1f", v);
    return buf;
}

int SettingsSheetRules::StepDotSize(int position, int step) {
    const long next = static_cast<long>(position) + (step > 0 ? 1 : step < 0 ? -1 : 0);
    return static_cast<int>(std::clamp<long>(next, kDotSizeMin, kDotSizeMax));
}

int SettingsSheetRules::ShownDotSize(int value) { return std::clamp(value, kDotSizeMin, kDotSizeMax); }

void SettingsSheetRules::CopyIn(const CJwwHeader& header, int zoom, int dot) {
    std::copy(std::begin(header.color), std::end(header.color), std::begin(color));
    std::copy(header.colorWidth, header.colorWidth + kLineColors + 1, width);
    zoomUp = zoom;
    dotSize = dot;
    for (int t = 1; t <= kTextTypes; ++t) {
        textWidth[t] = header.textWidth[t];
        textHeight[t] = header.textHeight[t];
        textSpacing[t] = header.textSpacing[t];
        textColor[t] = header.textColor[t];
    }
}

SettingsSheetRules::Changes SettingsSheetRules::CopyOut(CJwwHeader& header, int& zoom, int& dot) const {
    Changes c;
    for (int n = 0; n <= kLineColors; ++n) {
        c.drawing = c.drawing || header.color[n] != color[n] || header.colorWidth[n] != width[n];
        header.color[n] = color[n];
        header.colorWidth[n] = width[n];
    }
    for (int t = 1; t <= kTextTypes; ++t) {
        c.drawing = c.drawing || header.textColor[t] != textColor[t];
        header.textColor[t] = textColor[t];
    }
    c.settings = zoom != zoomUp || dot != dotSize;
    zoom = zoomUp;
    dot = dotSize;
    return c;
}

bool SettingsSheetRules::SetTextColor(int type, const std::string& typed) {
    if (type < 1 || type > kTextTypes || typed.empty()) return false;
    for (char ch : typed)
        if (ch < '0' || ch > '9') return false;
    if (typed.size() > 4) return false;
    const unsigned long v = std::strtoul(typed.c_str(), nullptr, 10);
    if (v > kMaxColorNumber) return false;
    textColor[type] = static_cast<uint32_t>(v);
    return true;
}

bool SettingsSheetRules::ScreenColor(uint32_t number, uint32_t& out) const {
    if (number > kMaxColorNumber) return false;
    out = color[number];
    return true;
}

}  // namespace tolvani::settings
