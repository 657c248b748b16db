// Saves that never harm what stood at the target, each run with every way
// of making the temporary file: failures at every step, a save in progress
// and a killed one, links in shared folders, long paths, and the temporary
// files that ended processes left.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "model/AtomicFile.h"
#include "model/CJwwDoc.h"
#include "model/JwwErrors.h"
#include "model/JwwFile.h"
#include "model/TemporaryName.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::Bytes;
namespace fs = std::filesystem;

const char* ModeName(TemporaryFileMode mode) {
    switch (mode) {
        case TemporaryFileMode::Unnamed: return "Unnamed";
        case TemporaryFileMode::UnnamedCopied: return "UnnamedCopied";
        case TemporaryFileMode::Named: return "Named";
    }
    return "?";
}

}  // namespace

void PrintTo(TemporaryFileMode mode, std::ostream* os) { *os << ModeName(mode); }

namespace {

class AtomicSave : public ::testing::TestWithParam<TemporaryFileMode> {
protected:
    void SetUp() override {
        dir_ = test::MakeTempDir();
        ASSERT_NE(dir_, "/tmp");
        SetTemporaryFileMode(GetParam());
        doc_.header.SetNewDrawingDefaults();
        doc_.AddElement(std::make_unique<CDataSen>());
        drawing_ = test::SaveToBytes(doc_);
    }
    void TearDown() override {
        SetTemporaryFileMode(TemporaryFileMode::Unnamed);
        InjectSaveFailure(SaveStep::Create, 0);
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    void Write(const std::string& path, const std::string& text) const {
        test::WriteTestFile(fs::path(path).parent_path().string(), fs::path(path).filename().string(), text);
    }
    // Every name in a folder, hidden ones too, sorted.
    static std::vector<std::string> Names(const std::string& dir) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string Text(const std::string& path) {
        const Bytes b = test::ReadFileBytes(path);
        return std::string(b.begin(), b.end());
    }
    // A temporary name of this host for process `pid`.
    static std::string TemporaryNameOf(pid_t pid, const std::string& letters = "abcd1234") {
        const std::string own = NewTemporaryName();  // .tolvani-PID-XXXXXXXX-HOST
        const std::string host = own.substr(own.find('-', 9) + 1 + 8 + 1);
        return ".tolvani-" + std::to_string(pid) + "-" + letters + "-" + host;
    }
    // The number of a process that has ended.
    static pid_t EndedProcess() {
        const pid_t child = fork();
        if (child == 0) _exit(0);
        int status = 0;
        waitpid(child, &status, 0);
        return child;
    }

    std::string dir_;
    CJwwDoc doc_;
    Bytes drawing_;
};

INSTANTIATE_TEST_SUITE_P(EveryTemporaryFile, AtomicSave,
                         ::testing::Values(TemporaryFileMode::Unnamed, TemporaryFileMode::UnnamedCopied,
                                           TemporaryFileMode::Named),
                         [](const ::testing::TestParamInfo<TemporaryFileMode>& info) { return ModeName(info.param); });

TEST_P(AtomicSave, ASaveInProgressShowsNoNameOrOneOfItsOwnThatASignalHandlerCanRemove) {
    const std::string name = std::string(250, 'n') + ".jww";  // 254 bytes
    const std::string target = Path(name);
    Write(target, "old");
    std::vector<std::string> during;
    WriteFileAtomically(target, [&](std::FILE* f) {
        std::fputs("new", f);
        during = Names(dir_);
    });
    EXPECT_EQ(Text(target), "new");
    EXPECT_EQ(Names(dir_), std::vector<std::string>{name});
    // An unnamed file shows nothing while it is written (where the file
    // system has them); a named one is the only other name, one of this
    // process's.
    ASSERT_GE(during.size(), 1u);
    ASSERT_LE(during.size(), 2u);
    if (GetParam() == TemporaryFileMode::Named) {
        ASSERT_EQ(during.size(), 2u);
    }
    if (during.size() == 2) {
        const std::string& tmp = during[0] == name ? during[1] : during[0];
        pid_t pid = 0;
        EXPECT_TRUE(ParseTemporaryName(tmp, pid)) << tmp;
        EXPECT_EQ(pid, getpid());
    }

    // What a signal handler calls in the middle of a save leaves the old
    // file and no temporary one.
    EXPECT_THROW(WriteFileAtomically(target,
                                     [&](std::FILE* f) {
                                         std::fputs("partial", f);
                                         std::fflush(f);
                                         RemovePendingTemporaryFiles();
                                         during = Names(dir_);
                                         throw JwwGenericError("interrupted");
                                     }),
                 JwwGenericError);
    EXPECT_EQ(during, std::vector<std::string>{name});
    EXPECT_EQ(Text(target), "new");
    EXPECT_EQ(Names(dir_), std::vector<std::string>{name});
}

TEST_P(AtomicSave, AFailureAtEveryStepLeavesTheOldFileWholeAndNothingElse) {
    // Failures as the system gives them, whoever runs the test (root
    // writes where permissions would stop anyone else).
    const struct {
        SaveStep step;
        int error;
    } cases[] = {
        {SaveStep::Create, EACCES}, {SaveStep::Create, EROFS},  {SaveStep::Write, ENOSPC},
        {SaveStep::Write, EIO},     {SaveStep::Replace, EBUSY},
    };
    const std::string target = Path("a.jww");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::strerror(c.error));
        Write(target, "old");
        InjectSaveFailure(c.step, c.error);
        const SaveOutcome saved = SaveDrawingFile(target, doc_);
        EXPECT_EQ(saved.status, SaveOutcome::Status::FileError);
        EXPECT_EQ(saved.message, kLocalWriteErrorMessage);
        EXPECT_EQ(saved.detail, std::strerror(c.error));
        EXPECT_EQ(Text(target), "old");
        EXPECT_EQ(Names(dir_), std::vector<std::string>{"a.jww"});
        // A new name stays free.
        EXPECT_FALSE(SaveDrawingFile(Path("new.jww"), doc_).ok());
        EXPECT_EQ(Names(dir_), std::vector<std::string>{"a.jww"});
        InjectSaveFailure(c.step, 0);
    }
    ASSERT_TRUE(SaveDrawingFile(target, doc_).ok());
    EXPECT_EQ(test::ReadFileBytes(target), drawing_);
}

