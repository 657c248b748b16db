#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/support/TestSupport.h"
#include "viewer/DesktopRegistration.h"

namespace tolvani::viewer {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Every path below `root` with the contents of its files.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> tree;
    if (!fs::exists(root)) return tree;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string rel = fs::relative(e.path(), root).string();
        tree[rel] = e.is_regular_file() ? Read(e.path()) : std::string("<dir>");
    }
    return tree;
}

std::string LineStarting(const std::string& text, const std::string& start) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (line.compare(0, start.size(), start) == 0) return line;
    return {};
}

// An installation in a prefix whose name needs quoting, with the program
// files and the shipped desktop files, and a user's data folder.
class DesktopRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = test::MakeTempDir();
        prefix_ = root_ / "my apps";
        bin_ = prefix_ / "bin";
        home_ = root_ / "data";
        Write(bin_ / "tolvani", "program");
        Write(bin_ / "tolvani-cli", "program");
        const fs::path packaging(TOLVANI_PACKAGING_DIR);
        const fs::path share = prefix_ / "share";
        for (const auto& [name, dir] :
             std::vector<std::pair<std::string, std::string>>{{"jp.morlen.Tolvani.desktop", "applications"},
                                                              {"tolvani.xml", "mime/packages"},
                                                              {"tolvani.svg", "icons/hicolor/scalable/apps"},
                                                              {"tolvani.thumbnailer", "thumbnailers"}}) {
            fs::create_directories(share / dir);
            fs::copy_file(packaging / name, share / dir / name);
        }
    }
    void TearDown() override { fs::remove_all(root_); }

    DesktopRegistration Registration() {
        return DesktopRegistration(bin_.string(), home_.string(),
                                   [this](const std::vector<std::string>& argv) { tools_.push_back(argv); });
    }

    fs::path root_, prefix_, bin_, home_;
    std::vector<std::vector<std::string>> tools_;
};

TEST(DesktopRegistrationRules, InstallKindFollowsTheProgramsFolder) {
    const fs::path build = test::MakeTempDir();
    fs::create_directories(build / "bin");
    std::ofstream(build / "CMakeCache.txt") << "";
    const struct {
        std::string dir;
        InstallKind kind;
    } cases[] = {
        {(build / "bin").string(), InstallKind::BuildTree}, {"/usr/bin", InstallKind::SystemPackage},
        {"/usr/bin/", InstallKind::SystemPackage},          {"/usr/local/bin", InstallKind::Prefix},
        {"/opt/tolvani/bin", InstallKind::Prefix},          {"/home/user/.local/bin", InstallKind::Prefix},
    };
    for (const auto& c : cases) EXPECT_EQ(InstallKindOf(c.dir), c.kind) << c.dir;
    fs::remove_all(build);
}

TEST(DesktopRegistrationRules, DataHomeComesFromXdgOrHome) {
    EXPECT_EQ(UserDataHome("/x/data", "/home/u"), "/x/data");
    EXPECT_EQ(UserDataHome(nullptr, "/home/u"), "/home/u/.local/share");
    EXPECT_EQ(UserDataHome("", "/home/u/"), "/home/u/.local/share");
    EXPECT_EQ(UserDataHome("relative", "/home/u"), "/home/u/.local/share");  // not absolute: ignored
    EXPECT_EQ(UserDataHome(nullptr, nullptr), "");
    EXPECT_EQ(UserDataHome(nullptr, "relative"), "");
}

TEST(DesktopRegistrationRules, ExecLinesNameTheProgramsByTheirFullPath) {
    const struct {
        const char* line;
        const char* dir;
        const char* pointed;
    } cases[] = {
        {"Exec=tolvani %f", "/opt/t/bin", "Exec=/opt/t/bin/tolvani %f"},
        {"Exec=tolvani-cli thumbnail %i %o %s", "/opt/t/bin", "Exec=/opt/t/bin/tolvani-cli thumbnail %i %o %s"},
        {"TryExec=tolvani", "/opt/t/bin/", "TryExec=/opt/t/bin/tolvani"},
        // A reserved character quotes the program; inside the quotes a
        // backslash goes before " ` $ and itself, and the value's own escape
        // doubles every backslash.
        {"Exec=tolvani %f", "/my apps/bin", "Exec=\"/my apps/bin/tolvani\" %f"},
        {"Exec=tolvani %f", "/a$b/bin", "Exec=\"/a\\\\$b/bin/tolvani\" %f"},
        {"TryExec=tolvani", "/my apps/bin", "TryExec=/my apps/bin/tolvani"},
        {"TryExec=tolvani", "/a\\b", "TryExec=/a\\\\b/tolvani"},
        // Other programs and other keys stay.
        {"Exec=tolvaniX %f", "/opt/t/bin", "Exec=tolvaniX %f"},
        {"Exec=/usr/bin/tolvani %f", "/opt/t/bin", "Exec=/usr/bin/tolvani %f"},
        {"Name=tolvani", "/opt/t/bin", "Name=tolvani"},
        {"Exec[ja]=tolvani", "/opt/t/bin", "Exec[ja]=tolvani"},
    };
    for (const auto& c : cases) EXPECT_EQ(PointLineAtPrograms(c.line, c.dir), c.pointed) << c.line << " in " << c.dir;
}

