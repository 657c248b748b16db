#include "table/CellOptionRules.h"

#include <algorithm>
#include <cstdio>

#include "model/Cp932.h"
#include "table/TableChecks.h"

namespace tolvani {

namespace {

bool InList(int line, int size) { return line >= 0 && line < size; }

}  // namespace

std::string CellOptionRules::TextTypeLine(int type, double width, double height, double spacing, uint32_t color) {
    char buf[256];
    std::snprintf(
        buf, sizeof buf,
        " / 文字種 %2d /            %5.1f                   %5.1f                    %5.1f                    %u", type,
        width, height, spacing, static_cast<unsigned>(color));
    return buf;
}

std::string CellOptionRules::LineColorLine(int n) { return "  線色 " + std::to_string(n) + " "; }

std::string CellOptionRules::LineTypeLine(int n) { return "  線種 " + std::to_string(n) + " "; }

std::string CellOptionRules::LayerLine(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(n));
    return buf;
}

void CellOptionRules::CopyIn(const TableOptions& current, const CJwwHeader& header) {
    options = current.Sanitized();
    for (int t = 1; t <= kTextTypes; ++t) {
        textWidth[t] = header.textWidth[t];
        textHeight[t] = header.textHeight[t];
        textSpacing[t] = header.textSpacing[t];
        textColor[t] = header.textColor[t];
    }
    for (int c = 0; c < kScreenColors; ++c) screenColor[c] = header.color[c];
}

std::string CellOptionRules::TextTypeListLine(int line) const {
    if (!InList(line, kTextTypes)) return std::string();
    const int t = line + 1;
    return TextTypeLine(t, textWidth[t], textHeight[t], textSpacing[t], textColor[t]);
}

void CellOptionRules::ChooseLineColor(int line) {
    if (InList(line, kChoices)) options.gridColor = line + 1;
}

void CellOptionRules::ChooseLineType(int line) {
    if (InList(line, kChoices)) options.gridStyle = line + 1;
}

void CellOptionRules::ChooseLayerGroup(int line) {
    if (InList(line, kLayerChoices)) options.layerGroup = line;
}

void CellOptionRules::ChooseLayerLine(int line) {
    if (InList(line, kLayerChoices)) options.layerLine = line;
}

void CellOptionRules::ChooseLayerText(int line) {
    if (InList(line, kLayerChoices)) options.layerText = line;
}

uint32_t CellOptionRules::SampleColor() const {
    const int c = options.gridColor;
    return InList(c, kScreenColors) ? screenColor[c] & 0xFFFFFFu : 0;
}

CellOptionRules::Shown CellOptionRules::Opening() const {
    Shown s;
    s.textTypeLine = TextTypeIndex();
    s.margins[0] = options.cellLeft;
    s.margins[1] = options.cellRight;
    s.margins[2] = options.cellTop;
    s.margins[3] = options.cellBottom;
    s.cellLayer = options.cellLayer;
    s.cellBlock = options.cellBlock;
    s.blockName = Cp932ToUtf8(options.blockName);
    return s;
}

std::string CellOptionRules::Confirm(const Shown& shown) {
    if (shown.cellBlock) {
        std::string name;
        std::string refusal = CheckTableBlockName(shown.blockName, name);
        if (!refusal.empty()) return refusal;
        options.blockName = std::move(name);
    } else {
        // Kept for a later block figure; a character without a code page
        // 932 form would show as 〓 then, and be refused when ticked.
        options.blockName = Utf8ToCp932(shown.blockName);
    }
    if (InList(shown.textTypeLine, kTextTypes)) options.cellTextType = shown.textTypeLine + 1;
    int* margins[4] = {&options.cellLeft, &options.cellRight, &options.cellTop, &options.cellBottom};
    for (int i = 0; i < 4; ++i) *margins[i] = std::clamp(shown.margins[i], kMarginMin, kMarginMax);
    options.cellLayer = shown.cellLayer;
    options.cellBlock = shown.cellBlock;
    return std::string();
}

}  // namespace tolvani
