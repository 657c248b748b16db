// The rules of editing in the external program, without a display: how the
// program is started, the work file's folder and stamp, and what each end
// of an edit leaves in the document.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TestSupport.h"
#include "viewer/ExternalEditRules.h"

namespace tolvani::viewer {
namespace {

using Rules = ExternalEditRules;
using Kind = Rules::Ending::Kind;

TEST(ExternalEditRules, WindowsProgramsRunThroughWineAndOthersAsTheyAre) {
    struct Case {
        const char* path;
        bool wine;
        bool convert;
    } cases[] = {
        {"c:\\JWW\\Jw_win.exe", true, true},
        {"C:\\Program Files\\JWW\\JW_WIN.EXE", true, true},
        {"D:/jww/Jw_win.Exe", true, true},
        {"/home/u/.wine/drive_c/JWW/Jw_win.exe", true, false},
        {"jww\\Jw_win.exe", true, true},
        {"/usr/local/bin/jwcad", false, false},
        {"/opt/editor.exe.sh", false, false},
        {"exe", false, false},
        {".exe", true, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Rules::ThroughWine(c.path), c.wine) << c.path;
        if (c.wine) {
            EXPECT_EQ(Rules::NeedsConversion(c.path), c.convert) << c.path;
        }
    }
}

TEST(ExternalEditRules, CommandLinesHandEveryPathOverWhole) {
    const std::string work = "/tmp/tolvani-1-a b/$OLE作業ファイル.jww";
    const ProgramRun native = Rules::EditorRun("/usr/bin/my editor", work);
    EXPECT_EQ(native.program, "/usr/bin/my editor");
    EXPECT_EQ(native.arguments, std::vector<std::string>{work});
    EXPECT_EQ(native.CommandLine(), "\"/usr/bin/my editor\" \"" + work + "\"");

    const ProgramRun wine =
        Rules::WineRun("/usr/bin/wine", "/w/drive_c/JWW/Jw_win.exe", "Z:\\tmp\\$OLE作業ファイル.jww");
    EXPECT_EQ(wine.program, "/usr/bin/wine");
    EXPECT_EQ(wine.arguments, (std::vector<std::string>{"/w/drive_c/JWW/Jw_win.exe", "Z:\\tmp\\$OLE作業ファイル.jww"}));

    const ProgramRun toUnix = Rules::ToUnixPath("/usr/bin/winepath", "c:\\JWW\\Jw_win.exe");
    EXPECT_EQ(toUnix.arguments, (std::vector<std::string>{"-u", "c:\\JWW\\Jw_win.exe"}));
    const ProgramRun toWindows = Rules::ToWindowsPath("/usr/bin/winepath", work);
    EXPECT_EQ(toWindows.arguments, (std::vector<std::string>{"-w", work}));

    EXPECT_EQ(Rules::ConvertedPath("Z:\\tmp\\a b\r\n"), "Z:\\tmp\\a b");
    EXPECT_EQ(Rules::ConvertedPath("/home/u/x.exe\nwarning\n"), "/home/u/x.exe");
    EXPECT_EQ(Rules::ConvertedPath("/no/line/end"), "/no/line/end");
    EXPECT_EQ(Rules::ConvertedPath(""), "");
    EXPECT_EQ(Rules::ConvertedPath("\n"), "");
}

TEST(ExternalEditRules, TheProgramMustExistAndAWindowsPathStayShort) {
    const std::string dir = test::MakeTempDir();
    const std::string program = test::WriteTestFile(dir, "Jw_win.exe", "MZ");
    EXPECT_TRUE(Rules::ProgramFound(program, program));
    EXPECT_FALSE(Rules::ProgramFound(dir + "/none", dir + "/none"));
    EXPECT_FALSE(Rules::ProgramFound("c:\\JWW\\Jw_win.exe", ""));  // winepath gave nothing
    EXPECT_TRUE(Rules::ProgramFound("c:\\JWW\\Jw_win.exe", program));

    // 259 characters (each of three bytes) pass, 260 do not; the limit
    // counts characters and holds only for Windows programs.
    auto windowsPath = [](std::size_t characters) {
        std::string p = "c:\\";
        while (Rules::PathCharacters(p) + 4 < characters) p += "図";
        return p + ".exe";
    };
    EXPECT_EQ(Rules::PathCharacters(windowsPath(259)), 259u);
    EXPECT_TRUE(Rules::ProgramFound(windowsPath(259), program));
    EXPECT_FALSE(Rules::ProgramFound(windowsPath(260), program));
    EXPECT_TRUE(Rules::ProgramFound(std::string(300, 'a'), program));

    EXPECT_EQ(Rules::NotFoundMessage("c:\\JWW\\Jw_win.exe"),
              "c:\\JWW\\Jw_win.exe のアプリケーションが見つからなかったので、処理を中止します。");
    EXPECT_EQ(Rules::WineMissingMessage("c:\\JWW\\Jw_win.exe"),
              "c:\\JWW\\Jw_win.exe のアプリケーションが見つからなかったので、処理を中止します。\n"
              "Windows のプログラム (.exe) を起動するには wine が必要です。");
    std::filesystem::remove_all(dir);
}

void SetTime(const std::string& path, int64_t seconds, long nanoseconds) {
    const timespec times[2] = {{static_cast<time_t>(seconds), nanoseconds},
                               {static_cast<time_t>(seconds), nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(ExternalEditRules, TheStampSeesTimeToTheNanosecondAndTheSize) {
    const std::string dir = test::MakeTempDir();
    const std::string path = dir + "/w.jww";
    EXPECT_FALSE(FileStamp::Of(path).found);
    EXPECT_EQ(FileStamp::Of(path), FileStamp{});

    test::WriteTestFile(dir, "w.jww", "abcd");
    SetTime(path, 1700000000, 100);
    const FileStamp written = FileStamp::Of(path);
    EXPECT_TRUE(written.found);
    EXPECT_EQ(written.size, 4);
    EXPECT_EQ(FileStamp::Of(path), written);

    Rules edit;
    edit.Began(false, written);
    EXPECT_FALSE(edit.NeedsReadBack(FileStamp::Of(path)));
    SetTime(path, 1700000000, 101);  // saved again within the same second
    EXPECT_TRUE(edit.NeedsReadBack(FileStamp::Of(path)));
    test::WriteTestFile(dir, "w.jww", "abcde");  // same time, other size
    SetTime(path, 1700000000, 100);
    EXPECT_TRUE(edit.NeedsReadBack(FileStamp::Of(path)));
    test::WriteTestFile(dir, "w.jww", "dcba");  // the same time and size again
    SetTime(path, 1700000000, 100);
    EXPECT_FALSE(edit.NeedsReadBack(FileStamp::Of(path)));
    std::filesystem::remove(path);  // the editor removed it
    EXPECT_TRUE(edit.NeedsReadBack(FileStamp::Of(path)));
    std::filesystem::remove_all(dir);
}

TEST(ExternalEditRules, TheWorkFolderIsTheProcesssOwnAndKeepsAFileThatCouldNotBeRead) {
    // 表 and ソ end in the byte 0x5C in Shift-JIS; in a path here they are
    // plain characters.
    const std::string parent = test::MakeTempDir() + "/表ソ";
    ASSERT_TRUE(std::filesystem::create_directory(parent));
    const std::string folder = Rules::CreateWorkFolder(parent);
    ASSERT_FALSE(folder.empty());
    const std::string other = Rules::CreateWorkFolder(parent);
    EXPECT_NE(folder, other);
    EXPECT_EQ(folder.rfind(parent + "/tolvani-" + std::to_string(::getpid()) + "-", 0), 0u) << folder;
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    const std::string work = Rules::WorkFilePath(folder);
    EXPECT_EQ(work, folder + "/$OLE作業ファイル.jww");
    EXPECT_EQ(Rules::CreateWorkFolder(parent + "/none"), "");

    // Nothing to keep without a work file; the kept files are numbered.
    EXPECT_EQ(Rules::KeepWorkFile(folder), "");
    std::ofstream(work) << "first";
    const std::string kept1 = Rules::KeepWorkFile(folder);
    EXPECT_EQ(kept1, folder + "/$OLE作業ファイル (1).jww");
    std::ofstream(work) << "second";
    const std::string kept2 = Rules::KeepWorkFile(folder);
    EXPECT_EQ(kept2, folder + "/$OLE作業ファイル (2).jww");
    EXPECT_EQ(test::ReadFileBytes(kept1), (test::Bytes{'f', 'i', 'r', 's', 't'}));
    EXPECT_FALSE(std::filesystem::exists(work));

    // The end removes the work file; the folder stays while kept files are in it.
    std::ofstream(work) << "third";
    Rules::RemoveWorkFolder(folder);
    EXPECT_FALSE(std::filesystem::exists(work));
    EXPECT_TRUE(std::filesystem::exists(kept1));
    std::ofstream(Rules::WorkFilePath(other)) << "x";
    Rules::RemoveWorkFolder(other);
    EXPECT_FALSE(std::filesystem::exists(other));
    Rules::RemoveWorkFolder("");
    std::filesystem::remove_all(std::filesystem::path(parent).parent_path());
}

TEST(ExternalEditRules, EveryEndLeavesTheDrawingAndTheFlagSafe) {
    struct Case {
        bool modifiedBefore;
        LoadOutcome::Status status;  // Loaded stands for a read-back that worked
        bool readBack;               // false: the editor left the file alone
        Kind kind;
        bool modified;
        std::string message;
    } cases[] = {
        {false, LoadOutcome::Status::Loaded, false, Kind::Unchanged, false, ""},
        // A change made before the edit is not lost by an edit that changes nothing.
        {true, LoadOutcome::Status::Loaded, false, Kind::Unchanged, true, ""},
        {false, LoadOutcome::Status::Loaded, true, Kind::Replaced, true, ""},
        {true, LoadOutcome::Status::Loaded, true, Kind::Replaced, true, ""},
        {false, LoadOutcome::Status::FileError, true, Kind::ReadFailed, false, kLocalReadErrorMessage},
        {true, LoadOutcome::Status::FileError, true, Kind::ReadFailed, true, kLocalReadErrorMessage},
        {false, LoadOutcome::Status::TooOld, true, Kind::ReadFailed, false, CJwwDoc::kTooOldMessage},
        {true, LoadOutcome::Status::StreamError, true, Kind::ReadFailed, true, "w の形式が正しくありません。"},
    };
    for (const Case& c : cases) {
        Rules edit;
        edit.Began(c.modifiedBefore, FileStamp{});
        Rules::Ending e;
        if (!c.readBack) {
            e = edit.Unchanged();
        } else {
            LoadOutcome load;
            load.status = c.status;
            load.message = c.message;
            load.detail = c.status == LoadOutcome::Status::FileError ? "Permission denied" : "";
            e = edit.AfterReadBack(load, c.status == LoadOutcome::Status::Loaded ? "" : "/k/$OLE作業ファイル (1).jww");
        }
        SCOPED_TRACE(static_cast<int>(c.status) * 10 + c.modifiedBefore);
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_EQ(e.modified, c.modified);
        EXPECT_EQ(e.message, c.message);
        if (c.kind == Kind::ReadFailed) {
            EXPECT_NE(e.detail.find("/k/$OLE作業ファイル (1).jww"), std::string::npos) << e.detail;
            if (c.status == LoadOutcome::Status::FileError) {
                EXPECT_EQ(e.detail.rfind("Permission denied\n", 0), 0u);
            }
        } else {
            EXPECT_EQ(e.detail, "");
        }
    }
    for (const bool before : {false, true}) {
        Rules edit;
        edit.Began(before, FileStamp{});
        const Rules::Ending e = edit.NotStarted("No such file");
        EXPECT_EQ(e.kind, Kind::Unchanged);
        EXPECT_EQ(e.modified, before);
        EXPECT_EQ(e.message, "起動できませんでした");
        EXPECT_EQ(e.detail, "No such file");
    }
}

}  // namespace
}  // namespace tolvani::viewer
