// The two diagnostic dumps of the block structure. Each returns the texts of
// the message boxes in the order they would appear (UTF-8, CR LF line ends).
#pragma once

#include <string>
#include <vector>

#include "model/CJwwDoc.h"

namespace tolvani {

// Dumps the insertions of `list`, `context` being the insertion whose
// definition the list is (null for the main list).
std::vector<std::string> DumpInsertions(const CJwwDoc& doc, const ElementList& list,
                                        const CDataBlock* context = nullptr);

// One box per definition, each followed by the dump of its list.
std::vector<std::string> DumpDefinitions(const CJwwDoc& doc);

// A dump stops after this many insertion entries in all, so that a deeply
// nested drawing cannot produce an unbounded text.
inline constexpr long kDumpEntryLimit = 100000;

}  // namespace tolvani
