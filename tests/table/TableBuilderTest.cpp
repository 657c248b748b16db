// Measuring a table and building its elements: sizes, positions, layers,
// order and counts, with and without a block figure.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "blocks/BlockNames.h"
#include "blocks/BlockRegistry.h"
#include "model/Cp932.h"
#include "table/CCsvDoc.h"
#include "table/TableBuilder.h"

namespace tolvani {
namespace {

std::string S(const std::string& utf8) { return Utf8ToCp932(utf8); }

// A new drawing whose text type 3 has the given height and spacing.
void NewDrawing(CJwwDoc& doc, double height = 3, double spacing = 0, double width = 2.5, uint32_t color = 5) {
    doc.header.SetNewDrawingDefaults();
    doc.header.textWidth[3] = width;
    doc.header.textHeight[3] = height;
    doc.header.textSpacing[3] = spacing;
    doc.header.textColor[3] = color;
}

void Read(CCsvDoc& table, const std::string& csv) { ASSERT_TRUE(table.ReadCsvBytes(csv).ok()); }

TEST(MeasureTable, TextLengthsRowHeightAndColumnWidths) {
    struct Case {
        const char* what;
        std::string text;
        double height, spacing;
        double length;
    };
    const Case cases[] = {
        {"three single-byte, 4.5 cut to 4", "abc", 3, 0, 4},
        {"two double-byte with spacing", S("鉛筆"), 3, 0.5, 7},
        {"mixed", "a" + S("鉛"), 3, 0, 4},  // 1.5 + 3
        {"empty", "", 3, 0, 0},
        {"lead byte at the end counts double", "a\x81", 3, 0, 4},
        {"half-width katakana is single", "\xB1\xB2\xC3", 3, 0, 4},
        {"cut toward zero", "abcde", 2.1, 0, 5},  // 5.25
    };
    for (const auto& c : cases) {
        CJwwDoc doc;
        NewDrawing(doc, c.height, c.spacing);
        // The texts go straight into the grid: what is measured here must
        // not depend on how a file's encoding is recognised.
        CCsvDoc table;
        table.rows = {{c.text, ""}};
        table.BuildCells();
        MeasureTable(table, doc, TableOptions());
        ASSERT_EQ(table.cells.size(), 1u) << c.what;
        ASSERT_EQ(table.cells[0].size(), 2u) << c.what;
        EXPECT_EQ(table.cells[0][0].textLength, c.length) << c.what;
        EXPECT_EQ(table.cells[0][1].textLength, 0) << c.what;
        // Default margins 10, 10, 8, 6 tenths.
        EXPECT_DOUBLE_EQ(table.measure.rowHeight, 0.8 + c.height + 0.6) << c.what;
        EXPECT_DOUBLE_EQ(table.measure.columnWidths[0], c.length + 2) << c.what;
        EXPECT_DOUBLE_EQ(table.measure.columnWidths[1], 2) << c.what;
    }
}

TEST(MeasureTable, WidestCellSetsTheColumnAndTotals) {
    CJwwDoc doc;
    NewDrawing(doc, 3, 0);
    CCsvDoc table;
    Read(table, "a,,x\nabcdef,,\nab,,\n");
    TableOptions o;
    o.cellLeft = 5, o.cellRight = 15, o.cellTop = 0, o.cellBottom = 50;
    MeasureTable(table, doc, o);
    const TableMeasure& m = table.measure;
    EXPECT_DOUBLE_EQ(m.left, 0.5);
    EXPECT_DOUBLE_EQ(m.right, 1.5);
    EXPECT_DOUBLE_EQ(m.bottom, 5.0);
    EXPECT_DOUBLE_EQ(m.rowHeight, 8.0);
    ASSERT_EQ(m.columnWidths.size(), 3u);
    EXPECT_DOUBLE_EQ(m.columnWidths[0], 9 + 2);
    EXPECT_DOUBLE_EQ(m.columnWidths[1], 2);
    EXPECT_DOUBLE_EQ(m.columnWidths[2], 1 + 2);
    EXPECT_DOUBLE_EQ(m.totalWidth, 16);
    EXPECT_DOUBLE_EQ(m.totalHeight, 24);
}

TEST(MeasureTable, OutOfRangeOptionsAndStrangeTextTypesDoNotBreakIt) {
    CJwwDoc doc;
    NewDrawing(doc);
    doc.header.textHeight[3] = std::numeric_limits<double>::quiet_NaN();
    doc.header.textHeight[10] = 1e308;
    doc.header.textSpacing[10] = 1e308;
    for (int type : {0, -5, 11, 10, 3}) {
        CCsvDoc table;
        Read(table, std::string(1000, 'x') + "\n");
        TableOptions o;
        o.cellTextType = type;
        o.cellLeft = -100;
        o.layerGroup = 99;
        o.cellLayer = true;
        MeasureTable(table, doc, o);
        EXPECT_GE(table.measure.options.cellTextType, 1);
        EXPECT_LE(table.measure.options.cellTextType, 10);
        EXPECT_EQ(table.measure.options.cellLeft, 10);
        EXPECT_EQ(table.measure.options.layerGroup, 0);
        TableUndo undo;
        EXPECT_TRUE(PlaceTable(doc, table, o, 0, 0, undo));
    }
}

// Checks one 2 × 3 table placed at (100, 50) in the main list.
TEST(BuildTable, ElementsInOrderWithExactGeometry) {
    CJwwDoc doc;
    NewDrawing(doc, 3, 0.5, 2.5, 5);
    doc.header.writeLayerGroup = 4;
    doc.header.groups[4].layerState[15] = kEditable;
    doc.header.groups[4].layerState[9] = kWrite;
    doc.header.groups[4].layerState[12] = kWrite;
    auto existing = std::make_unique<CDataSen>();
    doc.AddElement(std::move(existing));

    CCsvDoc table;
    Read(table, S("品名,数量,\nab,1,x\n"));
    TableOptions o;
    o.gridStyle = 4;
    o.gridColor = 7;
    MeasureTable(table, doc, o);
    const double h = 0.8 + 3 + 0.6;
    // Column widths: 品名 7 + 2, 数量 7 + 2, x 1.75 → 1 + 2.
    const double xs[] = {100, 109, 118, 121};
    TableUndo undo;
    ASSERT_TRUE(PlaceTable(doc, table, o, 100, 50, undo));

    const int n = 2, m = 3;
    ASSERT_EQ(doc.mainList.size(), 1u + n * m + n + m + 2);
    EXPECT_TRUE(table.empty());
    const std::string texts[2][3] = {{S("品名"), S("数量"), ""}, {"ab", "1", "x"}};
    const double lengths[2][3] = {{7, 7, 0}, {3, 1, 1}};
    std::size_t i = 1;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < m; ++c, ++i) {
            const auto* t = As<CDataMoji>(doc.mainList[i].get());
            ASSERT_NE(t, nullptr) << i;
            EXPECT_EQ(t->text.bytes(), texts[r][c]);
            EXPECT_DOUBLE_EQ(t->start.x, xs[c] + 1.0);
            EXPECT_DOUBLE_EQ(t->start.y, 50 - (r + 1) * h + 0.6);
            EXPECT_DOUBLE_EQ(t->end.x, t->start.x + lengths[r][c]);
            EXPECT_DOUBLE_EQ(t->end.y, t->start.y);
            // The text stands inside its cell.
            EXPECT_LE(t->end.x, xs[c + 1] - 1.0 + 1e-9);
            EXPECT_LE(t->start.y + t->height, 50 - r * h - 0.8 + 1e-9);
            EXPECT_EQ(t->textType, 3u);
            EXPECT_EQ(t->style, 0u);
            EXPECT_EQ(t->charWidth, 2.5);
            EXPECT_EQ(t->height, 3);
            EXPECT_EQ(t->spacing, 0.5);
            EXPECT_EQ(t->color, 5);
            EXPECT_EQ(t->lineType, 1);
            EXPECT_EQ(t->width, 0);
            EXPECT_EQ(t->keptWidth, 0);
            EXPECT_EQ(t->layerGroup, 4);
            EXPECT_EQ(t->layer, 9);  // the first layer in the write state
            EXPECT_EQ(t->flag, 0);
            EXPECT_EQ(t->angle, 0);
            EXPECT_EQ(Cp932ToUtf8(t->fontName.view()), "ＭＳ　ゴシック");
        }
    }
    for (int k = 0; k <= n; ++k, ++i) {
        const auto* l = As<CDataSen>(doc.mainList[i].get());
        ASSERT_NE(l, nullptr) << i;
        EXPECT_DOUBLE_EQ(l->start.x, 100);
        EXPECT_DOUBLE_EQ(l->end.x, 121);
        EXPECT_DOUBLE_EQ(l->start.y, 50 - k * h);
        EXPECT_DOUBLE_EQ(l->end.y, 50 - k * h);
    }
    for (int k = 0; k <= m; ++k, ++i) {
        const auto* l = As<CDataSen>(doc.mainList[i].get());
        ASSERT_NE(l, nullptr) << i;
        EXPECT_DOUBLE_EQ(l->start.x, xs[k]);
        EXPECT_DOUBLE_EQ(l->end.x, xs[k]);
        EXPECT_DOUBLE_EQ(l->start.y, 50);
        EXPECT_DOUBLE_EQ(l->end.y, 50 - n * h);
    }
    for (std::size_t j = 1 + n * m; j < doc.mainList.size(); ++j) {
        const CData& l = *doc.mainList[j];
        EXPECT_EQ(l.lineType, 4);
        EXPECT_EQ(l.color, 7);
        EXPECT_EQ(l.layerGroup, 4);
        EXPECT_EQ(l.layer, 9);
        EXPECT_EQ(l.width, 0);
        EXPECT_EQ(l.flag, 0);
    }
    EXPECT_EQ(doc.layerElementCount[4][9], n * m + n + m + 2);
    EXPECT_EQ(doc.groupElementCount[4], n * m + n + m + 2);
}

