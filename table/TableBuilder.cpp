#include "table/TableBuilder.h"

#include <cmath>

#include "blocks/BlockRegistry.h"
#include "table/TableText.h"

namespace tolvani {

namespace {

int WriteLayerGroup(const CJwwDoc& doc) {
    const uint32_t g = doc.header.writeLayerGroup;
    return g < static_cast<uint32_t>(kLayerGroups) ? static_cast<int>(g) : 0;
}

}  // namespace

TableLayers ChooseTableLayers(const CJwwDoc& doc, const TableOptions& options) {
    TableLayers layers;
    if (options.cellLayer) {
        layers.group = options.layerGroup;
        layers.lineLayer = options.layerLine;
        layers.textLayer = options.layerText;
        return layers;
    }
    layers.group = WriteLayerGroup(doc);
    const LayerGroup& group = doc.header.groups[layers.group];
    for (int l = 0; l < kLayers; ++l) {
        if (group.layerState[l] == kWrite) {
            layers.lineLayer = layers.textLayer = l;
            break;
        }
    }
    return layers;
}

bool IsTableBlockNameFree(const CJwwDoc& doc, const TableOptions& options) {
    return !options.cellBlock || !IsBlockNameRegistered(doc, options.blockName);
}

void MeasureTable(CCsvDoc& table, const CJwwDoc& doc, const TableOptions& options) {
    TableMeasure& m = table.measure;
    m = TableMeasure();
    m.options = options.Sanitized();
    const int t = m.options.cellTextType;
    const double h = doc.header.textHeight[t];
    const double k = doc.header.textSpacing[t];
    m.left = m.options.cellLeft * 0.1;
    m.right = m.options.cellRight * 0.1;
    m.top = m.options.cellTop * 0.1;
    m.bottom = m.options.cellBottom * 0.1;
    m.rowHeight = m.top + h + m.bottom;

    const int columns = table.columnCount;
    m.columnWidths.assign(static_cast<std::size_t>(columns), m.left + m.right);
    for (auto& row : table.cells) {
        for (CELL_INFO& cell : row) {
            if (cell.column < 0 || cell.column >= columns) continue;
            std::size_t single = 0, dbl = 0;
            CountTextCharacters(cell.text, single, dbl);
            // The height stands for the width of a double-byte character.
            cell.textLength =
                std::trunc(static_cast<double>(single) * (h + k) * 0.5 + static_cast<double>(dbl) * (h + k));
            double& w = m.columnWidths[static_cast<std::size_t>(cell.column)];
            const double need = cell.textLength + m.left + m.right;
            if (need > w) w = need;
        }
    }
    m.totalWidth = 0;
    for (double w : m.columnWidths) m.totalWidth += w;
    m.totalHeight = table.rowCount * m.rowHeight;
    m.valid = true;
}

std::vector<const CData*> BuildTableElements(CJwwDoc& doc, const CCsvDoc& table, double x0, double y0, bool intoBlock) {
    const TableMeasure& m = table.measure;
    const TableOptions& o = m.options;
    const TableLayers layers = ChooseTableLayers(doc, o);
    const int n = table.rowCount;
    const int cols = table.columnCount;
    const double h = m.rowHeight;
    std::vector<const CData*> added;
    added.reserve(static_cast<std::size_t>(n) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(n + cols) +
                  2);

    // Left edges of the columns, and the right edge of the table last.
    std::vector<double> xs(static_cast<std::size_t>(cols) + 1, x0);
    for (int c = 0; c < cols; ++c)
        xs[static_cast<std::size_t>(c) + 1] =
            xs[static_cast<std::size_t>(c)] + m.columnWidths[static_cast<std::size_t>(c)];

    const int t = o.cellTextType;
    CDataMoji text;
    text.textType = static_cast<uint32_t>(t);
    text.style = 0;
    text.charWidth = doc.header.textWidth[t];
    text.height = doc.header.textHeight[t];
    text.spacing = doc.header.textSpacing[t];
    text.color = static_cast<uint16_t>(doc.header.textColor[t]);
    text.lineType = 1;
    text.width = 0;
    text.keptWidth = 0;
    text.layer = static_cast<uint16_t>(layers.textLayer);
    text.layerGroup = static_cast<uint16_t>(layers.group);
    text.flag = 0;
    text.angle = 0;
    text.fontName = JwwString(kTableFontName);

    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < cols; ++c) {
            const CELL_INFO& cell = table.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            text.start = {xs[static_cast<std::size_t>(c)] + m.left, y0 - (r + 1) * h + m.bottom};
            text.end = {text.start.x + cell.textLength, text.start.y};
            text.text = JwwString(cell.text);
            added.push_back(AddTextElement(doc, intoBlock, text));
        }
    }
    const double right = xs.back();
    for (int k = 0; k <= n; ++k)
        added.push_back(AddLineElement(doc, intoBlock, layers.group, layers.lineLayer, o.gridStyle, o.gridColor, x0,
                                       y0 - k * h, right, y0 - k * h));
    for (int k = 0; k <= cols; ++k)
        added.push_back(AddLineElement(doc, intoBlock, layers.group, layers.lineLayer, o.gridStyle, o.gridColor,
                                       xs[static_cast<std::size_t>(k)], y0, xs[static_cast<std::size_t>(k)],
                                       y0 - n * h));
    return added;
}

bool PlaceTable(CJwwDoc& doc, CCsvDoc& table, const TableOptions& current, double x, double y, TableUndo& undo) {
    if (!table.measure.valid || table.rowCount == 0 || table.cells.size() != static_cast<std::size_t>(table.rowCount) ||
        table.measure.columnWidths.size() != static_cast<std::size_t>(table.columnCount))
        return false;
    for (const auto& row : table.cells)
        if (row.size() != static_cast<std::size_t>(table.columnCount)) return false;
    if (current.cellBlock) {
        CDataList* def = BeginTableBlock(doc, current.blockName, x, y);
        const CData* insertion = doc.mainList.back().get();
        BuildTableElements(doc, table, 0, 0, true);
        undo.RecordBlock(doc, def, insertion);
    } else {
        undo.RecordElements(doc, BuildTableElements(doc, table, x, y, false));
    }
    table.Clear();
    doc.CountLayerElements();
    return true;
}

}  // namespace tolvani