TEST_F(DesktopRegistrationTest, RegisterWritesTheFourFilesPointingAtThisInstallation) {
    std::string error;
    ASSERT_TRUE(Registration().Register(error)) << error;
    const std::string entry = Read(home_ / "applications/jp.morlen.Tolvani.desktop");
    EXPECT_EQ(LineStarting(entry, "Exec="), "Exec=\"" + (bin_ / "tolvani").string() + "\" %f");
    EXPECT_EQ(LineStarting(entry, "TryExec="), "TryExec=" + (bin_ / "tolvani").string());
    EXPECT_EQ(LineStarting(entry, "MimeType="), "MimeType=application/x-jww;");
    const std::string thumbnailer = Read(home_ / "thumbnailers/tolvani.thumbnailer");
    EXPECT_EQ(LineStarting(thumbnailer, "Exec="),
              "Exec=\"" + (bin_ / "tolvani-cli").string() + "\" thumbnail %i %o %s");
    EXPECT_EQ(Read(home_ / "mime/packages/tolvani.xml"), Read(prefix_ / "share/mime/packages/tolvani.xml"));
    EXPECT_EQ(Read(home_ / "icons/hicolor/scalable/apps/tolvani.svg"),
              Read(prefix_ / "share/icons/hicolor/scalable/apps/tolvani.svg"));
    const std::vector<std::vector<std::string>> tools = {
        {"update-mime-database", (home_ / "mime").string()},
        {"update-desktop-database", "-q", (home_ / "applications").string()},
    };
    EXPECT_EQ(tools_, tools);
    // Nothing else was written.
    EXPECT_EQ(Snapshot(home_).size(), 4u + 8u);  // the files and their folders
}

TEST_F(DesktopRegistrationTest, UnregisterLeavesTheDataFolderAsItWasBeforeRegister) {
    const struct {
        const char* name;
        std::map<std::string, std::string> before;
    } cases[] = {
        {"empty", {}},
        {"with other programs",
         {{"applications/other.desktop", "[Desktop Entry]\nName=Other\n"},
          {"mime/packages/other.xml", "<mime-info/>"},
          {"icons/hicolor/scalable/apps/other.svg", "<svg/>"},
          {"thumbnailers/other.thumbnailer", "[Thumbnailer Entry]\n"}}},
    };
    for (const auto& c : cases) {
        fs::remove_all(home_);
        fs::create_directories(home_);
        for (const auto& [path, text] : c.before) Write(home_ / path, text);
        const auto before = Snapshot(home_);
        std::string error;
        ASSERT_TRUE(Registration().Register(error)) << c.name << ": " << error;
        ASSERT_TRUE(Registration().IsRegistered()) << c.name;
        tools_.clear();
        ASSERT_TRUE(Registration().Unregister(error)) << c.name << ": " << error;
        EXPECT_FALSE(Registration().IsRegistered()) << c.name;
        EXPECT_EQ(Snapshot(home_), before) << c.name;
        // The databases of the other programs are brought up to date.
        if (!c.before.empty()) {
            EXPECT_EQ(tools_.size(), 2u) << c.name;
        }
    }
}

