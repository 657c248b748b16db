// Naming, creating and filling block definitions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/CJwwDoc.h"

namespace tolvani {

// True when some definition's display name equals the candidate byte for byte.
bool IsBlockNameRegistered(const CJwwDoc& doc, std::string_view candidate);

// The number a new table block takes: the count of definitions when no
// definition holds that number yet, else one more than the largest number.
int32_t NextBlockNumber(const CJwwDoc& doc);

// Seconds since 1970 for a new definition: SOURCE_DATE_EPOCH when it is set
// to a number, else the current time.
int64_t BlockCreationTime();

// Creates a table definition named `name` + "@@SfigorgFlag@@5" and its
// insertion at (x, y); the definition becomes the current target list.
// Returns the new definition.
CDataList* BeginTableBlock(CJwwDoc& doc, const std::string& name, double x, double y);

// Appends a new line to the current definition (intoBlock) or to the main list.
CDataSen* AddLineElement(CJwwDoc& doc, bool intoBlock, int layerGroup, int layer, int lineType, int color, double x1,
                         double y1, double x2, double y2);

// Appends a copy of the text to the same choice of list.
CDataMoji* AddTextElement(CJwwDoc& doc, bool intoBlock, const CDataMoji& text);

// The display name as UTF-8, from the UTF-16 original when the name has one.
std::string BlockDisplayNameUtf8(const JwwString& name);

}  // namespace tolvani
