// An object opened in its own window, as tolvani -Embedding PATH opens it,
// driven through its menu and keys: each of the four forms is written back
// in its form with the change, the window stays, closing with changes not
// written back asks, and a refused object shows nothing and writes nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "model/JwwFile.h"
#include "object/CompoundFile.h"
#include "object/NativeData.h"
#include "object/ObjectData.h"
#include "object/qt/ObjectPicture.h"
#include "settings/ui/CApryDisp.h"
#include "settings/ui/DotSizeSpin.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WhenModal.h"
#include "viewer/CommandTable.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/CTolvaniDoc.h"
#include "viewer/ui/commands/ConnectCommands.h"
#include "viewer/ui/commands/DialogCommands.h"
#include "viewer/ui/commands/EmbeddedCommands.h"
#include "viewer/ui/commands/JwCadEditCommand.h"

namespace tolvani::viewer {
namespace {

using object::ObjectForm;
using test::Bytes;

std::unique_ptr<CJwwDoc> Lines(int count) { return test::LinesDrawing(count, 20, -50, 50); }

// The drawing as it is once read from a file, and what saving it gives.
std::unique_ptr<CJwwDoc> ReadBack(int count) {
    auto doc = std::make_unique<CJwwDoc>();
    doc->header.SetNewDrawingDefaults();
    test::LoadFromBytes(*doc, test::SaveToBytes(*Lines(count)));
    return doc;
}
Bytes Body(int count) { return test::SaveToBytes(*ReadBack(count)); }

// 378 × 283 pixels at 96 dots per inch: the window fits every screen.
object::NativePrefix SomePrefix() {
    object::NativePrefix p;
    p.extentWidth = 10000;
    p.extentHeight = 7500;
    p.viewWidth = 200;
    p.viewHeight = 150;
    p.centerX = 30;
    p.centerY = 0;
    p.dotSize = 20;
    return p;
}

Bytes ObjectFile(ObjectForm form, CJwwDoc& doc) {
    const object::NativePrefix p = SomePrefix();
    const Bytes native = object::WriteNativeData(p, doc);
    QByteArray picture;
    switch (form) {
        case ObjectForm::Raw: return native;
        case ObjectForm::Compound: {
            Bytes file;
            EXPECT_TRUE(object::WriteCompoundFile(native, file));
            return file;
        }
        case ObjectForm::Png: picture = object::MakeObjectPng(doc, p, native); break;
        case ObjectForm::Svg: picture = object::MakeObjectSvg(doc, p, native); break;
    }
    return Bytes(picture.begin(), picture.end());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

using test::WhenModal;

class EmbeddedWindowTest : public testing::Test {
protected:
    EmbeddedWindowTest() : dir_(test::MakeTempDir()) {}
    ~EmbeddedWindowTest() override {
        frame_.reset();
        doc_.reset();
        std::filesystem::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    DrawingDocument& core() { return doc_->core(); }

    // The embedded run's start, as the application makes it.
    bool Start(const std::string& path) {
        frame_.reset();
        doc_.reset();
        doc_ = std::make_unique<CTolvaniDoc>(store_, true);
        frame_ = std::make_unique<CMainFrame>(*doc_, prompts_);
        EmbeddedCommands* object = ConnectCommands(*frame_, prompts_);
        EXPECT_NE(object, nullptr);
        const bool shown = object && object->Open(QString::fromStdString(path));
        if (shown) {
            frame_->show();
            frame_->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
        }
        return shown;
    }
    // The object in the file: its form, prefix and drawing body.
    struct OnDisk {
        ObjectForm form;
        object::NativePrefix prefix;
        Bytes body;
    };
    static OnDisk Read(const std::string& path) {
        const Bytes file = test::ReadFileBytes(path);
        const object::ObjectBytes bytes = object::ExtractObjectData(file.data(), file.size());
        EXPECT_TRUE(bytes.ok) << bytes.message;
        const object::NativeReadResult r = object::ReadNativeData(bytes.native.data(), bytes.native.size(), "");
        EXPECT_TRUE(r.ok) << r.message;
        return {bytes.form, r.prefix,
                Bytes(bytes.native.begin() + static_cast<long>(r.bodyOffset), bytes.native.end())};
    }
    void AddLine() {
        // The next line of Lines(n).
        core().ChangeDrawing([](CJwwDoc& d) {
            const double x = 20.0 * static_cast<double>(d.mainList.size());
            auto line = std::make_unique<CDataSen>();
            line->start = {x, -50};
            line->end = {x, 50};
            d.AddElement(std::move(line));
        });
    }

    std::string dir_;
    settings::MemorySettingsStore store_;
    test::ScriptedPrompts prompts_;
    std::unique_ptr<CTolvaniDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
};

// The menus of the window as (title, [item ids]).
std::vector<std::pair<QString, std::vector<int>>> Menus(CMainFrame& frame) {
    std::vector<std::pair<QString, std::vector<int>>> menus;
    for (QAction* m : frame.menuBar()->actions()) {
        std::vector<int> ids;
        for (QAction* a : m->menu()->actions()) ids.push_back(a->isSeparator() ? 0 : a->data().toInt());
        menus.push_back({m->text(), ids});
    }
    return menus;
}

TEST_F(EmbeddedWindowTest, EachFormIsUpdatedInItsFormAndTheWindowStays) {
    for (const ObjectForm form : {ObjectForm::Raw, ObjectForm::Png, ObjectForm::Svg, ObjectForm::Compound}) {
        SCOPED_TRACE(object::FormName(form));
        const std::string path = Path(std::string("object.") + object::FormName(form));
        const Bytes original = ObjectFile(form, *Lines(3));
        WriteBytes(path, original);
        ASSERT_TRUE(Start(path)) << prompts_.messages.join("|").toStdString();
        EXPECT_TRUE(prompts_.messages.isEmpty());

        // The object's menu, and only the object's keys.
        const std::vector<std::pair<QString, std::vector<int>>> expected = {
            {"編集(&E)", {cmd::kEditWithJwCad, cmd::kOutport, 0, cmd::kUpdateObject}},
            {"表示(&V)", {cmd::kViewToolbar, cmd::kViewStatusBar, 0, cmd::kDisplaySettings}},
            {"ヘルプ(&H)", {cmd::kAppAbout}},
        };
        EXPECT_EQ(Menus(*frame_), expected);
        EXPECT_EQ(frame_->Action(cmd::kOutport)->text(), "アウトポート");
        EXPECT_EQ(frame_->Action(cmd::kUpdateObject)->text(), "オブジェクト更新");
        EXPECT_EQ(frame_->Action(cmd::kDisplaySettings)->text(), "設定");
        EXPECT_EQ(frame_->Action(cmd::kUpdateObject)->statusTip(), "オブジェクトの変更を反映させる");
        EXPECT_EQ(frame_->Action(cmd::kFileUpdate)->shortcut(), QKeySequence("Ctrl+S"));
        EXPECT_TRUE(frame_->Action(cmd::kFileSave)->shortcuts().isEmpty());
        EXPECT_TRUE(frame_->Action(cmd::kFileOpenApp)->shortcuts().isEmpty());
        EXPECT_TRUE(frame_->Action(cmd::kEditCopy)->shortcuts().isEmpty());
        EXPECT_TRUE(frame_->windowTitle().contains(QString::fromStdString(path)));

        // The view shows the object's window at the object's size.
        EXPECT_EQ(core().drawing().mainList.size(), 3u);
        EXPECT_EQ(core().Screen().viewWidth, 200);
        EXPECT_EQ(core().Screen().centerX, 30);
        EXPECT_EQ(core().Values().dotSize, 20);
        const QSize expectedPixels(378, 283);
        EXPECT_LE(std::abs(frame_->view()->width() - expectedPixels.width()), 1) << frame_->view()->width();
        EXPECT_LE(std::abs(frame_->view()->height() - expectedPixels.height()), 1) << frame_->view()->height();
        // The status bar's size pane shows the object's size from the start.
        // (The height is the view's whole pixels: 74.9 mm at 96 dpi.)
        const QString size = frame_->view()->paneText(display::CTolvaniView::kSizePane).trimmed();
        EXPECT_TRUE(size.startsWith(QStringLiteral("100.0mm×")) && size.contains(QStringLiteral(" 7")))
            << size.toStdString();

        // A change, then Ctrl+S.
        AddLine();
        EXPECT_TRUE(frame_->isWindowModified());
        frame_->resize(frame_->size() + QSize(40, 20));
        ASSERT_TRUE(QTest::qWaitFor([&] { return frame_->view()->width() >= expectedPixels.width() + 39; }));
        QTest::keyClick(frame_.get(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_TRUE(prompts_.messages.isEmpty()) << prompts_.messages.join("|").toStdString();
        EXPECT_FALSE(core().modified());
        EXPECT_TRUE(frame_->isVisible());
        OnDisk disk = Read(path);
        EXPECT_EQ(disk.form, form);
        EXPECT_EQ(disk.body, Body(4));
        EXPECT_EQ(disk.prefix.extentWidth, core().Values().extent.width);
        EXPECT_EQ(disk.prefix.extentHeight, core().Values().extent.height);
        EXPECT_GT(disk.prefix.extentWidth, 10000);
        EXPECT_EQ(disk.prefix.dotSize, 20);
        if (form == ObjectForm::Png) {
            // A new picture of the new size.
            const QImage image(QString::fromStdString(path));
            EXPECT_LE(std::abs(image.width() - frame_->view()->width()), 1);
        }

        // Another change, through "オブジェクト更新".
        AddLine();
        frame_->Action(cmd::kUpdateObject)->trigger();
        EXPECT_EQ(Read(path).body, Body(5));
        EXPECT_TRUE(frame_->isVisible());

        // Closing with a change not written back asks; cancel keeps the
        // window, "更新" writes the object and closes.
        AddLine();
        prompts_.updateAnswers = {UiPrompts::SaveAnswer::Cancel, UiPrompts::SaveAnswer::Save};
        EXPECT_FALSE(frame_->close());
        EXPECT_TRUE(frame_->isVisible());
        EXPECT_EQ(Read(path).body, Body(5));
        EXPECT_TRUE(frame_->close());
        EXPECT_EQ(prompts_.askedUpdate, QStringList({QString::fromStdString(path), QString::fromStdString(path)}));
        EXPECT_TRUE(prompts_.asked.isEmpty());
        EXPECT_EQ(Read(path).body, Body(6));
        EXPECT_EQ(Read(path).form, form);
        prompts_.askedUpdate.clear();
        frame_.reset();
        doc_.reset();
    }
    // An embedded run keeps neither the window's placement nor the point
    // size of the settings.
    EXPECT_FALSE(store_.Has("Window", "left"));
    EXPECT_FALSE(store_.Has("Settings", "DotSize"));
    EXPECT_TRUE(store_.Has("Settings", "ZubVersion"));
}

TEST_F(EmbeddedWindowTest, ClosingWithoutChangesOrDiscardingThemLeavesTheFile) {
    const std::string path = Path("object.ole");
    const Bytes original = ObjectFile(ObjectForm::Compound, *Lines(2));
    WriteBytes(path, original);
    ASSERT_TRUE(Start(path));
    EXPECT_TRUE(frame_->close());
    EXPECT_TRUE(prompts_.askedUpdate.isEmpty());

    ASSERT_TRUE(Start(path));
    AddLine();
    prompts_.updateAnswers = {UiPrompts::SaveAnswer::Discard};
    EXPECT_TRUE(frame_->close());
    EXPECT_EQ(prompts_.askedUpdate.size(), 1);
    EXPECT_EQ(test::ReadFileBytes(path), original);
}

TEST_F(EmbeddedWindowTest, ADrawingReplacedFromTheToolbarIsAChangeOfTheObject) {
    const std::string path = Path("object.bin");
    WriteBytes(path, ObjectFile(ObjectForm::Raw, *Lines(2)));
    ASSERT_TRUE(Start(path));
    frame_->Action(cmd::kFileNew)->trigger();
    EXPECT_TRUE(prompts_.askedUpdate.isEmpty());  // nothing to write back before
    EXPECT_TRUE(core().drawing().mainList.empty());
    EXPECT_TRUE(frame_->isWindowModified());
    prompts_.updateAnswers = {UiPrompts::SaveAnswer::Save};
    EXPECT_TRUE(frame_->close());
    EXPECT_EQ(prompts_.askedUpdate.size(), 1);
    EXPECT_EQ(Read(path).body, Body(0));
}

TEST_F(EmbeddedWindowTest, ThePointSizeGoesWithTheObjectAndNotToTheSettings) {
    const std::string path = Path("object.bin");
    WriteBytes(path, ObjectFile(ObjectForm::Raw, *Lines(2)));
    ASSERT_TRUE(Start(path));
    WhenModal<settings::CApryDisp>([](settings::CApryDisp* d) {
        d->spin()->setValue(34);
        QTest::mouseClick(d->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    QAction* display = frame_->Action(cmd::kDisplaySettings);
    ASSERT_TRUE(display->isEnabled());
    display->trigger();
    EXPECT_EQ(core().Values().dotSize, 34);
    // The new size is a change not yet written back.
    prompts_.updateAnswers = {UiPrompts::SaveAnswer::Save};
    EXPECT_TRUE(frame_->close());
    EXPECT_EQ(prompts_.askedUpdate.size(), 1);
    EXPECT_EQ(Read(path).prefix.dotSize, 34);
    frame_.reset();
    doc_.reset();
    EXPECT_FALSE(store_.Has("Settings", "DotSize"));
}

TEST_F(EmbeddedWindowTest, OutportWritesAPlainDrawingAlsoToANewFile) {
    const std::string path = Path("object.svg");
    const Bytes original = ObjectFile(ObjectForm::Svg, *Lines(2));
    WriteBytes(path, original);
    ASSERT_TRUE(Start(path));
    AddLine();
    prompts_.saveNames << QString::fromStdString(Path("new.jww"));
    frame_->Action(cmd::kOutport)->trigger();
    EXPECT_EQ(prompts_.saveFilters, QStringList({"JWWファイル(*.jww)|*jww|"}));
    EXPECT_EQ(prompts_.saveInitial, QStringList({QString()}));
    EXPECT_TRUE(prompts_.messages.isEmpty());
    LoadOutcome out = LoadDrawingFile(Path("new.jww"));
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(out.doc->mainList.size(), 3u);
    // The object itself is not written, and still asks to be.
    EXPECT_EQ(test::ReadFileBytes(path), original);
    EXPECT_TRUE(frame_->isWindowModified());
    prompts_.updateAnswers = {UiPrompts::SaveAnswer::Discard};
    EXPECT_TRUE(frame_->close());
    EXPECT_EQ(prompts_.askedUpdate.size(), 1);
}

TEST_F(EmbeddedWindowTest, AChangedEditInJwCadMarksTheObjectAndTheWindowStays) {
    const std::string path = Path("object.png");
    WriteBytes(path, ObjectFile(ObjectForm::Png, *Lines(2)));
    auto edited = Lines(7);
    ASSERT_TRUE(SaveDrawingFile(Path("edited.jww"), *edited).ok());
    const std::string editor = Path("editor");
    std::ofstream(editor) << "#!/bin/sh\ncp '" << Path("edited.jww") << "' \"$1\"\n";
    ::chmod(editor.c_str(), 0755);
    ASSERT_TRUE(Start(path));
    core().settings().jwwPath = editor;
    frame_->Action(cmd::kEditWithJwCad)->trigger();  // returns when the editor has ended
    EXPECT_TRUE(prompts_.messages.isEmpty()) << prompts_.messages.join("|").toStdString();
    EXPECT_EQ(core().drawing().mainList.size(), 7u);
    EXPECT_TRUE(frame_->isVisible());
    EXPECT_TRUE(frame_->isWindowModified());
    frame_->Action(cmd::kUpdateObject)->trigger();
    EXPECT_EQ(Read(path).body, Body(7));
    EXPECT_EQ(Read(path).form, ObjectForm::Png);
    EXPECT_TRUE(frame_->close());
    EXPECT_TRUE(prompts_.askedUpdate.isEmpty());
}

TEST_F(EmbeddedWindowTest, ARefusedObjectShowsNoWindowAndWritesNothing) {
    const QImage plain(8, 8, QImage::Format_RGB32);
    ASSERT_TRUE(plain.save(QString::fromStdString(Path("plain.png"))));
    std::ofstream(Path("notes.txt")) << "not an object\n";
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"plain.png", "この画像には図面のデータが含まれていません。"},
        {"notes.txt", EmbeddedObject::kNotAnObjectMessage},
        {"missing.bin", kLocalReadErrorMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool existed = std::filesystem::exists(Path(c.name));
        const Bytes before = existed ? test::ReadFileBytes(Path(c.name)) : Bytes();
        prompts_.messages.clear();
        EXPECT_FALSE(Start(Path(c.name)));
        EXPECT_FALSE(frame_->isVisible());
        EXPECT_EQ(prompts_.messages, QStringList({QString::fromUtf8(c.message)}));
        EXPECT_EQ(std::filesystem::exists(Path(c.name)), existed);
        if (existed) {
            EXPECT_EQ(test::ReadFileBytes(Path(c.name)), before);
        }
        frame_.reset();
        doc_.reset();
    }
    EXPECT_EQ(static_cast<long>(std::distance(std::filesystem::directory_iterator(dir_), {})), 2);  // nothing new
}

}  // namespace
}  // namespace tolvani::viewer
