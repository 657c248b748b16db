#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include "blocks/ui/BlockDumpWindow.h"
#include "blocks/ui/BlockModels.h"
#include "blocks/ui/CBlockDlg.h"
#include "display/qt/DrawingExport.h"

namespace tolvani {
namespace {

std::unique_ptr<CJwwDoc> NewDrawing() {
    auto doc = std::make_unique<CJwwDoc>();
    doc->header.SetNewDrawingDefaults();
    return doc;
}

CDataList& Define(CJwwDoc& doc, int number, const std::string& name) {
    auto d = std::make_unique<CDataList>();
    d->number = number;
    d->name = JwwString(name);
    return *doc.AddDefinition(std::move(d));
}

std::unique_ptr<CDataBlock> Insertion(int definition, double x, double y) {
    auto ins = std::make_unique<CDataBlock>();
    ins->definitionNumber = definition;
    ins->ref = {x, y};
    ins->lineType = 1;
    return ins;
}

void Place(ElementList& list, int definition, double x, double y) { list.push_back(Insertion(definition, x, y)); }
void Place(CJwwDoc& doc, int definition, double x, double y) { doc.AddElement(Insertion(definition, x, y)); }

void Line(ElementList& list, double x1, double y1, double x2, double y2) {
    auto l = std::make_unique<CDataSen>();
    l->lineType = 1;
    l->color = 2;
    l->start = {x1, y1};
    l->end = {x2, y2};
    list.push_back(std::move(l));
}

// Two placements of "house" (definition 0), each holding a "door"
// (definition 1) with a box of lines; a third insertion lacks its
// definition.
std::unique_ptr<CJwwDoc> Houses() {
    auto doc = NewDrawing();
    auto& house = Define(*doc, 0, "house@@4");
    auto& door = Define(*doc, 1, "door@@4");
    Line(house.elements, 0, 0, 40, 0);
    Place(house.elements, 1, 10, 0);
    for (int i = 0; i < 4; ++i) Line(door.elements, 0, i * 5.0, 10, i * 5.0);
    Place(*doc, 0, -150, 0);
    Place(*doc, 0, 50, 0);
    Place(*doc, 7, 0, 0);
    return doc;
}

struct Recorder {
    explicit Recorder(CJwwDoc& d) : doc(&d) {}
    CJwwDoc* doc;
    int changes = 0;
    int redraws = 0;
    std::vector<QString> messages;
    CBlockDlg::Hooks Hooks() {
        return {[this](const CBlockDlg::Change& change) {
                    ++changes;
                    change(*doc);
                    ++redraws;
                },
                [this](QWidget*, const QString& text) { messages.push_back(text); }};
    }
};

long RedPixels(CJwwDoc& doc) {
    display::ExportOptions o;
    o.width = 800;
    o.height = 566;
    const QImage image = display::RenderImage(doc, o, nullptr);
    long red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0xFF0000) ++red;
    return red;
}

void ClickItem(QTreeView* tree, const QModelIndex& index) {
    tree->scrollTo(index);
    const QRect r = tree->visualRect(index);
    ASSERT_TRUE(r.isValid());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
}

TEST(BlockDialog, OpensWithTheTreeTheListAndOneMessage) {
    auto doc = Houses();
    Recorder rec(*doc);
    CBlockDlg dlg(*doc, rec.Hooks());
    EXPECT_EQ(rec.changes, 1);  // the fill writes into the insertions
    dlg.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rec.messages.empty(); }));
    QCoreApplication::processEvents();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0], "リストが見つかりません（1 件）");
    EXPECT_EQ(dlg.windowTitle(), "ブロック図形");
    // Nothing is chosen, and nothing highlighted, until the tree is used.
    dlg.tree()->setFocus();
    EXPECT_EQ(doc->selectedParentId, 0);
    EXPECT_EQ(doc->selectedItemId, 0);

    auto* model = dlg.tree()->model();
    ASSERT_EQ(model->rowCount(), 2);
    for (int r = 0; r < 2; ++r) {
        const QModelIndex root = model->index(r, 0);
        EXPECT_EQ(root.data().toString(), "house");
        EXPECT_EQ(root.data(BlockTreeModel::kImageRole).toInt(), kFolderImage);
        ASSERT_EQ(model->rowCount(root), 1);
        EXPECT_EQ(model->index(0, 0, root).data().toString(), "door");
    }
    EXPECT_EQ(model->index(0, 0).data(BlockTreeModel::kItemDataRole).toInt(), 1);
    EXPECT_EQ(model->index(1, 0).data(BlockTreeModel::kItemDataRole).toInt(), 3);

    auto* list = dlg.list()->model();
    ASSERT_EQ(list->rowCount(), 2);
    const char* titles[] = {"番号", "名前", "複合図形種別", "参照"};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(list->headerData(c, Qt::Horizontal).toString(), titles[c]);
    EXPECT_EQ(list->index(1, 0).data().toString(), "[ 1 ]");
    EXPECT_EQ(list->index(1, 1).data().toString(), "door");
    EXPECT_EQ(list->index(1, 2).data().toString(), "作図部品");
    EXPECT_EQ(list->index(1, 3).data().toString(), "未参照");
    EXPECT_GE(dlg.list()->columnWidth(2), 130);
}

