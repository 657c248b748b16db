// The settings file: names found without regard to case, garbage and
// missing files giving the defaults, a file that cannot be written never
// stopping the program.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "settings/AppSettings.h"
#include "settings/RecentFileList.h"
#include "settings/qt/QtSettingsStore.h"

namespace tolvani::settings {
namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class QtSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString File(const char* name) { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

TEST_F(QtSettingsStoreTest, HandWrittenNamesInAnyCaseAreFoundAndReplacedInPlace) {
    const QString ini = File("Tolvani.conf");
    Write(ini, "[settings]\nzoomup=1\nJWWPATH=/opt/jw/Jw_win.exe\n");
    {
        QtSettingsStore store(ini);
        AppSettings settings;
        settings.Load(store, false);
        EXPECT_EQ(settings.zoomUp, 1);
        EXPECT_EQ(settings.jwwPath, "/opt/jw/Jw_win.exe");
        settings.zoomUp = 0;
        settings.Save(store, false);
        store.Sync();
    }
    const QByteArray text = Read(ini);
    EXPECT_EQ(text.count("zoomup="), 1) << text.constData();
    EXPECT_EQ(text.toLower().count("zoomup="), 1) << text.constData();
    EXPECT_TRUE(text.contains("zoomup=0")) << text.constData();
    EXPECT_TRUE(text.contains("CellLeft=10")) << text.constData();
    QtSettingsStore again(ini);
    EXPECT_EQ(again.GetInt("Settings", "ZoomUp", 7), 0);
    EXPECT_EQ(again.GetString("SETTINGS", "jwwpath", ""), "/opt/jw/Jw_win.exe");
}

TEST_F(QtSettingsStoreTest, GarbageOrAMissingFileGivesTheDefaults) {
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        {"no file", QByteArray()},
        {"binary", QByteArray("\x00\xff\xfe[\x01=\x02\n\x00", 9)},
        {"broken lines", "[Settings\nZoomUp\n=3\nCellLeft=abc\nCellTop=99999999999\n[Settings]\nDotSize=\n"},
        {"a list where a number goes", "[Settings]\nCellRight=1,2,3\n"},
    };
    for (const Case& c : cases) {
        const QString ini = File("garbage.conf");
        QFile::remove(ini);
        if (!c.bytes.isNull()) Write(ini, c.bytes);
        QtSettingsStore store(ini);
        AppSettings settings;
        settings.Load(store, false);
        EXPECT_EQ(settings.zoomUp, 0) << c.what;
        EXPECT_EQ(settings.table.cellLeft, 10) << c.what;
        EXPECT_EQ(settings.table.cellRight, 10) << c.what;
        EXPECT_EQ(settings.table.cellTop, 8) << c.what;
        EXPECT_EQ(settings.dotSize, 16) << c.what;
        RecentFileList recent;
        recent.Load(store);
        EXPECT_TRUE(recent.entries().empty()) << c.what;
    }
}

TEST_F(QtSettingsStoreTest, AFileThatCannotBeWrittenIsNotReported) {
    // A folder stands where the file would be.
    const QString ini = File("folder.conf");
    ASSERT_TRUE(QDir().mkpath(ini));
    QtSettingsStore store(ini);
    AppSettings settings;
    settings.Load(store, false);
    settings.jwwPath = "/x";
    settings.Save(store, false);
    store.Sync();
    // The values stay readable for the rest of the run.
    EXPECT_EQ(store.GetString("Settings", "JwwPath", ""), "/x");
}

TEST_F(QtSettingsStoreTest, TheRecentFileListAndTheWindowSectionRoundTrip) {
    const QString ini = File("round.conf");
    {
        QtSettingsStore store(ini);
        RecentFileList recent;
        recent.Add("/home/a/図面 1.jww");
        recent.Add("/home/a/b,c.jww");
        recent.Save(store);
        store.PutInt("Window", "left", 10);
        store.Sync();
    }
    QtSettingsStore store(ini);
    RecentFileList recent;
    recent.Load(store);
    EXPECT_EQ(recent.entries(), (std::vector<std::string>{"/home/a/b,c.jww", "/home/a/図面 1.jww"}));
    EXPECT_EQ(store.GetInt("window", "LEFT", 0), 10);
}

}  // namespace
}  // namespace tolvani::settings
