// The rules of the options dialog "表の挿入／オプション設定": a working copy
// of the table options, the drawing's text types and the screen colours
// 0–8, the texts of its lists, the choices that change the copy and what
// OK takes. The dialog window only shows this; the caller copies the
// options back only when the dialog ends with OK.
#pragma once

#include <cstdint>
#include <string>

#include "model/CJwwHeader.h"
#include "table/TableOptions.h"

namespace tolvani {

class CellOptionRules {
public:
    static constexpr const char* kTitle = "表の挿入／オプション設定";
    static constexpr int kMarginMin = 0;
    static constexpr int kMarginMax = 50;
    static constexpr int kChoices = 8;        // line colours and line types 1–8
    static constexpr int kLayerChoices = 16;  // layer groups and layers 0–F
    static constexpr int kScreenColors = 9;   // colour numbers 0–8

    // " / 文字種 %2d /            %5.1f                   %5.1f                    %5.1f                    %d"
    static std::string TextTypeLine(int type, double width, double height, double spacing, uint32_t color);
    // "  線色 %d " and "  線種 %d " for 1–8.
    static std::string LineColorLine(int n);
    static std::string LineTypeLine(int n);
    // "%X" for 0–15.
    static std::string LayerLine(int n);

    // Takes the options (values outside their ranges as their defaults),
    // the text types and the screen colours 0–8.
    void CopyIn(const TableOptions& options, const CJwwHeader& header);

    // The ten lines of the text type list, 1 to 10.
    std::string TextTypeListLine(int line) const;

    // The line each list shows chosen.
    int TextTypeIndex() const { return options.cellTextType - 1; }
    int LineColorIndex() const { return options.gridColor - 1; }
    int LineTypeIndex() const { return options.gridStyle - 1; }

    // Choosing in the lists; a line outside the list changes nothing.
    void ChooseLineColor(int line);
    void ChooseLineType(int line);
    void ChooseLayerGroup(int line);
    void ChooseLayerLine(int line);
    void ChooseLayerText(int line);

    // The colour sample's colour (0x00BBGGRR): the screen colour of the
    // chosen line colour.
    uint32_t SampleColor() const;

    // What the dialog holds when OK is pressed.
    struct Shown {
        int textTypeLine = 0;
        int margins[4] = {};  // left, right, top, bottom
        bool cellLayer = false;
        bool cellBlock = false;
        std::string blockName;  // UTF-8, as typed
    };
    // The values the dialog opens with.
    Shown Opening() const;

    // OK: the message that keeps the dialog open (UTF-8), or "" when the
    // shown values were taken into the working copy.
    std::string Confirm(const Shown& shown);

    TableOptions options;  // the working copy
    double textWidth[kTextTypes + 1] = {};
    double textHeight[kTextTypes + 1] = {};
    double textSpacing[kTextTypes + 1] = {};
    uint32_t textColor[kTextTypes + 1] = {};
    uint32_t screenColor[kScreenColors] = {};
};

}  // namespace tolvani