TEST(BuildTable, LayerRule) {
    struct Case {
        const char* what;
        bool cellLayer;
        uint32_t writeGroup;
        int writeLayer;  // -1: no layer of the group in the write state
        int group, lineLayer, textLayer;
    };
    const Case cases[] = {
        {"chosen layers", true, 2, 5, 7, 8, 9},
        {"write layer of the write group", false, 2, 5, 2, 5, 5},
        {"no write layer: layer 0", false, 3, -1, 3, 0, 0},
        {"write group out of range: group 0", false, 40, -1, 0, 15, 15},
    };
    for (const auto& c : cases) {
        CJwwDoc doc;
        NewDrawing(doc);
        doc.header.writeLayerGroup = c.writeGroup;
        if (c.writeGroup < 16) {
            for (auto& s : doc.header.groups[c.writeGroup].layerState) s = kEditable;
            if (c.writeLayer >= 0) doc.header.groups[c.writeGroup].layerState[c.writeLayer] = kWrite;
        }
        TableOptions o;
        o.cellLayer = c.cellLayer;
        o.layerGroup = 7, o.layerLine = 8, o.layerText = 9;
        CCsvDoc table;
        Read(table, "a\n");
        MeasureTable(table, doc, o);
        TableUndo undo;
        ASSERT_TRUE(PlaceTable(doc, table, o, 0, 0, undo));
        ASSERT_EQ(doc.mainList.size(), 5u);
        EXPECT_EQ(doc.mainList[0]->layerGroup, c.group) << c.what;
        EXPECT_EQ(doc.mainList[0]->layer, c.textLayer) << c.what;
        for (std::size_t i = 1; i < 5; ++i) {
            EXPECT_EQ(doc.mainList[i]->layerGroup, c.group) << c.what;
            EXPECT_EQ(doc.mainList[i]->layer, c.lineLayer) << c.what;
        }
    }
}