TEST(BlockDialog, ExpandAndCollapseSetTheImages) {
    auto doc = Houses();
    Recorder rec(*doc);
    CBlockDlg dlg(*doc, rec.Hooks());
    dlg.show();
    auto* tree = dlg.tree();
    auto* model = tree->model();
    for (bool expand : {true, false}) {
        QTest::mouseClick(dlg.findChild<QPushButton*>(expand ? "expandButton" : "collapseButton"), Qt::LeftButton);
        for (int r = 0; r < 2; ++r) {
            const QModelIndex root = model->index(r, 0);
            const QModelIndex door = model->index(0, 0, root);
            EXPECT_EQ(tree->isExpanded(root), expand);
            EXPECT_EQ(root.data(BlockTreeModel::kImageRole).toInt(), kFolderImage);
            EXPECT_EQ(door.data(BlockTreeModel::kImageRole).toInt(), kPageImage);
        }
    }
}

TEST(BlockDialog, ASelectedInsertionTurnsRedUntilTheDialogCloses) {
    enum class Close { Button, Escape, Window };
    for (Close how : {Close::Button, Close::Escape, Close::Window}) {
        auto doc = Houses();
        const long before = RedPixels(*doc);
        EXPECT_EQ(before, 0);
        Recorder rec(*doc);
        CBlockDlg dlg(*doc, rec.Hooks());
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        auto* tree = dlg.tree();
        auto* model = tree->model();
        // The door of the second house.
        const QModelIndex second = model->index(1, 0);
        tree->expand(second);
        const int changesBefore = rec.changes;
        ClickItem(tree, model->index(0, 0, second));
        EXPECT_EQ(doc->selectedParentId, 3);
        EXPECT_EQ(doc->selectedItemId, 1);
        EXPECT_GT(rec.changes, changesBefore);  // stopped the draw before writing
        EXPECT_GE(rec.redraws, 1);
        // Both doors are definition 1 inside the house item's context — in
        // this drawing only the second house's context has id 3.
        const long doorRed = RedPixels(*doc);
        EXPECT_GT(doorRed, 0);

        // The whole first house.
        ClickItem(tree, model->index(0, 0));
        EXPECT_EQ(doc->selectedParentId, 0);
        EXPECT_EQ(doc->selectedItemId, 1);
        EXPECT_GT(RedPixels(*doc), doorRed);

        const int redrawsBefore = rec.redraws;
        switch (how) {
            case Close::Button: QTest::mouseClick(dlg.findChild<QPushButton*>("closeButton"), Qt::LeftButton); break;
            case Close::Escape: QTest::keyClick(&dlg, Qt::Key_Escape); break;
            case Close::Window: dlg.close(); break;
        }
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(doc->selectedParentId, 0);
        EXPECT_EQ(doc->selectedItemId, 0);
        EXPECT_GT(rec.redraws, redrawsBefore);
        EXPECT_EQ(RedPixels(*doc), 0);
    }
}