TEST_F(DesktopRegistrationTest, TheRealDatabaseToolsLeaveNothingBehind) {
    DesktopRegistration real(bin_.string(), home_.string());
    std::string error;
    ASSERT_TRUE(real.Register(error)) << error;
    if (!fs::exists(home_ / "mime/mime.cache")) GTEST_SKIP() << "update-mime-database is not installed";
    EXPECT_TRUE(fs::exists(home_ / "mime/application/x-jww.xml"));
    EXPECT_NE(Read(home_ / "mime/globs2").find("application/x-jww:*.jww"), std::string::npos);
    EXPECT_NE(Read(home_ / "mime/magic").find("JwwData."), std::string::npos);
    // With another package left, the database is made again without ours.
    Write(home_ / "mime/packages/other.xml",
          "<?xml version=\"1.0\"?><mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">"
          "<mime-type type=\"application/x-other-test\"><glob pattern=\"*.othertest\"/></mime-type></mime-info>");
    ASSERT_TRUE(real.Unregister(error)) << error;
    EXPECT_FALSE(fs::exists(home_ / "mime/application/x-jww.xml"));
    EXPECT_EQ(Read(home_ / "mime/globs2").find("x-jww"), std::string::npos);
    EXPECT_TRUE(fs::exists(home_ / "mime/application/x-other-test.xml"));
    // Without it, nothing at all is left.
    fs::remove(home_ / "mime/packages/other.xml");
    ASSERT_TRUE(real.Register(error)) << error;
    ASSERT_TRUE(real.Unregister(error)) << error;
    EXPECT_EQ(Snapshot(home_), (std::map<std::string, std::string>{}));
}

TEST_F(DesktopRegistrationTest, AMissingShippedFileRegistersNothing) {
    fs::remove(prefix_ / "share/thumbnailers/tolvani.thumbnailer");
    std::string error;
    EXPECT_FALSE(Registration().Register(error));
    EXPECT_NE(error.find("tolvani.thumbnailer"), std::string::npos) << error;
    EXPECT_TRUE(Snapshot(home_).empty());
    EXPECT_TRUE(tools_.empty());
}

TEST_F(DesktopRegistrationTest, AStartRenewsOnlyAnOlderRegistrationOfAPrefixInstallation) {
    // Nothing registered: nothing to renew, and a start writes nothing.
    EXPECT_FALSE(Registration().NeedsRenewal(InstallKind::Prefix));
    RenewRegistrationIfDue(bin_.string(), home_.string());
    EXPECT_TRUE(Snapshot(home_).empty());

    std::string error;
    ASSERT_TRUE(Registration().Register(error)) << error;
    const fs::path entry = home_ / "applications/jp.morlen.Tolvani.desktop";
    const auto programTime = fs::last_write_time(bin_ / "tolvani");
    const struct {
        std::chrono::seconds entryAge;  // before the program's time
        InstallKind kind;
        bool renew;
    } cases[] = {
        {std::chrono::seconds(3600), InstallKind::Prefix, true},
        {std::chrono::seconds(-3600), InstallKind::Prefix, false},
        {std::chrono::seconds(0), InstallKind::Prefix, false},
        {std::chrono::seconds(3600), InstallKind::BuildTree, false},
        {std::chrono::seconds(3600), InstallKind::SystemPackage, false},
    };
    for (const auto& c : cases) {
        fs::last_write_time(entry, programTime - c.entryAge);
        EXPECT_EQ(Registration().NeedsRenewal(c.kind), c.renew) << c.entryAge.count();
    }

    // The renewal writes the entry again, pointing at the program that runs.
    Write(entry, "[Desktop Entry]\nExec=/old/place/tolvani %f\n");
    fs::last_write_time(entry, programTime - std::chrono::seconds(3600));
    RenewRegistrationIfDue(bin_.string(), home_.string());
    EXPECT_EQ(LineStarting(Read(entry), "Exec="), "Exec=\"" + (bin_ / "tolvani").string() + "\" %f");
    EXPECT_FALSE(Registration().NeedsRenewal(InstallKind::Prefix));
}

TEST_F(DesktopRegistrationTest, WithoutADataFolderNothingIsWritten) {
    const DesktopRegistration none(bin_.string(), "", [](const std::vector<std::string>&) {});
    std::string error;
    EXPECT_FALSE(none.Register(error));
    EXPECT_EQ(error, DesktopRegistration::kNoDataHomeMessage);
    EXPECT_FALSE(none.Unregister(error));
    EXPECT_FALSE(none.IsRegistered());
    EXPECT_FALSE(none.NeedsRenewal(InstallKind::Prefix));
}

}  // namespace
}  // namespace tolvani::viewer