TEST(BuildTable, BlockFigureAroundTheOrigin) {
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    CJwwDoc doc;
    NewDrawing(doc);
    for (int number : {0, 3, 5}) {  // the count, 3, is taken
        auto d = std::make_unique<CDataList>();
        d->number = number;
        d->name = JwwString("old" + std::to_string(number));
        doc.AddDefinition(std::move(d));
    }
    auto other = std::make_unique<CDataSen>();
    doc.AddElement(std::move(other));

    CCsvDoc table;
    Read(table, "a,b\nc,d\ne,f\n");
    TableOptions o;
    o.cellLayer = true;
    o.layerGroup = 6, o.layerLine = 2, o.layerText = 3;
    MeasureTable(table, doc, o);
    const double w = table.measure.totalWidth, height = table.measure.totalHeight;
    // The block option is read when the table is placed.
    TableOptions now = o;
    now.cellBlock = true;
    now.blockName = S("表1");
    TableUndo undo;
    ASSERT_TRUE(PlaceTable(doc, table, now, -20, -10, undo));

    ASSERT_EQ(doc.mainList.size(), 2u);
    ASSERT_EQ(doc.blockList.size(), 4u);
    const CDataList& def = *doc.blockList.back();
    const auto* ins = As<CDataBlock>(doc.mainList.back().get());
    ASSERT_NE(ins, nullptr);
    EXPECT_EQ(def.number, 6);
    EXPECT_EQ(ins->definitionNumber, 6);
    EXPECT_EQ(doc.FindBlockList(6), &def);
    EXPECT_EQ(def.name.bytes(), S("表1") + kTableBlockSuffix);
    EXPECT_EQ(GetBlockKindName(def.name.view()), std::string("表"));
    EXPECT_EQ(def.createdTime, 1700000000);
    EXPECT_EQ(ins->ref.x, -20);
    EXPECT_EQ(ins->ref.y, -10);
    EXPECT_EQ(ins->scaleX, 1.0);
    EXPECT_EQ(ins->layer, 1);
    EXPECT_EQ(ins->layerGroup, 0);
    EXPECT_TRUE(IsBlockNameRegistered(doc, S("表1")));

    ASSERT_EQ(def.elements.size(), 3u * 2 + 3 + 2 + 2);
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (const auto& e : def.elements) {
        EXPECT_EQ(e->layerGroup, 6);
        if (const auto* l = As<CDataSen>(e.get())) {
            EXPECT_EQ(l->layer, 2);
            for (const JwwPoint& p : {l->start, l->end}) {
                minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
                minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
            }
        } else {
            EXPECT_EQ(e->layer, 3);
        }
    }
    EXPECT_EQ(minX, 0);
    EXPECT_EQ(maxY, 0);
    EXPECT_DOUBLE_EQ(maxX, w);
    EXPECT_DOUBLE_EQ(minY, -height);
    const auto* first = As<CDataMoji>(def.elements.front().get());
    ASSERT_NE(first, nullptr);
    EXPECT_DOUBLE_EQ(first->start.x, 1.0);

    // The counts see the definition's elements through the insertion.
    EXPECT_EQ(doc.layerElementCount[6][2], 4 + 3);
    EXPECT_EQ(doc.layerElementCount[6][3], 6);
}

