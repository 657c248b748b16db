#include "table/TableChecks.h"

#include "model/Cp932.h"
#include "table/TableBuilder.h"
#include "table/TableMessages.h"

namespace tolvani {

std::string CheckTableBlockName(const std::string& utf8, std::string& cp932) {
    if (utf8.empty()) return kBlockNameNeededMessage;
    std::size_t replaced = 0;
    std::string encoded = Utf8ToCp932(utf8, &replaced);
    if (replaced != 0) return "ブロック名に Shift-JIS で表せない文字があります: " + utf8;
    cp932 = std::move(encoded);
    return "";
}

std::string CheckTableInsertion(const CJwwDoc& doc, const CCsvDoc& table, const TableOptions& options) {
    if (table.empty()) return kTableNotReadMessage;
    if (!IsTableBlockNameFree(doc, options)) return kBlockNameTakenMessage;
    return "";
}

}  // namespace tolvani
