// "オブジェクトの編集・印刷" with small editor scripts standing in for the
// external program (and for wine and winepath): what comes back into the
// document, what every failure says, and that the window goes on painting
// behind a waiting window that cannot be closed while the editor runs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>

#include "model/JwwFile.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestSupport.h"
#include "viewer/CommandTable.h"
#include "viewer/ExternalEditRules.h"
#include "viewer/ui/CEditWaitDlg.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/CTolvaniDoc.h"
#include "viewer/ui/commands/ConnectCommands.h"
#include "viewer/ui/commands/JwCadEditCommand.h"

namespace tolvani::viewer {
namespace {

std::unique_ptr<CJwwDoc> Lines(int count) { return test::LinesDrawing(count); }

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class JwCadEditTest : public testing::Test {
protected:
    JwCadEditTest() {
        dir_ = test::MakeTempDir();
        oldPath_ = qgetenv("PATH");
        auto edited = Lines(3);
        EXPECT_TRUE(SaveDrawingFile(dir_ + "/edited.jww", *edited).ok());
        frame_ = std::make_unique<CMainFrame>(doc_, prompts_);
        ConnectCommands(*frame_, prompts_);
        frame_->resize(800, 600);
        frame_->show();
        // The drawing before the edit: one line.
        core().ChangeDrawing(
            [](CJwwDoc& d) {
                auto line = std::make_unique<CDataSen>();
                line->end = {10, 10};
                d.AddElement(std::move(line));
            },
            false);
    }
    ~JwCadEditTest() override {
        qputenv("PATH", oldPath_);
        frame_.reset();
        std::filesystem::remove_all(dir_);
    }

    DrawingDocument& core() { return doc_.core(); }
    JwCadEditCommand* command() { return frame_->findChild<JwCadEditCommand*>(); }
    // An editor script; every script records its arguments, one a line.
    std::string Script(const std::string& name, const std::string& body, mode_t mode = 0755) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path) << "#!/bin/sh\nPATH=/usr/bin:/bin\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '"
                            << path << ".args'\n"
                            << body << "\n";
        ::chmod(path.c_str(), mode);
        return path;
    }
    std::string Args(const std::string& script) { return ReadText(script + ".args"); }
    void Edit(const std::string& jwwPath) {
        core().settings().jwwPath = jwwPath;
        QAction* a = frame_->Action(cmd::kEditWithJwCad);
        ASSERT_NE(a, nullptr);
        ASSERT_TRUE(a->isEnabled());
        a->trigger();  // returns when the command has ended
    }
    // The stand-in wine and winepath on a PATH of their own: drive c: is
    // dir/drive_c, and this side's paths are Z:.
    void InstallWine() {
        const std::string bin = dir_ + "/bin";
        std::filesystem::create_directory(bin);
        std::ofstream(bin + "/winepath") << "#!/bin/sh\nPATH=/usr/bin:/bin\n"
                                            "case \"$1\" in\n"
                                            "-u) printf '%s\\n' \"$2\" | sed -e 's#^[cC]:#"
                                         << dir_
                                         << "/drive_c#' -e 's#\\\\#/#g' ;;\n"
                                            "-w) printf 'Z:%s\\r\\n' \"$2\" | sed -e 's#/#\\\\#g' ;;\n"
                                            "*) exit 1 ;;\nesac\n";
        std::ofstream(bin + "/wine") << "#!/bin/sh\nPATH=/usr/bin:/bin\n"
                                        "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '"
                                     << dir_ << "/wine.args'\n"
                                     << "work=$(printf '%s' \"$2\" | sed -e 's#^Z:##' -e 's#\\\\#/#g')\n"
                                        "cp '"
                                     << dir_ << "/edited.jww' \"$work\"\n";
        ::chmod((bin + "/winepath").c_str(), 0755);
        ::chmod((bin + "/wine").c_str(), 0755);
        qputenv("PATH", QByteArray::fromStdString(bin));
    }