TEST(BuildTable, BlockNameIsCheckedOnlyForABlockFigure) {
    CJwwDoc doc;
    NewDrawing(doc);
    auto d = std::make_unique<CDataList>();
    d->name = JwwString("@@SfigorgFlag@@4");  // an empty display name
    doc.AddDefinition(std::move(d));
    TableOptions o;
    EXPECT_TRUE(IsTableBlockNameFree(doc, o));  // the empty name, no block
    o.blockName = "x";
    EXPECT_TRUE(IsTableBlockNameFree(doc, o));
    o.cellBlock = true;
    EXPECT_TRUE(IsTableBlockNameFree(doc, o));
    o.blockName.clear();
    EXPECT_FALSE(IsTableBlockNameFree(doc, o));
}

TEST(BuildTable, SnapshotIsTakenWhenMeasured) {
    CJwwDoc doc;
    NewDrawing(doc);
    CCsvDoc table;
    Read(table, "a\n");
    TableOptions o;
    o.gridColor = 3;
    MeasureTable(table, doc, o);
    o.gridColor = 8;
    o.cellLeft = 50;
    TableUndo undo;
    ASSERT_TRUE(PlaceTable(doc, table, o, 0, 0, undo));
    EXPECT_EQ(doc.mainList[1]->color, 3);
    EXPECT_DOUBLE_EQ(As<CDataMoji>(doc.mainList[0].get())->start.x, 1.0);
}

TEST(BuildTable, NothingToPlace) {
    CJwwDoc doc;
    NewDrawing(doc);
    CCsvDoc table;
    TableUndo undo;
    EXPECT_FALSE(PlaceTable(doc, table, TableOptions(), 0, 0, undo));  // empty
    Read(table, "a\n");
    EXPECT_FALSE(PlaceTable(doc, table, TableOptions(), 0, 0, undo));  // not measured
    EXPECT_TRUE(doc.mainList.empty());
    EXPECT_FALSE(undo.Available(doc));
}

}  // namespace
}  // namespace tolvani
