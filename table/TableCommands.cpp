#include "table/TableCommands.h"

#include "table/TableBuilder.h"
#include "table/TableChecks.h"
#include "table/TableMessages.h"

namespace tolvani {

std::string TableCommands::Measure(const TableOptions& confirmed, const CJwwDoc& doc) {
    options = confirmed;
    table.measure = TableMeasure();
    std::string refusal = CheckTableInsertion(doc, table, options);
    if (refusal.empty()) MeasureTable(table, doc, options);
    return refusal;
}

const char* TableCommands::TakeOptions(const TableOptions& confirmed, const CJwwDoc& doc) {
    options = confirmed;
    return IsTableBlockNameFree(doc, options) ? nullptr : kBlockNameTakenMessage;
}

TableCommands::PlaceResult TableCommands::Place(CJwwDoc& doc, double x, double y) {
    if (!Measured()) return PlaceResult::NothingToPlace;
    if (!IsTableBlockNameFree(doc, options)) return PlaceResult::NameTaken;
    return PlaceTable(doc, table, options, x, y, undo) ? PlaceResult::Placed : PlaceResult::NothingToPlace;
}

}  // namespace tolvani