    std::string dir_;
    QByteArray oldPath_;
    settings::MemorySettingsStore store_;
    test::QuietPrompts prompts_;
    CTolvaniDoc doc_{store_, false};
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(JwCadEditTest, TheChangedDrawingComesBackIntoTheSameViewAndTheWorkFileGoesAtTheEnd) {
    const std::string editor = Script("editor", "sleep 0.01; cp '" + dir_ + "/edited.jww' \"$1\"");
    core().Screen().centerX = 12.5;
    core().Screen().viewWidth = 80;
    core().SetModified(false);
    Edit(editor);
    EXPECT_TRUE(prompts_.messages.isEmpty()) << prompts_.messages.join("|").toStdString();
    EXPECT_EQ(core().drawing().mainList.size(), 3u);
    EXPECT_TRUE(core().modified());
    EXPECT_DOUBLE_EQ(core().Screen().centerX, 12.5);
    EXPECT_DOUBLE_EQ(core().Screen().viewWidth, 80);
    EXPECT_TRUE(frame_->isVisible());

    // The editor got the work file as its one argument, in a folder of
    // this process's own inside the temporary folder.
    const std::string folder = command()->workFolder();
    const std::string work = ExternalEditRules::WorkFilePath(folder);
    EXPECT_EQ(Args(editor), work + "\n");
    EXPECT_EQ(folder.rfind(QDir::tempPath().toStdString() + "/tolvani-", 0), 0u) << folder;
    EXPECT_TRUE(std::filesystem::exists(work));

    // The next edit writes the drawing as it is now.
    const std::string keeper = Script("keeper", "cp \"$1\" '" + dir_ + "/seen.jww'");
    Edit(keeper);
    LoadOutcome seen = LoadDrawingFile(dir_ + "/seen.jww");
    ASSERT_TRUE(seen.ok());
    EXPECT_EQ(seen.doc->mainList.size(), 3u);
    EXPECT_EQ(command()->workFolder(), folder);

    frame_.reset();  // the program ends
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(JwCadEditTest, ASaveThatChangesOnlyTheTimeStillReadsTheDrawingBack) {
    core().SetModified(false);
    const CJwwDoc* before = &core().drawing();
    Edit(Script("saver", "touch -d \"@$(($(date +%s) + 5))\" \"$1\""));
    EXPECT_NE(&core().drawing(), before);
    EXPECT_EQ(core().drawing().mainList.size(), 1u);
    EXPECT_TRUE(core().modified());
    EXPECT_TRUE(prompts_.messages.isEmpty());
}

TEST_F(JwCadEditTest, TheCommandWaitsForADrawingStillBeingRead) {
    doc_.OpenFile(QString::fromStdString(dir_ + "/edited.jww"));
    frame_->UpdateCommandUi();
    EXPECT_FALSE(frame_->Action(cmd::kEditWithJwCad)->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !doc_.loading(); }));
    frame_->UpdateCommandUi();
    EXPECT_TRUE(frame_->Action(cmd::kEditWithJwCad)->isEnabled());
}

TEST_F(JwCadEditTest, AnEditorThatChangesNothingLeavesTheDrawingAndAnEarlierChange) {
    const std::string leaves = Script("leaves", "exit 0");
    const std::string fails = Script("fails", "exit 3");
    for (const std::string& editor : {leaves, fails}) {
        for (const bool modifiedBefore : {false, true}) {
            const CJwwDoc* before = &core().drawing();
            core().SetModified(modifiedBefore);
            Edit(editor);
            EXPECT_EQ(&core().drawing(), before) << editor;
            EXPECT_EQ(core().drawing().mainList.size(), 1u);
            EXPECT_EQ(core().modified(), modifiedBefore) << editor;
            EXPECT_TRUE(prompts_.messages.isEmpty());
            EXPECT_EQ(Args(editor), ExternalEditRules::WorkFilePath(command()->workFolder()) + "\n");
        }
    }
}