TEST(BlockDialog, DumpsOpenInAScrollableReadOnlyWindow) {
    auto doc = Houses();
    Recorder rec(*doc);
    CBlockDlg dlg(*doc, rec.Hooks());
    dlg.show();
    const struct {
        const char* button;
        const char* window;
        const char* title;
        const char* text;
    } cases[] = {
        {"dumpInsertionsButton", "insertionsDump", "挿入ブロック診断", "<<< リストGO >>>　pInst == NULL"},
        {"dumpDefinitionsButton", "definitionsDump", "定義ブロック診断", "★定義リストスタート★ 【 1 】 door"},
    };
    for (const auto& c : cases) {
        QTest::mouseClick(dlg.findChild<QPushButton*>(c.button), Qt::LeftButton);
        auto* window = dlg.findChild<BlockDumpWindow*>(c.window);
        ASSERT_NE(window, nullptr) << c.window;
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowTitle(), c.title);
        EXPECT_TRUE(window->text()->isReadOnly());
        const QString text = window->text()->toPlainText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.text))) << c.window;
        EXPECT_FALSE(text.contains('\r'));
        QTest::mouseClick(window->findChild<QPushButton*>("closeButton"), Qt::LeftButton);
        EXPECT_FALSE(window->isVisible());
    }
}

TEST(BlockDumpWindow, ShowsBoxesWithLineFeedsAndCutsAVeryLongDump) {
    EXPECT_EQ(BlockDumpWindow::JoinBoxes({"a\r\nb\r\n", "c"}), "a\nb\n\nc\n\n");
    const std::vector<std::string> many(100000, std::string(70, 'x') + "\r\n");
    const QString text = BlockDumpWindow::JoinBoxes(many);
    EXPECT_LT(static_cast<std::size_t>(text.size()), BlockDumpWindow::kShownLimit + 200);
    EXPECT_GE(static_cast<std::size_t>(text.size()), BlockDumpWindow::kShownLimit);
    EXPECT_TRUE(text.endsWith("（表示はここまでです。診断の全体は 7300000 バイトあります）\n"));
}

TEST(BlockDialog, AnEmptyDrawingAndAVeryDeepOneBothOpen) {
    {
        auto doc = NewDrawing();
        Recorder rec(*doc);
        CBlockDlg dlg(*doc, rec.Hooks());
        dlg.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(dlg.tree()->model()->rowCount(), 0);
        EXPECT_EQ(dlg.list()->model()->rowCount(), 0);
        EXPECT_TRUE(rec.messages.empty());
    }
    {
        // 50,000 definitions, each placing the next.
        auto doc = NewDrawing();
        for (int i = 0; i < 50000; ++i) Place(Define(*doc, i, "c" + std::to_string(i)).elements, i + 1, 1, 0);
        Place(*doc, 0, 0, 0);
        Recorder rec(*doc);
        CBlockDlg dlg(*doc, rec.Hooks());
        dlg.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !rec.messages.empty(); }));
        EXPECT_TRUE(rec.messages[0].contains("1000"));
        EXPECT_EQ(dlg.list()->model()->rowCount(), 50000);
        QTest::mouseClick(dlg.findChild<QPushButton*>("expandButton"), Qt::LeftButton);
        // The deepest item can be reached and chosen.
        auto* model = dlg.tree()->model();
        QModelIndex deepest = model->index(0, 0);
        int depth = 0;
        while (model->rowCount(deepest) > 0) {
            deepest = model->index(0, 0, deepest);
            ++depth;
        }
        EXPECT_EQ(depth, 999);
        EXPECT_EQ(deepest.data().toString(), "c999");
        dlg.tree()->setCurrentIndex(deepest);
        EXPECT_EQ(doc->selectedParentId, 998);
        EXPECT_EQ(doc->selectedItemId, 999);
    }
}

}  // namespace
}  // namespace tolvani
