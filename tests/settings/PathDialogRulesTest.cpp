#include <gtest/gtest.h>

#include <filesystem>

#include "settings/PathDialogRules.h"
#include "tests/support/TestSupport.h"

namespace tolvani::settings {
namespace {

TEST(PathDialogRules, OkTakesThePathAsTypedAndTheBoxes) {
    PathDialogRules r;
    r.CopyIn(PathDialogRules::kDefaultPath, 1, 1);
    EXPECT_EQ(r.path, "c:\\JWW\\Jw_win.exe");
    EXPECT_TRUE(r.allowEdit);
    EXPECT_TRUE(r.allowOutport);

    std::string path = PathDialogRules::kDefaultPath;
    int edit = 1, outp = 1;
    EXPECT_FALSE(r.CopyOut(path, edit, outp));

    r.path = "  /opt/jw/Jw_win.exe ";
    r.allowOutport = false;
    EXPECT_TRUE(r.CopyOut(path, edit, outp));
    EXPECT_EQ(path, "  /opt/jw/Jw_win.exe ");
    EXPECT_EQ(edit, 1);
    EXPECT_EQ(outp, 0);

    // A stored 5 shows as set and stays 5 while its box is not changed.
    edit = 5;
    r.CopyIn(path, edit, outp);
    EXPECT_TRUE(r.allowEdit);
    EXPECT_FALSE(r.CopyOut(path, edit, outp));
    EXPECT_EQ(edit, 5);
    r.allowEdit = false;
    EXPECT_TRUE(r.CopyOut(path, edit, outp));
    EXPECT_EQ(edit, 0);
}

TEST(PathDialogRules, TheChooserOffersProgramsWithAndWithoutExe) {
    const auto filters = PathDialogRules::ChooserFilters();
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0], "アプリケーションファイル(*.exe)");
    EXPECT_EQ(filters[1], "全てのファイル(*)");

    const std::string dir = test::MakeTempDir();
    EXPECT_EQ(PathDialogRules::ChooserFolder(dir + "/Jw_win.exe"), dir);
    EXPECT_EQ(PathDialogRules::ChooserFolder(dir + "/none/Jw_win.exe"), "");
    EXPECT_EQ(PathDialogRules::ChooserFolder("c:\\JWW\\Jw_win.exe"), "");
    EXPECT_EQ(PathDialogRules::ChooserFolder("/usr"), "/");
    EXPECT_EQ(PathDialogRules::ChooserFolder(""), "");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tolvani::settings