TEST_F(JwCadEditTest, AnEditedFileThatCannotBeReadLeavesTheDrawingAndIsKept) {
    std::string old = "JwwData.";
    old += std::string("\x2c\x01\0\0", 4);  // version 300
    test::WriteTestFile(dir_, "old.jww", old);
    struct Case {
        const char* what;
        std::string body;
        std::string message;  // "%1": the work file
    } cases[] = {
        {"garbage", "printf 'no drawing at all' > \"$1\"",
         "%1 は JWW 図面ではありません（ファイルの先頭が「JwwData.」ではありません）。"},
        {"cut short", "printf 'JwwData.' > \"$1\"", "%1 の末尾以降にアクセスしようとしました。"},
        {"too old", "cp '" + dir_ + "/old.jww' \"$1\"", CJwwDoc::kTooOldMessage},
        {"removed", "rm \"$1\"", kLocalReadErrorMessage},
    };
    for (const Case& c : cases) {
        for (const bool modifiedBefore : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (modifiedBefore ? " modified" : ""));
            prompts_.messages.clear();
            prompts_.details.clear();
            core().SetModified(modifiedBefore);
            Edit(Script("editor", c.body));
            const std::string work = ExternalEditRules::WorkFilePath(command()->workFolder());
            std::string message = c.message;
            if (message.find("%1") != std::string::npos) message.replace(message.find("%1"), 2, work);
            ASSERT_EQ(prompts_.messages.size(), 1);
            EXPECT_EQ(prompts_.messages[0].toStdString(), message);
            EXPECT_EQ(core().drawing().mainList.size(), 1u);
            EXPECT_EQ(core().modified(), modifiedBefore);
            EXPECT_TRUE(frame_->isVisible());
            if (std::string(c.what) == "removed") continue;
            // The editor's file is put aside and named.
            const std::string detail = prompts_.details[0].toStdString();
            const auto at = detail.find(command()->workFolder() + "/$OLE作業ファイル (");
            ASSERT_NE(at, std::string::npos) << detail;
            const std::string kept = detail.substr(at, detail.find(" に残してあります", at) - at);
            EXPECT_TRUE(std::filesystem::exists(kept)) << kept;
        }
    }
    const std::string folder = command()->workFolder();
    frame_.reset();
    // The kept files outlive the program.
    EXPECT_TRUE(std::filesystem::exists(folder + "/$OLE作業ファイル (1).jww"));
    EXPECT_FALSE(std::filesystem::exists(ExternalEditRules::WorkFilePath(folder)));
    std::filesystem::remove_all(folder);
}

TEST_F(JwCadEditTest, AProgramThatIsNotThereOrCannotRunSaysSoAndWritesNothing) {
    core().SetModified(true);
    Edit(dir_ + "/none/jwcad");
    ASSERT_EQ(prompts_.messages.size(), 1);
    EXPECT_EQ(prompts_.messages[0].toStdString(),
              dir_ + "/none/jwcad のアプリケーションが見つからなかったので、処理を中止します。");
    EXPECT_EQ(command()->workFolder(), "");  // no work file was written
    EXPECT_TRUE(core().modified());

    const std::string notRunnable = Script("plain", "exit 0", 0644);
    Edit(notRunnable);
    ASSERT_EQ(prompts_.messages.size(), 2);
    EXPECT_EQ(prompts_.messages[1], "起動できませんでした");
    EXPECT_NE(prompts_.details[1].toStdString().find(notRunnable), std::string::npos);
    // The work file stays written; the drawing and the earlier change stay.
    EXPECT_TRUE(std::filesystem::exists(ExternalEditRules::WorkFilePath(command()->workFolder())));
    EXPECT_EQ(core().drawing().mainList.size(), 1u);
    EXPECT_TRUE(core().modified());
}

TEST_F(JwCadEditTest, AWorkFileThatCannotBeWrittenStopsTheCommandBeforeTheEditor) {
    const std::string editor = Script("editor", "touch '" + dir_ + "/ran'");
    core().SetSaveFunction([](const std::string&, CJwwDoc&) {
        SaveOutcome out;
        out.status = SaveOutcome::Status::FileError;
        out.message = kLocalWriteErrorMessage;
        out.detail = "No space left on device";
        return out;
    });
    core().SetModified(true);
    Edit(editor);
    ASSERT_EQ(prompts_.messages.size(), 1);
    EXPECT_EQ(prompts_.messages[0], "ローカル保存でエラー！");
    EXPECT_EQ(prompts_.details[0], "No space left on device");
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/ran"));
    EXPECT_TRUE(core().modified());
}

