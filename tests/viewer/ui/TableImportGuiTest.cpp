// The table import in the main window, driven with synthesized clicks, keys
// and mouse drags: the dialogs through the menu command, the outline over
// the cached picture, the table placed at the release point, Esc, the
// refusals, undo, the modified flag and the options kept in the settings.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

#include "blocks/BlockRegistry.h"
#include "model/Cp932.h"
#include "table/ui/CCellOption.h"
#include "table/ui/CCsvDlg.h"
#include "viewer/CommandTable.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/CTolvaniDoc.h"
#include "viewer/ui/commands/ConnectCommands.h"
#include "viewer/ui/commands/TableImportCommands.h"

#include "tests/support/ScriptedPrompts.h"

namespace tolvani::viewer {
namespace {

// Steps run one after another on each modal dialog as it opens.
class ModalScript {
public:
    using Step = std::function<void(QWidget* dialog)>;
    explicit ModalScript(std::deque<Step> steps) : steps_(std::move(steps)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || steps_.empty()) return;
            Step step = std::move(steps_.front());
            steps_.pop_front();
            step(modal);
        });
        timer_.start();
    }
    bool done() const { return steps_.empty(); }

private:
    std::deque<Step> steps_;
    QTimer timer_;
};

void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center()); }

void Click(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

QPushButton* Button(QWidget* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
}

class TableImportGui : public ::testing::Test {
protected:
    void SetUp() override {
        doc = std::make_unique<CTolvaniDoc>(store, false);
        frame = std::make_unique<CMainFrame>(*doc, prompts);
        ConnectCommands(*frame, prompts);
        frame->resize(900, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        // One line, so that the import is offered.
        doc->core().ChangeDrawing(
            [](CJwwDoc& d) {
                AddLineElement(d, false, 0, 0, 1, 1, -100, -100, 100, 100);
                d.CountLayerElements();
            },
            false);
        WaitForPicture();
    }
    void TearDown() override {
        frame.reset();
        doc.reset();
    }

    void WaitForPicture() {
        for (int i = 0; i < 6000 && view()->redrawPending(); ++i) QTest::qWait(10);
        ASSERT_FALSE(view()->redrawPending());
    }
    display::CTolvaniView* view() { return frame->view(); }
    const CJwwDoc& drawing() { return doc->core().drawing(); }
    QAction* Action(int id) {
        frame->UpdateCommandUi();
        return frame->Action(id);
    }

    void SendMouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, view()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }

    // Runs the import command with the dialogs answered by `steps`.
    void RunImport(std::deque<ModalScript::Step> steps) {
        ModalScript script(std::move(steps));
        Action(cmd::kTableImport)->trigger();
        EXPECT_TRUE(script.done());
    }

    // The import dialog: read the clipboard and confirm.
    static ModalScript::Step FromClipboard() {
        return [](QWidget* d) {
            Click(Button(d, "button1064"));
            Click(Button(d, "button1"));
        };
    }
    static ModalScript::Step Confirm() {
        return [](QWidget* d) { Click(Button(d, "button1")); };
    }

    QString StatusMessage() { return frame->statusBar()->currentMessage(); }

    settings::MemorySettingsStore store;
    test::QuietPrompts prompts;
    std::unique_ptr<CTolvaniDoc> doc;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(TableImportGui, ClipboardTablePlacedAtTheReleasePointAndUndone) {
    QGuiApplication::clipboard()->setText(QStringLiteral("品名\t数量\r\n鉛筆\t\"3\n本\"\r\n"));
    const std::size_t before = drawing().mainList.size();
    RunImport({FromClipboard(), Confirm()});
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(StatusMessage(), QStringLiteral("表の左上の位置をクリックしてください（Esc で中止）"));
    EXPECT_FALSE(doc->core().modified());  // nothing placed yet

    // The outline follows the pointer over the same picture.
    const qint64 picture = view()->picture().cacheKey();
    SendMouse(QEvent::MouseButtonPress, QPoint(200, 150), Qt::LeftButton, Qt::LeftButton);
    SendMouse(QEvent::MouseMove, QPoint(260, 200), Qt::NoButton, Qt::LeftButton);
    const QImage shown = view()->grab().toImage();
    EXPECT_FALSE(view()->redrawPending());
    EXPECT_EQ(view()->picture().cacheKey(), picture);
    const display::DevicePoint corner = doc->core().Screen().ToDevice(doc->core().Screen().ToDrawing(260, 200).x,
                                                                      doc->core().Screen().ToDrawing(260, 200).y);
    const double dpr = shown.devicePixelRatio();
    EXPECT_NE(shown.pixelColor(QPoint(corner.x + 3, corner.y) * dpr),
              view()->picture().pixelColor(QPoint(corner.x + 3, corner.y)));
    EXPECT_EQ(drawing().mainList.size(), before);

    const QPoint release(300, 220);
    const JwwPoint at = doc->core().Screen().ToDrawing(release.x(), release.y());
    SendMouse(QEvent::MouseButtonRelease, release, Qt::LeftButton, Qt::NoButton);
    WaitForPicture();
    // 2 × 2 texts, 3 horizontal and 3 vertical lines.
    ASSERT_EQ(drawing().mainList.size(), before + 10);
    const auto* first = dynamic_cast<const CDataMoji*>(drawing().mainList[before].get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text.bytes(), Utf8ToCp932("品名"));
    EXPECT_DOUBLE_EQ(first->start.x, at.x + 1.0);
    const double h = 0.8 + drawing().header.textHeight[3] + 0.6;
    EXPECT_DOUBLE_EQ(first->start.y, at.y - h + 0.6);
    const auto* cell = dynamic_cast<const CDataMoji*>(drawing().mainList[before + 3].get());
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text.bytes(), Utf8ToCp932("3 本"));
    const auto* top = dynamic_cast<const CDataSen*>(drawing().mainList[before + 4].get());
    ASSERT_NE(top, nullptr);
    EXPECT_DOUBLE_EQ(top->start.x, at.x);
    EXPECT_DOUBLE_EQ(top->start.y, at.y);
    EXPECT_TRUE(doc->core().modified());
    EXPECT_EQ(StatusMessage(), QStringLiteral("レディ"));
    EXPECT_EQ(view()->mouseMode(), nullptr);

    // A second press and release places nothing more.
    SendMouse(QEvent::MouseButtonPress, release, Qt::LeftButton, Qt::LeftButton);
    SendMouse(QEvent::MouseButtonRelease, release, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(drawing().mainList.size(), before + 10);

    ASSERT_TRUE(Action(cmd::kTableUndo)->isEnabled());
    doc->core().SetModified(false);
    Action(cmd::kTableUndo)->trigger();
    WaitForPicture();
    EXPECT_EQ(drawing().mainList.size(), before);
    EXPECT_TRUE(doc->core().modified());
    EXPECT_FALSE(Action(cmd::kTableUndo)->isEnabled());
    EXPECT_EQ(drawing().layerElementCount[0][0], 1u);
}

TEST_F(TableImportGui, EscEndsThePlacementAndAnotherDrawingToo) {
    QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\r\n"));
    const std::size_t before = drawing().mainList.size();
    RunImport({FromClipboard(), Confirm()});
    ASSERT_NE(view()->mouseMode(), nullptr);
    SendMouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton, Qt::LeftButton);
    QTest::keyClick(view(), Qt::Key_Escape);
    SendMouse(QEvent::MouseButtonRelease, QPoint(120, 120), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(drawing().mainList.size(), before);
    EXPECT_EQ(view()->mouseMode(), nullptr);
    EXPECT_EQ(StatusMessage(), QStringLiteral("レディ"));
    EXPECT_FALSE(doc->core().modified());

    // Choosing the import again while armed starts over: the table read
    // before is still in the dialog.
    RunImport({Confirm(), Confirm()});
    ASSERT_NE(view()->mouseMode(), nullptr);
    RunImport({[](QWidget* d) { Click(Button(d, "button2")); }});
    EXPECT_EQ(view()->mouseMode(), nullptr);

    RunImport({Confirm(), Confirm()});
    ASSERT_NE(view()->mouseMode(), nullptr);
    doc->NewDocument();
    EXPECT_EQ(view()->mouseMode(), nullptr);
    EXPECT_EQ(StatusMessage(), QStringLiteral("レディ"));
    EXPECT_FALSE(Action(cmd::kTableImport)->isEnabled());  // the drawing is empty now
}

TEST_F(TableImportGui, RefusalsSayWhyAndPlaceNothing) {
    QGuiApplication::clipboard()->clear();
    RunImport({[this](QWidget* d) {
        Click(Button(d, "button1064"));
        Click(Button(d, "button1"));
        EXPECT_EQ(prompts.messages, QStringList{"表が読み込まれていません！"});
        EXPECT_TRUE(d->isVisible());
        Click(Button(d, "button2"));
    }});
    EXPECT_EQ(view()->mouseMode(), nullptr);

    // A block name the drawing already has.
    doc->core().ChangeDrawing([](CJwwDoc& d) { BeginTableBlock(d, Utf8ToCp932("部材表"), 0, 0); }, false);
    prompts.messages.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\r\n"));
    RunImport({FromClipboard(), [this](QWidget* d) {
                   auto* option = qobject_cast<CCellOption*>(d);
                   ASSERT_NE(option, nullptr);
                   Click(option->blockCheck());
                   Click(Button(d, "button1"));  // no name yet
                   EXPECT_EQ(prompts.messages, QStringList{"ブロック挿入するためには、名前が必要です！"});
                   QInputMethodEvent typed;
                   typed.setCommitString(QStringLiteral("部材表"));
                   QApplication::sendEvent(option->blockNameEdit(), &typed);
                   Click(Button(d, "button1"));
               }});
    EXPECT_EQ(prompts.messages.last(), QStringLiteral("ブロック名がすでに登録済です、名前を変えてやり直して下さい！"));
    EXPECT_EQ(view()->mouseMode(), nullptr);
    EXPECT_FALSE(doc->core().modified());
}

TEST_F(TableImportGui, BlockFigureAndOptionsKeptInTheSettings) {
    QGuiApplication::clipboard()->setText(QStringLiteral("x\ty\tz\r\n1\t2\t3\r\n"));
    RunImport({FromClipboard(), [](QWidget* d) {
                   auto* option = qobject_cast<CCellOption*>(d);
                   ASSERT_NE(option, nullptr);
                   QTest::keyClick(option->margin(0), Qt::Key_Up);
                   Click(option->blockCheck());
                   QInputMethodEvent typed;
                   typed.setCommitString(QStringLiteral("表A"));
                   QApplication::sendEvent(option->blockNameEdit(), &typed);
                   Click(Button(d, "button1"));
               }});
    ASSERT_NE(view()->mouseMode(), nullptr);
    EXPECT_EQ(doc->core().settings().table.cellLeft, 11);
    EXPECT_EQ(doc->core().settings().table.cellBlock, true);

    const std::size_t before = drawing().mainList.size();
    const std::size_t definitions = drawing().blockList.size();
    const QPoint release(400, 300);
    const JwwPoint at = doc->core().Screen().ToDrawing(release.x(), release.y());
    SendMouse(QEvent::MouseButtonPress, QPoint(380, 280), Qt::LeftButton, Qt::LeftButton);
    SendMouse(QEvent::MouseMove, release, Qt::NoButton, Qt::LeftButton);
    SendMouse(QEvent::MouseButtonRelease, release, Qt::LeftButton, Qt::NoButton);
    WaitForPicture();
    ASSERT_EQ(drawing().mainList.size(), before + 1);
    ASSERT_EQ(drawing().blockList.size(), definitions + 1);
    const auto* insertion = dynamic_cast<const CDataBlock*>(drawing().mainList.back().get());
    ASSERT_NE(insertion, nullptr);
    EXPECT_DOUBLE_EQ(insertion->ref.x, at.x);
    EXPECT_DOUBLE_EQ(insertion->ref.y, at.y);
    EXPECT_EQ(drawing().blockList.back()->elements.size(), 6u + 3u + 4u);

    Action(cmd::kTableUndo)->trigger();
    EXPECT_EQ(drawing().mainList.size(), before);
    EXPECT_EQ(drawing().blockList.size(), definitions);

    // The options command: cancel keeps, OK takes and keeps in the settings.
    ModalScript cancel({[](QWidget* d) {
        QTest::keyClick(qobject_cast<CCellOption*>(d)->margin(3), Qt::Key_Up);
        Click(Button(d, "button2"));
    }});
    Action(cmd::kTableOptions)->trigger();
    EXPECT_EQ(doc->core().settings().table.cellBottom, 6);
    ModalScript ok({[](QWidget* d) {
        auto* option = qobject_cast<CCellOption*>(d);
        QTest::keyClick(option->margin(3), Qt::Key_Down);
        Click(option->blockCheck());
        Click(Button(d, "button1"));
    }});
    Action(cmd::kTableOptions)->trigger();
    EXPECT_EQ(doc->core().settings().table.cellBottom, 5);
    EXPECT_EQ(doc->core().settings().table.cellBlock, false);
    frame.reset();
    doc.reset();  // writes the settings
    EXPECT_EQ(store.GetInt("Settings", "CellBottom", -1), 5);
    EXPECT_EQ(store.GetInt("Settings", "CellLeft", -1), 11);
}

}  // namespace
}  // namespace tolvani::viewer
