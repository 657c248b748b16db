// The table import options: cell margins, text type, ruled-line type and
// colour, layers and the block figure. The application's settings store
// fills them; the defaults are those of a first start.
#pragma once

#include <string>

namespace tolvani {

struct TableOptions {
    int cellLeft = 10;  // cell margins, tenths of a millimetre (0–50)
    int cellRight = 10;
    int cellTop = 8;
    int cellBottom = 6;
    int gridStyle = 1;     // line type of the ruled lines (1–8)
    int gridColor = 2;     // line colour of the ruled lines (1–8)
    int cellTextType = 3;  // text type of the cell texts (1–10)
    int layerGroup = 0;    // used when cellLayer is set (0–15 each)
    int layerLine = 1;
    int layerText = 1;
    bool cellLayer = false;  // use the three layer values instead of the write layer
    bool cellBlock = false;  // insert the table as a block figure
    std::string blockName;   // code page 932; lasts for the program run only

    // The same options with every value that lies outside its range
    // replaced by its default. Stored settings are not range-checked when
    // read, and the builder indexes tables by some of them.
    TableOptions Sanitized() const;
};

}  // namespace tolvani