TEST_P(AtomicSave, AKilledSaveLeavesATemporaryFileThatTheNextSaveRemoves) {
    const std::string target = Path("a.jww");
    Write(target, "old");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t saver = fork();
    if (saver == 0) {
        WriteFileAtomically(target, [&](std::FILE* f) {
            std::fputs("partial", f);
            std::fflush(f);
            if (::write(ready[1], "x", 1) != 1) _exit(1);
            for (;;) pause();
        });
        _exit(0);
    }
    char x = 0;
    ASSERT_EQ(::read(ready[0], &x, 1), 1);
    ::kill(saver, SIGKILL);
    int status = 0;
    waitpid(saver, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    const std::vector<std::string> left = Names(dir_);
    if (GetParam() == TemporaryFileMode::Named) {
        ASSERT_EQ(left.size(), 2u);
    }
    EXPECT_EQ(Text(target), "old");

    ASSERT_TRUE(SaveDrawingFile(target, doc_).ok());
    EXPECT_EQ(Names(dir_), std::vector<std::string>{"a.jww"});
    EXPECT_EQ(test::ReadFileBytes(target), drawing_);
}

TEST_P(AtomicSave, OnlyTheTemporaryFilesOfEndedProcessesOfThisHostAreRemoved) {
    const pid_t ended = EndedProcess();
    const std::string stale = TemporaryNameOf(ended);
    const std::vector<std::string> kept = {
        TemporaryNameOf(getppid()),                          // a process that is there
        TemporaryNameOf(ended).substr(0, stale.size() - 1),  // another host's
        stale + "x",                                         // the same, longer
        ".tolvani-" + std::to_string(ended) + "-abcd1234",   // no host
        ".tolvani-abcdefgh",                                 // an older form
        TemporaryNameOf(ended, "ABCD1234"),                  // not its letters
        "plan.jww",
    };
    for (const std::string& name : kept) Write(Path(name), "keep");
    Write(Path(stale), "stale");
    fs::create_directory(Path(TemporaryNameOf(ended, "dddddddd")));  // a folder
    std::vector<std::string> expected = kept;
    expected.push_back(TemporaryNameOf(ended, "dddddddd"));
    if (::geteuid() == 0) {
        // Another user's file stays whatever its name.
        const std::string foreign = TemporaryNameOf(ended, "ffffffff");
        Write(Path(foreign), "foreign");
        ASSERT_EQ(::chown(Path(foreign).c_str(), 65534, 65534), 0);
        expected.push_back(foreign);
    }
    expected.push_back("a.jww");
    std::sort(expected.begin(), expected.end());

    ASSERT_TRUE(SaveDrawingFile(Path("a.jww"), doc_).ok());
    EXPECT_EQ(Names(dir_), expected);
    for (const std::string& name : kept) EXPECT_EQ(Text(Path(name)), "keep") << name;
}

TEST_P(AtomicSave, ATargetOf4088BytesInAFolderOf4082BytesSaves) {
    // Only the target's own name counts, not the folder's path with a
    // temporary name beside it.
    std::string folder = dir_;
    while (folder.size() < 4082) {
        std::size_t part = std::min<std::size_t>(200, 4082 - folder.size() - 1);
        if (4082 - folder.size() - 1 - part == 1) --part;  // leave room for a last "/x"
        folder += "/" + std::string(part, 'd');
        ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0) << folder.size() << " " << std::strerror(errno);
    }
    ASSERT_EQ(folder.size(), 4082u);
    const std::string target = folder + "/a.jww";
    ASSERT_EQ(target.size(), 4088u);
    for (int round = 0; round < 2; ++round) {  // a new file, then one replaced
        const SaveOutcome saved = SaveDrawingFile(target, doc_);
        ASSERT_TRUE(saved.ok()) << saved.detail;
        EXPECT_EQ(test::ReadFileBytes(target), drawing_);
        EXPECT_EQ(Names(folder), std::vector<std::string>{"a.jww"});
    }
    EXPECT_TRUE(LoadDrawingFile(target).ok());
}

