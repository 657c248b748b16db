// The main of the table's window tests: one application on the offscreen
// platform, with the user's folders moved to a temporary place so that no
// test reads or writes the real home folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TestSupport.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string home = tolvani::test::MakeTempDir();
    for (const char* var : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
        const std::string dir = home + "/" + var;
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        setenv(var, dir.c_str(), 1);
    }
    QStandardPaths::setTestModeEnabled(true);
    int result = 0;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    std::filesystem::remove_all(home);
    return result;
}
