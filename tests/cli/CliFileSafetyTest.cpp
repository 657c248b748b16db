// tolvani-cli with the files a careless or unlucky user gives it: inputs
// named as outputs, links, devices, descriptors, owners, full outputs, long
// names, running out of memory, loose arguments and texts with control
// characters.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "model/CData.h"
#include "model/JwwFile.h"
#include "table/TableMessages.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::Bytes;
using test::RunCli;
namespace fs = std::filesystem;

class CliFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::MakeTempDir();
        ASSERT_EQ(RunCli({"gen", Path("d.jww"), "--elements", "40"}).exitCode, 0);
        drawing_ = test::ReadFileBytes(Path("d.jww"));
        test::WriteTestFile(dir_, "t.csv", "a,b\n1,2\n");
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    // The folder's names, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string dir_;
    Bytes drawing_;
};

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

TEST_F(CliFiles, AnOutputThatIsAnInputIsRefusedAndTheInputKept) {
    fs::create_symlink(Path("t.csv"), Path("table-link.csv"));
    fs::create_hard_link(Path("d.jww"), Path("d-hard.jww"));
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string message;  // the start of stderr
    };
    const Case cases[] = {
        // DRAWING and TABLE swapped: the drawing is no table, the CSV stays.
        {{"insert-table", "--new", Path("d.jww"), Path("t.csv"), "--at", "0,0"}, 1, kTableIsDrawingMessage},
        {{"insert-table", Path("t.csv"), Path("d.jww"), Path("o.jww"), "--at", "0,0"}, 1, ""},
        {{"insert-table", Path("d.jww"), Path("t.csv"), Path("t.csv"), "--at", "0,0"}, 2, "出力先 OUT が表のファイル"},
        {{"insert-table", Path("d.jww"), Path("t.csv"), Path("table-link.csv"), "--at", "0,0"},
         2,
         "出力先 OUT が表のファイル"},
        {{"insert-table", "--clipboard-text", "--new", Path("d.jww"), Path("o.jww"), "--at", "0,0"},
         1,
         kTableIsDrawingMessage},
        {{"render", Path("d.jww"), Path("d.jww")}, 2, ""},  // not a picture name
        {{"object", "extract", Path("d.jww"), Path("d-hard.jww")}, 2, "出力先 OUT が入力 IN と同じです"},
    };
    for (const auto& c : cases) {
        const auto r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << " " << c.args[1] << "\n" << r.err;
        EXPECT_EQ(r.err.compare(0, c.message.size(), c.message), 0) << r.err;
    }
    EXPECT_EQ(test::ReadFileBytes(Path("d.jww")), drawing_);
    EXPECT_EQ(Text(test::ReadFileBytes(Path("t.csv"))), "a,b\n1,2\n");
    EXPECT_FALSE(fs::exists(Path("o.jww")));

    // A picture over its own drawing, under another name of the same file.
    fs::copy_file(Path("d.jww"), Path("d.png"));
    fs::remove(Path("d-hard.jww"));
    fs::create_hard_link(Path("d.png"), Path("d-hard.png"));
    const auto render = RunCli({"render", Path("d.png"), Path("d-hard.png")});
    EXPECT_EQ(render.exitCode, 2) << render.err;
    EXPECT_NE(render.err.find("出力先 OUT が図面 FILE と同じです"), std::string::npos) << render.err;
    EXPECT_EQ(test::ReadFileBytes(Path("d.png")), drawing_);

    // An insertion in place stays allowed, as the save is atomic.
    const auto inPlace = RunCli({"insert-table", Path("d.jww"), Path("t.csv"), Path("d.jww"), "--at", "0,0"});
    EXPECT_EQ(inPlace.exitCode, 0) << inPlace.err;
    EXPECT_GT(test::ReadFileBytes(Path("d.jww")).size(), drawing_.size());
}