TEST_P(AtomicSave, ALinkInASharedFolderIsFollowedOnlyWhenItsOwnerMayBeTrusted) {
    // The link of another user needs a second user: only root can make one.
    if (::geteuid() != 0) GTEST_SKIP() << "making another user's link needs root";
    const uid_t other = 65534;
    const struct {
        const char* what;
        mode_t folderMode;
        uid_t folderOwner;
        uid_t linkOwner;
        bool dangling;
        bool followed;
    } cases[] = {
        {"another user's link in a shared sticky folder", 01777, 0, other, false, false},
        {"another user's dangling link there", 01777, 0, other, true, false},
        {"the saving user's own link there", 01777, 0, 0, false, true},
        {"the link of the folder's owner", 01777, other, other, false, true},
        {"a shared folder without the sticky bit", 0777, 0, other, false, true},
        {"a sticky folder only its owner writes", 01755, 0, other, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string shared = Path("shared"), secret = Path("secret.conf"), link = shared + "/plan.jww";
        fs::remove_all(shared);
        fs::remove(secret);
        ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
        ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, 0), 0);
        if (!c.dangling) Write(secret, "secret");
        ASSERT_EQ(::symlink(secret.c_str(), link.c_str()), 0);
        ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);

        const SaveOutcome saved = SaveDrawingFile(link, doc_);
        struct stat st;
        ASSERT_EQ(::lstat(link.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode));
        EXPECT_EQ(Names(shared), std::vector<std::string>{"plan.jww"});
        if (c.followed) {
            EXPECT_TRUE(saved.ok()) << saved.detail;
            EXPECT_EQ(test::ReadFileBytes(secret), drawing_);
            continue;
        }
        EXPECT_EQ(saved.status, SaveOutcome::Status::FileError);
        EXPECT_EQ(saved.message, kLocalWriteErrorMessage);
        EXPECT_NE(saved.detail.find(link), std::string::npos) << saved.detail;
        EXPECT_NE(saved.detail.find("このリンクはたどりません"), std::string::npos) << saved.detail;
        if (c.dangling) {
            EXPECT_FALSE(fs::exists(fs::symlink_status(secret)));
        } else {
            EXPECT_EQ(Text(secret), "secret");
        }
    }
}

TEST(AtomicWrite, FoldersAndLinkLoopsAreRefusedWithTheReason) {
    const std::string dir = test::MakeTempDir();
    ASSERT_NE(dir, "/tmp");
    try {
        WriteFileAtomically(dir, [](std::FILE*) {});
        ADD_FAILURE() << "a folder was written";
    } catch (const JwwFileError& e) {
        EXPECT_EQ(e.systemError(), EISDIR);
    }
    EXPECT_TRUE(fs::is_directory(dir));
    // A link loop ends with the system's word for it.
    fs::create_symlink("b", dir + "/a");
    fs::create_symlink("a", dir + "/b");
    try {
        WriteFileAtomically(dir + "/a", [](std::FILE*) {});
        ADD_FAILURE() << "a link loop was written";
    } catch (const JwwFileError& e) {
        EXPECT_EQ(e.systemError(), ELOOP);
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tolvani
