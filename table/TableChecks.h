// The checks the table import makes before it touches the drawing, with the
// messages the user sees. Each returns "" when the check passes, else the
// message (UTF-8); the caller shows it and stops.
#pragma once

#include <string>

#include "model/CJwwDoc.h"
#include "table/CCsvDoc.h"
#include "table/TableOptions.h"

namespace tolvani {

// The block name asked for a table block figure (UTF-8): a name is needed
// (kBlockNameNeededMessage), and every character must have a code page 932
// form. When it passes, `cp932` holds the name as the drawing stores it.
std::string CheckTableBlockName(const std::string& utf8, std::string& cp932);

// Before a table is inserted: the table source holds a row
// (kTableNotReadMessage), and a table that becomes a block figure does not
// take a name already registered in the drawing (kBlockNameTakenMessage).
std::string CheckTableInsertion(const CJwwDoc& doc, const CCsvDoc& table, const TableOptions& options);

}  // namespace tolvani
