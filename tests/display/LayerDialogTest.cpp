#include <gtest/gtest.h>

#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "display/LayerRules.h"
#include "display/ui/CJwwLayer.h"

namespace tolvani::display {
namespace {

std::unique_ptr<CJwwDoc> NewDrawing() {
    auto doc = std::make_unique<CJwwDoc>();
    doc->header.SetNewDrawingDefaults();
    return doc;
}

void ClickCell(QTableWidget* list, int row, int column) {
    const QRect r = list->visualItemRect(list->item(row, column));
    ASSERT_TRUE(r.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

void Press(const CJwwLayer& dlg, const char* name) {
    auto* b = dlg.findChild<QPushButton*>(name);
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

QString Cell(QTableWidget* list, int row, int column) { return list->item(row, column)->text(); }

TEST(LayerDialog, ShowsTheListsWithTheirTitlesAndRows) {
    auto doc = NewDrawing();
    doc->header.groups[3].scale = 0.5;
    doc->header.writeLayerGroup = 0;
    LayerRules rules;
    rules.CopyIn(*doc);
    CJwwLayer dlg(rules);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "レイヤー設定");
    auto* groups = dlg.groupList();
    auto* layers = dlg.layerList();
    ASSERT_EQ(groups->rowCount(), 16);
    ASSERT_EQ(groups->columnCount(), 4);
    ASSERT_EQ(layers->columnCount(), 3);
    const char* groupTitles[] = {"名前", "表示", "縮尺", "要素数"};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(groups->horizontalHeaderItem(c)->text(), groupTitles[c]);
    EXPECT_EQ(Cell(groups, 3, 0), "[3]");
    EXPECT_EQ(Cell(groups, 3, 2), "  2   /   1");
    EXPECT_EQ(Cell(groups, 0, 1), "書込");
    EXPECT_EQ(Cell(layers, 15, 1), "書込");
    EXPECT_EQ(Cell(layers, 15, 0), "[F]");
    // The widths given for the columns at least, and every row on screen.
    EXPECT_GE(groups->columnWidth(0), 110);
    EXPECT_GE(groups->columnWidth(3), 60);
    EXPECT_TRUE(groups->viewport()->rect().contains(groups->visualItemRect(groups->item(15, 3))));
    EXPECT_EQ(groups->currentRow(), 0);
}

TEST(LayerDialog, ClicksCycleAGroupAndChooseItsLayers) {
    auto doc = NewDrawing();
    doc->header.groups[4].layerState[7] = 0;
    LayerRules rules;
    rules.CopyIn(*doc);
    CJwwLayer dlg(rules);
    dlg.show();
    auto* groups = dlg.groupList();
    auto* layers = dlg.layerList();
    const char* cycle[] = {"非表示", "表示", "編集"};
    for (const char* word : cycle) {
        ClickCell(groups, 4, 1);
        EXPECT_EQ(Cell(groups, 4, 1), word);
    }
    EXPECT_EQ(groups->currentRow(), 4);
    // The layer list shows group 4 now.
    EXPECT_EQ(Cell(layers, 7, 1), "非表示");
    ClickCell(layers, 7, 1);
    EXPECT_EQ(Cell(layers, 7, 1), "表示");
    // A click on a name only chooses; the write group does not cycle.
    ClickCell(groups, 0, 0);
    EXPECT_EQ(Cell(layers, 7, 1), "編集");
    ClickCell(groups, 0, 1);
    EXPECT_EQ(Cell(groups, 0, 1), "書込");
    // The keyboard moves through the groups as clicks on the names do.
    groups->setFocus();
    QTest::keyClick(groups, Qt::Key_Down);
    EXPECT_EQ(rules.currentGroup(), 1);
    EXPECT_EQ(Cell(groups, 1, 1), "編集");
}

TEST(LayerDialog, AllGroupsThreeTimesHidesShowsAndMakesEditable) {
    auto doc = NewDrawing();
    LayerRules rules;
    rules.CopyIn(*doc);
    CJwwLayer dlg(rules);
    dlg.show();
    for (const char* word : {"非表示", "表示", "編集"}) {
        Press(dlg, "allGroupsButton");
        for (int g = 1; g < 16; ++g) EXPECT_EQ(Cell(dlg.groupList(), g, 1), word) << g;
        EXPECT_EQ(Cell(dlg.groupList(), 0, 1), "書込");
    }
    Press(dlg, "allLayersButton");
    for (int l = 0; l < 15; ++l) EXPECT_EQ(Cell(dlg.layerList(), l, 1), "非表示");
    EXPECT_EQ(Cell(dlg.layerList(), 15, 1), "書込");
}

TEST(LayerDialog, WriteLayerThenOkOrCancel) {
    auto doc = NewDrawing();
    LayerRules rules;  // kept from one opening to the next, as the document keeps it
    for (bool ok : {false, true}) {
        rules.CopyIn(*doc);
        CJwwLayer dlg(rules);
        dlg.show();
        ClickCell(dlg.groupList(), 5, 0);
        ClickCell(dlg.layerList(), 2, 0);
        Press(dlg, "writeLayerButton");
        EXPECT_EQ(Cell(dlg.groupList(), 5, 1), "書込");
        EXPECT_EQ(Cell(dlg.groupList(), 0, 1), "編集");
        EXPECT_EQ(Cell(dlg.layerList(), 2, 1), "書込");
        EXPECT_EQ(Cell(dlg.layerList(), 15, 1), "編集");
        Press(dlg, ok ? "okButton" : "cancelButton");
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), ok ? QDialog::Accepted : QDialog::Rejected);
        if (dlg.result() == QDialog::Accepted) {
            EXPECT_TRUE(rules.CopyOut(*doc));
        }
        // After Cancel the drawing is untouched.
        EXPECT_EQ(doc->header.writeLayerGroup, ok ? 5u : 0u);
        EXPECT_EQ(doc->header.groups[5].layerState[2], ok ? 3u : 2u);
    }
    // The next opening starts on the write group, on the layer last chosen.
    rules.CopyIn(*doc);
    CJwwLayer again(rules);
    again.show();
    EXPECT_EQ(again.groupList()->currentRow(), 5);
    EXPECT_EQ(again.layerList()->currentRow(), 2);
}

}  // namespace
}  // namespace tolvani::display
