// Turns the table source into drawing elements: one text per cell and the
// ruled lines around the cells, in the main element list or in a new block
// figure.
#pragma once

#include <vector>

#include "model/CJwwDoc.h"
#include "table/CCsvDoc.h"
#include "table/TableOptions.h"
#include "table/TableUndo.h"

namespace tolvani {

// "ＭＳ　ゴシック" in code page 932, the font of every cell text.
inline constexpr const char* kTableFontName = "\x82\x6c\x82\x72\x81\x40\x83\x53\x83\x56\x83\x62\x83\x4e";

// The layer group and the layers the table's elements go to.
struct TableLayers {
    int group = 0;
    int lineLayer = 0;
    int textLayer = 0;
};

// With cellLayer set, the three layer options. Otherwise the drawing's
// write layer group and, for lines and texts alike, its first layer in the
// write state (layer 0 when it has none).
TableLayers ChooseTableLayers(const CJwwDoc& doc, const TableOptions& options);

// False when the table is to become a block figure and a definition of the
// drawing already shows the block name; the caller then shows
// kBlockNameTakenMessage. A table that becomes no block passes whatever
// the name is.
bool IsTableBlockNameFree(const CJwwDoc& doc, const TableOptions& options);

// Takes a snapshot of the options into the table source and measures the
// table with the drawing's text type: margins, row height, column widths,
// total size and every cell's text length.
void MeasureTable(CCsvDoc& table, const CJwwDoc& doc, const TableOptions& options);

// Adds the measured table's elements with its top-left corner at (x0, y0):
// the texts row by row, then the horizontal lines from the top, then the
// vertical lines from the left. Into the current block definition when
// intoBlock is set, else into the main element list. Returns the elements
// added, in order.
std::vector<const CData*> BuildTableElements(CJwwDoc& doc, const CCsvDoc& table, double x0, double y0, bool intoBlock);

// Inserts the measured table with its top-left corner at (x, y): as a new
// block figure placed at (x, y) when the current options ask for one, else
// straight into the main element list. Records the insertion in `undo`,
// empties the table source and recounts the layer elements. Returns false,
// changing nothing, when the table is empty or was not measured.
bool PlaceTable(CJwwDoc& doc, CCsvDoc& table, const TableOptions& current, double x, double y, TableUndo& undo);

}  // namespace tolvani