TEST_F(CliFiles, ASaveFollowsLinksAndWritesDevicesAndDescriptorsInPlace) {
    // A link to the drawing: the link stays a link, the file it names changes.
    fs::create_directory(Path("real"));
    fs::copy_file(Path("d.jww"), Path("real/target.jww"));
    fs::create_symlink("real/target.jww", Path("link.jww"));
    fs::create_symlink("link.jww", Path("link2.jww"));
    ASSERT_EQ(RunCli({"insert-table", Path("d.jww"), Path("t.csv"), Path("link2.jww"), "--at", "5,5"}).exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(Path("link.jww")));
    EXPECT_TRUE(fs::is_symlink(Path("link2.jww")));
    EXPECT_GT(test::ReadFileBytes(Path("real/target.jww")).size(), drawing_.size());
    // A link to a name not yet there: the file is made where the link points.
    fs::create_symlink("real/new.jww", Path("dangling.jww"));
    ASSERT_EQ(RunCli({"resave", Path("d.jww"), Path("dangling.jww")}).exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(Path("dangling.jww")));
    EXPECT_EQ(test::ReadFileBytes(Path("real/new.jww")).size(), drawing_.size());
    // Nothing else was left in either folder.
    EXPECT_EQ(Names(), (std::vector<std::string>{"d.jww", "dangling.jww", "link.jww", "link2.jww", "real", "t.csv"}));

    // /dev/stdout streams into whatever standard output is, and a >>
    // redirect keeps what the file held before.
    test::WriteTestFile(dir_, "log.txt", "before\n");
    auto r = RunCli({"resave", Path("d.jww"), "/dev/stdout"}, {Path("log.txt"), true, "", {}});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Bytes log = test::ReadFileBytes(Path("log.txt"));
    ASSERT_EQ(log.size(), 7 + drawing_.size());
    EXPECT_EQ(Text(Bytes(log.begin(), log.begin() + 7)), "before\n");
    EXPECT_EQ(Text(Bytes(log.begin() + 7, log.begin() + 15)), "JwwData.");
    r = RunCli({"resave", Path("d.jww"), "/proc/self/fd/1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.size(), drawing_.size());
    // A picture streams too: PNG unless --format says otherwise.
    r = RunCli({"render", Path("d.jww"), "/dev/stdout", "--size", "80x60"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.compare(0, 4, "\x89PNG"), 0);
    r = RunCli({"render", Path("d.jww"), "/dev/fd/1", "--format", "svg", "--size", "80x60"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("<svg"), std::string::npos);
    // A device is written, never replaced.
    r = RunCli({"resave", Path("d.jww"), "/dev/null"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    struct stat st;
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    // A FIFO gets the bytes through its reader.
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    const std::string pipe = Path("pipe"), fromPipe = Path("from-pipe");
    const pid_t reader = fork();
    if (reader == 0) {
        const int in = ::open(pipe.c_str(), O_RDONLY);
        const int out = ::open(fromPipe.c_str(), O_WRONLY | O_CREAT, 0600);
        char buf[4096];
        for (ssize_t n; (n = ::read(in, buf, sizeof buf)) > 0;)
            if (::write(out, buf, static_cast<std::size_t>(n)) != n) _exit(1);
        _exit(0);
    }
    r = RunCli({"resave", Path("d.jww"), Path("pipe")});
    int status = 0;
    waitpid(reader, &status, 0);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::ReadFileBytes(Path("from-pipe")).size(), drawing_.size());
    ASSERT_EQ(::lstat(Path("pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(CliFiles, ASaveKeepsModeOwnerAndGroup) {
    ASSERT_EQ(::chmod(Path("d.jww").c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(Path("d.jww").c_str(), 12345, 23456), 0);
    }
    struct stat before;
    ASSERT_EQ(::stat(Path("d.jww").c_str(), &before), 0);
    ASSERT_EQ(RunCli({"insert-table", Path("d.jww"), Path("t.csv"), Path("d.jww"), "--at", "0,0"}).exitCode, 0);
    struct stat after;
    ASSERT_EQ(::stat(Path("d.jww").c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);  // replaced, not rewritten
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    if (!root) GTEST_LOG_(INFO) << "not root: the owner could only be checked as the saving user's own";
}

TEST_F(CliFiles, AFailedWriteToStandardOutputExitsThreeWithTheReason) {
    const std::vector<std::vector<std::string>> cases = {
        {"info", Path("d.jww")},           {"info", Path("d.jww"), "--json"},
        {"dump", Path("d.jww")},           {"insert-table", Path("d.jww"), Path("t.csv"), Path("o.jww"), "--at", "0,0"},
        {"object", "info", Path("o.bin")}, {"info", "--help"},
    };
    ASSERT_EQ(RunCli({"object", "pack", Path("d.jww"), Path("o.bin")}).exitCode, 0);
    for (const auto& args : cases) {
        const auto r = RunCli(args, {"/dev/full", false, "", {}});
        EXPECT_EQ(r.exitCode, 3) << args[0] << " " << args[1];
        EXPECT_EQ(r.err, "標準出力に書き込めませんでした。\n" + std::string(std::strerror(ENOSPC)) + "\n") << r.err;
    }
}

TEST_F(CliFiles, SaveFailuresGiveTheSystemsReasonOnASecondLine) {
    struct Case {
        std::string out;
        int error;
    };
    const std::string longName(300, 'a');
    fs::create_directory(Path("folder"));
    const Case cases[] = {
        {Path("no/such/folder/o.jww"), ENOENT},
        {Path("folder"), EISDIR},
        {Path(longName + ".jww"), ENAMETOOLONG},
        {"/dev/full", ENOSPC},
    };
    for (const auto& c : cases) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"resave", Path("d.jww"), c.out},
              std::vector<std::string>{"object", "pack", Path("d.jww"), c.out + ".bin"}}) {
            if (args[0] == "object" && (c.error == ENOSPC || c.error == EISDIR)) continue;
            const auto r = RunCli(args);
            const std::string shown = args.back();
            EXPECT_EQ(r.exitCode, 3) << shown;
            EXPECT_EQ(r.err, "ローカル保存でエラー！ (" + shown + ")\n" + std::strerror(c.error) + "\n") << r.err;
        }
    }
    // A folder that may not be written, as the system says it to anyone
    // (root, who writes where permissions stop others, too).
    for (const char* step : {"create", "write", "replace"}) {
        const auto r = RunCli({"resave", Path("d.jww"), Path("folder/o.jww")},
                              {"",
                               false,
                               TOLVANI_CLI_FAILING_NEW,
                               {"TOLVANI_TEST_SAVE_FAILURE=" + std::string(step) + " " + std::to_string(EACCES)}});
        EXPECT_EQ(r.exitCode, 3) << step;
        EXPECT_EQ(r.err, "ローカル保存でエラー！ (" + Path("folder/o.jww") + ")\n" + std::strerror(EACCES) + "\n");
        EXPECT_TRUE(fs::is_empty(Path("folder"))) << step;
    }
    // A table over the limit is too large, not unreadable. The file is
    // sparse: it takes no room on the disk.
    {
        const int fd = ::open(Path("big.csv").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, (off_t{256} << 20) + 1), 0);
        ::close(fd);
    }
    const auto r = RunCli({"insert-table", "--new", Path("big.csv"), Path("o.jww"), "--at", "0,0"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, std::string(kTableFileTooLargeMessage) + "\n");
    EXPECT_FALSE(fs::exists(Path("o.jww")));
}

TEST_F(CliFiles, ALongNameIsSavedAndNoTemporaryFileStays) {
    // 81 characters of three bytes and ".jww": 247 bytes, near the limit.
    std::string name;
    for (int i = 0; i < 81; ++i) name += "図";
    name += ".jww";
    ASSERT_EQ(RunCli({"resave", Path("d.jww"), Path(name)}).exitCode, 0);
    ASSERT_EQ(RunCli({"insert-table", Path(name), Path("t.csv"), Path(name), "--at", "0,0"}).exitCode, 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"d.jww", "t.csv", name}));
}

TEST_F(CliFiles, RunningOutOfMemorySaysSoAndWritesNothing) {
    // The test build of the tool fails every allocation after the first N.
    // Whatever N, a command either completes or ends with the message and
    // exit 1, never with a signal, and a failed command leaves nothing in
    // the folder: no output, no temporary file. Each command's run is
    // counted first, and the limits are spread over all of it.
    const std::vector<std::vector<std::string>> commands = {
        {"resave", Path("d.jww"), Path("out.jww")},
        {"insert-table", Path("d.jww"), Path("t.csv"), Path("out.jww"), "--at", "0,0", "--block", "表"},
        {"dump", Path("d.jww")},
        {"render", Path("d.jww"), Path("out.svg")},
        {"render", Path("d.jww"), Path("out.pdf")},
        {"render", Path("d.jww"), Path("out.png"), "--size", "400x300", "--threads", "2"},
        {"object", "pack", Path("d.jww"), Path("out.png")},
        {"object", "pack", Path("d.jww"), Path("out.svg")},
    };
    const std::vector<std::string> inputs = Names();
    const std::string countFile = test::MakeTempDir() + "/count";
    constexpr int kLimits = 24;
    for (const auto& args : commands) {
        const std::string name = args[0] + " " + args[1] + (args.size() > 2 ? " " + args.back() : "");
        auto counted = RunCli(args, {"", false, TOLVANI_CLI_FAILING_NEW, {"TOLVANI_TEST_NEW_COUNT=" + countFile}});
        ASSERT_EQ(counted.exitCode, 0) << name << "\n" << counted.err;
        const long total = std::atol(Text(test::ReadFileBytes(countFile)).c_str());
        ASSERT_GT(total, 100) << name;
        for (const auto& e : fs::directory_iterator(dir_))
            if (std::find(inputs.begin(), inputs.end(), e.path().filename().string()) == inputs.end())
                fs::remove(e.path());
        int failures = 0;
        for (int k = 0; k < kLimits; ++k) {
            // Dense at the start, where the program sets itself up, then even.
            const long limit = k < 4 ? 10L << (2 * k) : total * (k - 3) / (kLimits - 3);
            const auto r =
                RunCli(args, {"", false, TOLVANI_CLI_FAILING_NEW, {"TOLVANI_TEST_NEW_LIMIT=" + std::to_string(limit)}});
            const std::string what = name + " after " + std::to_string(limit) + " of " + std::to_string(total);
            ASSERT_TRUE(r.exitCode == 0 || r.exitCode == 1) << what << ": exit " << r.exitCode << "\n" << r.err;
            if (r.exitCode == 1) {
                ++failures;
                EXPECT_EQ(r.err, "メモリが不足しています。\n") << what;
                EXPECT_EQ(Names(), inputs) << what;
            }
            for (const auto& e : fs::directory_iterator(dir_))
                if (std::find(inputs.begin(), inputs.end(), e.path().filename().string()) == inputs.end())
                    fs::remove(e.path());
        }
        EXPECT_GT(failures, kLimits / 2) << name << ": the allocations seldom ran out";
    }
    fs::remove_all(fs::path(countFile).parent_path());
}

TEST_F(CliFiles, NumbersAreStrictDecimalsWithinTheirBounds) {
    struct Case {
        std::vector<std::string> options;
        int exitCode;
    };
    const Case cases[] = {
        {{"--at", "0x10,0"}, 2},
        {{"--at", "1e308,1e308"}, 2},
        {{"--at", "inf,0"}, 2},
        {{"--at", "nan,0"}, 2},
        {{"--at", " 1,2"}, 2},
        {{"--at", "+1,2"}, 2},
        {{"--at", "100000001,0"}, 2},
        {{"--at", "1,2", "--block", "--help"}, 2},
        {{"--at", "1,2", "--text-type", " 3"}, 2},
        {{"--at", "1,2", "--margins", "10,10,8,0x6"}, 2},
        {{"--at", "-60,40"}, 0},
        {{"--at=-20.5,.5"}, 0},
        {{"--at", "100000000,-100000000"}, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"insert-table", Path("d.jww"), Path("t.csv"), Path("o.jww")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.options[1] << "\n" << r.err;
        EXPECT_EQ(r.out.find("使い方: tolvani-cli insert-table"), std::string::npos) << "help printed";
        fs::remove(Path("o.jww"));
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"render", Path("d.jww"), Path("o.png"), "--size", " 100x 100"},
          std::vector<std::string>{"render", Path("d.jww"), Path("o.png"), "--size", "100x+100"},
          std::vector<std::string>{"render", Path("d.jww"), Path("o.png"), "--dpi", "0x60"},
          std::vector<std::string>{"gen", Path("o.jww"), "--elements", "5", "--seed", "--help"},
          std::vector<std::string>{"object", "pack", Path("d.jww"), Path("o.bin"), "--extent", "1e3,100"}}) {
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.back();
        EXPECT_TRUE(r.out.empty()) << args.back();
    }
    EXPECT_FALSE(fs::exists(Path("o.png")));
}

TEST_F(CliFiles, DumpShowsControlCharactersEscaped) {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    auto text = std::make_unique<CDataMoji>();
    text->text = JwwString(std::string("a\0b\rc\x1b[2Jd\x7f", 11));
    doc.AddElement(std::move(text));
    SaveJwwFile(Path("c.jww"), doc);
    const auto r = RunCli({"dump", Path("c.jww")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("text=\"a\\x00b\\x0Dc\\x1B[2Jd\\x7F\""), std::string::npos) << r.out;
    for (const char c : r.out) {
        const auto u = static_cast<unsigned char>(c);
        EXPECT_TRUE(u >= 0x20 || u == '\n') << "raw control byte " << static_cast<int>(u);
        if (u < 0x20 && u != '\n') break;
    }
}

}  // namespace
}  // namespace tolvani
