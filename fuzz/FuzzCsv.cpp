// Reads arbitrary bytes as a CSV file and as clipboard text, then measures,
// inserts (plain and as a block), saves, reloads and undoes the table. Any
// crash, leak, hang, sanitizer report or broken invariant is a finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/CJwwDoc.h"
#include "model/JwwStream.h"
#include "table/CCsvDoc.h"
#include "table/TableBuilder.h"

namespace {

using namespace tolvani;

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

void CheckTable(const CCsvDoc& table, const TableReadResult& r) {
    if (!r.ok()) {
        Check(table.rows.empty() && table.cells.empty() && !r.message.empty());
        return;
    }
    Check(table.rowCount == static_cast<int>(table.rows.size()));
    Check(table.cells.size() == table.rows.size());
    Check(static_cast<long long>(table.rowCount) * table.columnCount <= CCsvDoc::kMaxCells);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        Check(table.rows[r].size() <= static_cast<std::size_t>(table.columnCount));
        Check(table.cells[r].size() == static_cast<std::size_t>(table.columnCount));
    }
}

void InsertAndUndo(CCsvDoc& table, uint8_t flags) {
    if (table.empty()) return;
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    doc.header.writeLayerGroup = flags & 0x0F;
    TableOptions o;
    o.cellBlock = flags & 0x10;
    o.cellLayer = flags & 0x20;
    o.cellTextType = 1 + flags % 10;
    o.blockName = table.cells[0][0].text;
    if (!IsTableBlockNameFree(doc, o)) return;
    const std::size_t n = static_cast<std::size_t>(table.rowCount), m = static_cast<std::size_t>(table.columnCount);
    MeasureTable(table, doc, o);
    TableUndo undo;
    Check(PlaceTable(doc, table, o, -20.5, 10.25, undo));
    Check(table.empty());
    const std::size_t expected = n * m + n + m + 2;
    if (o.cellBlock)
        Check(doc.mainList.size() == 1 && doc.blockList.size() == 1 && doc.blockList[0]->elements.size() == expected);
    else
        Check(doc.mainList.size() == expected && doc.blockList.empty());

    std::vector<uint8_t> saved;
    {
        JwwStream out(saved);
        doc.Save(out);
    }
    CJwwDoc again;
    again.header.SetNewDrawingDefaults();
    JwwStream in(saved.data(), saved.size());
    Check(again.Load(in) == CJwwDoc::LoadResult::Loaded);
    Check(again.mainList.size() == doc.mainList.size() && again.blockList.size() == doc.blockList.size());
    Check(!undo.Available(again));

    Check(undo.Undo(doc));
    Check(doc.mainList.empty() && doc.blockList.empty());
    Check(!undo.Undo(doc));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t flags = size > 0 ? data[0] : 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    CCsvDoc table;
    const TableReadResult csv = table.ReadCsvBytes(bytes);
    CheckTable(table, csv);
    InsertAndUndo(table, flags);

    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    const TableReadResult clip = table.ReadClipboardText(text);
    CheckTable(table, clip);
    InsertAndUndo(table, static_cast<uint8_t>(flags ^ 0x10));
    return 0;
}
