// The dialogs reached from the main window's menus, driven through their
// widgets: what OK and Cancel leave in the document, its modified flag and
// the status bar.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "blocks/ui/CBlockDlg.h"
#include "display/ui/CJwwLayer.h"
#include "settings/ui/CPathDlg.h"
#include "settings/ui/CPropColor.h"
#include "settings/ui/CPropSheet.h"
#include "tests/support/WhenModal.h"
#include "viewer/CommandTable.h"
#include "viewer/ui/CAboutDlg.h"
#include "viewer/ui/CHelpDlg.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/CTolvaniDoc.h"
#include "viewer/ui/commands/ConnectCommands.h"
#include "viewer/ui/commands/DialogCommands.h"

#include "tests/support/ScriptedPrompts.h"

namespace tolvani::viewer {
namespace {

using test::WhenModal;

void ClickCell(QTableWidget* list, int row, int column) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row, column)).center());
}

void Press(QWidget* dlg, const char* name) {
    auto* b = dlg->findChild<QPushButton*>(name);
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

class DialogCommandsTest : public testing::Test {
protected:
    DialogCommandsTest() : doc_(store_, false), frame_(doc_, prompts_) {
        ConnectCommands(frame_, prompts_);
        frame_.resize(800, 600);
        frame_.show();
    }
    DrawingDocument& core() { return doc_.core(); }
    const CJwwDoc& drawing() { return doc_.core().drawing(); }
    void Run(int command) {
        QAction* a = frame_.Action(command);
        ASSERT_NE(a, nullptr);
        ASSERT_TRUE(a->isEnabled()) << command;
        a->trigger();
    }

    settings::MemorySettingsStore store_;
    test::QuietPrompts prompts_;
    CTolvaniDoc doc_;
    CMainFrame frame_;
};

TEST_F(DialogCommandsTest, WriteLayerWithOkMarksTheDrawingAndShowsInTheStatusBar) {
    for (bool ok : {false, true}) {
        WhenModal<display::CJwwLayer>([ok](display::CJwwLayer* dlg) {
            ClickCell(dlg->groupList(), 5, 0);
            ClickCell(dlg->layerList(), 2, 0);
            Press(dlg, "writeLayerButton");
            Press(dlg, ok ? "okButton" : "cancelButton");
        });
        Run(cmd::kLayerSettings);
        EXPECT_EQ(drawing().header.writeLayerGroup, ok ? 5u : 0u);
        EXPECT_EQ(drawing().header.groups[5].layerState[2], ok ? 3u : 2u);
        EXPECT_EQ(core().modified(), ok);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame_.pane(3)->text() == "   5  /  2"; }));
    // Opening and OK without a change leaves the document unmodified.
    core().SetModified(false);
    WhenModal<display::CJwwLayer>([](display::CJwwLayer* dlg) { Press(dlg, "okButton"); });
    Run(cmd::kLayerSettings);
    EXPECT_FALSE(core().modified());
}

TEST_F(DialogCommandsTest, BlockSelectionIsClearedWhenTheDialogCloses) {
    core().ChangeDrawing(
        [](CJwwDoc& d) {
            auto def = std::make_unique<CDataList>();
            def->number = 0;
            def->name = JwwString("box");
            auto line = std::make_unique<CDataSen>();
            line->lineType = 1;
            line->end = {10, 10};
            def->elements.push_back(std::move(line));
            d.AddDefinition(std::move(def));
            for (int i = 0; i < 2; ++i) {
                auto ins = std::make_unique<CDataBlock>();
                ins->ref = {i * 20.0, 0};
                d.AddElement(std::move(ins));
            }
        },
        false);
    int seenParent = -1, seenItem = -1;
    WhenModal<CBlockDlg>([&](CBlockDlg* dlg) {
        auto* tree = dlg->tree();
        const QModelIndex second = tree->model()->index(1, 0);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(second).center());
        seenParent = drawing().selectedParentId;
        seenItem = drawing().selectedItemId;
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    Run(cmd::kBlockFigures);
    EXPECT_EQ(seenParent, 0);
    EXPECT_EQ(seenItem, 2);
    EXPECT_EQ(drawing().selectedParentId, 0);
    EXPECT_EQ(drawing().selectedItemId, 0);
    EXPECT_FALSE(core().modified());
    EXPECT_TRUE(prompts_.messages.isEmpty());
}

TEST_F(DialogCommandsTest, AColourChosenInTheSheetGoesIntoTheDrawingsTable) {
    WhenModal<settings::CPropSheet>([](settings::CPropSheet* sheet) {
        WhenModal<QColorDialog>([sheet](QColorDialog* chooser) {
            chooser->setCurrentColor(QColor(255, 0, 0));
            chooser->accept();
            QTimer::singleShot(0, sheet, [sheet] { Press(sheet, "okButton"); });
        });
        QTest::mouseClick(sheet->colorPage()->colorButton(3), Qt::LeftButton);
    });
    Run(cmd::kSettingsSheet);
    EXPECT_EQ(drawing().header.color[3], 0x0000FFu);
    EXPECT_TRUE(core().modified());
}

TEST_F(DialogCommandsTest, ThePathAndItsPermissionsAreKeptInTheSettings) {
    WhenModal<settings::CPathDlg>([](settings::CPathDlg* dlg) {
        dlg->pathEdit()->setText("/usr/local/bin/jwcad");
        Press(dlg, "okButton");
    });
    Run(cmd::kJwwPath);
    EXPECT_EQ(core().settings().jwwPath, "/usr/local/bin/jwcad");
    EXPECT_FALSE(core().modified());
}

TEST_F(DialogCommandsTest, HelpAndAboutOpenAndClose) {
    bool helpShown = false, aboutShown = false;
    WhenModal<CHelpDlg>([&](CHelpDlg* dlg) {
        helpShown = true;
        Press(dlg, "closeButton");
    });
    Run(cmd::kHelp);
    WhenModal<CAboutDlg>([&](CAboutDlg* dlg) {
        aboutShown = true;
        Press(dlg, "okButton");
    });
    Run(cmd::kAppAbout);
    EXPECT_TRUE(helpShown);
    EXPECT_TRUE(aboutShown);
}

}  // namespace
}  // namespace tolvani::viewer