TEST_F(JwCadEditTest, AWindowsProgramRunsThroughWineWithBothPathsConverted) {
    InstallWine();
    std::filesystem::create_directories(dir_ + "/drive_c/JWW");
    test::WriteTestFile(dir_ + "/drive_c/JWW", "Jw_win.exe", "MZ");
    Edit("c:\\JWW\\Jw_win.exe");
    EXPECT_TRUE(prompts_.messages.isEmpty()) << prompts_.messages.join("|").toStdString();
    EXPECT_EQ(core().drawing().mainList.size(), 3u);
    std::string windowsWork = "Z:" + ExternalEditRules::WorkFilePath(command()->workFolder());
    for (char& ch : windowsWork)
        if (ch == '/') ch = '\\';
    EXPECT_EQ(ReadText(dir_ + "/wine.args"), dir_ + "/drive_c/JWW/Jw_win.exe\n" + windowsWork + "\n");

    // The test looks at the converted path: a program missing there is
    // named as the settings give it.
    std::filesystem::remove(dir_ + "/wine.args");
    Edit("c:\\JWW\\Other.exe");
    ASSERT_EQ(prompts_.messages.size(), 1);
    EXPECT_EQ(prompts_.messages[0], "c:\\JWW\\Other.exe のアプリケーションが見つからなかったので、処理を中止します。");
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/wine.args"));
}

TEST_F(JwCadEditTest, WithoutWineAWindowsProgramIsNotFoundAndWineIsNamed) {
    std::filesystem::create_directory(dir_ + "/empty");
    qputenv("PATH", QByteArray::fromStdString(dir_ + "/empty"));
    Edit("c:\\JWW\\Jw_win.exe");
    ASSERT_EQ(prompts_.messages.size(), 1);
    EXPECT_EQ(prompts_.messages[0].toStdString(), ExternalEditRules::WineMissingMessage("c:\\JWW\\Jw_win.exe"));
    EXPECT_EQ(prompts_.messages[0].split('\n').size(), 2);
    EXPECT_EQ(command()->workFolder(), "");
}

TEST_F(JwCadEditTest, WhileTheEditorRunsTheWindowPaintsBehindAWaitThatCannotBeClosed) {
    const std::string go = dir_ + "/go";
    const std::string editor =
        Script("editor", "while [ ! -e '" + go + "' ]; do sleep 0.02; done; cp '" + dir_ + "/edited.jww' \"$1\"");
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    frame_->view()->installEventFilter(&counter);
    bool checked = false;
    QTimer::singleShot(0, frame_.get(), [&] {
        CEditWaitDlg* wait = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            wait = command()->waitWindow();
            return wait && wait->isVisible();
        }));
        EXPECT_EQ(QApplication::activeModalWidget(), wait);
        EXPECT_EQ(wait->text(), "Jw_cad で編集中です…");
        EXPECT_TRUE(wait->findChildren<QAbstractButton*>().isEmpty());
        EXPECT_FALSE(wait->windowFlags() & Qt::WindowCloseButtonHint);
        // Neither Escape nor a close request ends the wait.
        QTest::keyClick(wait, Qt::Key_Escape);
        wait->close();
        EXPECT_TRUE(wait->isVisible());
        // The command is not offered again meanwhile.
        frame_->UpdateCommandUi();
        EXPECT_FALSE(frame_->Action(cmd::kEditWithJwCad)->isEnabled());
        // The window behind goes on painting.
        const int before = counter.paints;
        frame_->view()->update();
        EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > before; }));
        checked = true;
        std::ofstream(go) << "go";
    });
    Edit(editor);
    EXPECT_TRUE(checked);
    EXPECT_EQ(core().drawing().mainList.size(), 3u);
    EXPECT_EQ(command()->waitWindow(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(frame_->Action(cmd::kEditWithJwCad)->isEnabled());
    frame_->view()->removeEventFilter(&counter);
}

}  // namespace
}  // namespace tolvani::viewer
