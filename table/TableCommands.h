// The table import as the program's commands use it: the table source, the
// current options and the record of the last insertion, with the enable
// rules and the steps of the import, the placement, the undo and the
// options command. The window side shows the dialogs and the outline; the
// rules of what may happen live here.
#pragma once

#include <string>

#include "model/CJwwDoc.h"
#include "table/CCsvDoc.h"
#include "table/TableOptions.h"
#include "table/TableUndo.h"

namespace tolvani {

class TableCommands {
public:
    // "エクセル表インポート" is offered while the drawing holds an element.
    static bool ImportEnabled(const CJwwDoc& doc) { return !doc.mainList.empty(); }
    // "表挿入の取消" is offered while the last insertion into this drawing
    // can be undone.
    bool UndoEnabled(const CJwwDoc& doc) const { return undo.Available(doc); }

    // After both dialogs of the import ended with OK: takes the confirmed
    // options and measures the table. Returns the message to show (UTF-8)
    // when there is no table or when a table that is to become a block
    // names a block the drawing already has; nothing is measured then.
    std::string Measure(const TableOptions& confirmed, const CJwwDoc& doc);
    // The options command after OK: takes the options; returns the message
    // to show when the block name is taken (the options stay taken).
    const char* TakeOptions(const TableOptions& confirmed, const CJwwDoc& doc);

    // True while a measured table waits to be placed.
    bool Measured() const { return table.measure.valid && !table.empty(); }
    double TableWidth() const { return table.measure.totalWidth; }
    double TableHeight() const { return table.measure.totalHeight; }

    enum class PlaceResult { Placed, NameTaken, NothingToPlace };
    // Places the measured table with its top-left corner at (x, y) and
    // records it for undo. A block name that became taken since the table
    // was measured is refused (kBlockNameTakenMessage) and nothing changes.
    PlaceResult Place(CJwwDoc& doc, double x, double y);

    // Removes the last insertion; false, changing nothing, when it cannot.
    bool Undo(CJwwDoc& doc) { return undo.Undo(doc); }

    CCsvDoc table;
    TableOptions options;
    TableUndo undo;
};

}  // namespace tolvani
