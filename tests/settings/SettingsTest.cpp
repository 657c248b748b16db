// The settings store, the twenty values of "Settings" and the recent-file
// list, on the in-memory store.
#include <gtest/gtest.h>

#include "settings/AppSettings.h"
#include "settings/RecentFileList.h"
#include "settings/SettingsStore.h"

namespace tolvani::settings {
namespace {

// The values of "Settings" in their stored order with their defaults.
const std::vector<std::pair<std::string, std::string>> kSettingsTable = {
    {"zubversion", "100"},
    {"cellleft", "10"},
    {"cellright", "10"},
    {"celltop", "8"},
    {"cellbottom", "6"},
    {"gridstyle", "1"},
    {"gridcolor", "2"},
    {"celltexttype", "3"},
    {"layergroup", "0"},
    {"layerline", "1"},
    {"layertext", "1"},
    {"dotsize", "16"},
    {"jwwpath", "c:\\JWW\\Jw_win.exe"},
    {"objedit", "1"},
    {"objoutp", "1"},
    {"cellcone", "0"},
    {"cellgrig", "0"},
    {"celllayer", "0"},
    {"cellblock", "0"},
    {"zoomup", "0"},
};

std::vector<std::pair<std::string, std::string>> Written(const MemorySettingsStore& store) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& key : store.order()) out.emplace_back(key.second, store.values().at(key));
    return out;
}

TEST(SettingsStore, NamesCompareWithoutCaseAndMissingOrGarbageGiveTheDefault) {
    MemorySettingsStore store;
    store.PutString("settings", "zoomup", "1");
    store.PutString("Settings", "CellLeft", "12abc");
    store.PutString("Settings", "CellTop", "99999999999");
    EXPECT_EQ(store.GetInt("Settings", "ZoomUp", 0), 1);
    EXPECT_EQ(store.GetInt("SETTINGS", "ZOOMUP", 0), 1);
    EXPECT_EQ(store.GetInt("Settings", "CellLeft", 10), 10);
    EXPECT_EQ(store.GetInt("Settings", "CellTop", 8), 8);
    EXPECT_EQ(store.GetInt("Settings", "Missing", 7), 7);
    EXPECT_EQ(store.GetString("Window", "ZoomUp", "none"), "none");
    store.PutInt("SETTINGS", "ZoomUp", -3);
    EXPECT_EQ(store.GetInt("settings", "zoomup", 0), -3);
}

TEST(AppSettings, AFirstRunReadsAndWritesEveryDefaultInTheTablesOrder) {
    MemorySettingsStore empty;
    AppSettings settings;
    settings.zoomUp = 5;
    settings.jwwPath = "x";
    settings.Load(empty, false);
    EXPECT_EQ(settings.zoomUp, 0);
    EXPECT_EQ(settings.jwwPath, "c:\\JWW\\Jw_win.exe");
    MemorySettingsStore out;
    settings.Save(out, false);
    EXPECT_EQ(Written(out), kSettingsTable);
}

TEST(AppSettings, AnEmbeddedRunNeitherReadsNorWritesDotSize) {
    MemorySettingsStore store;
    store.PutInt("Settings", "DotSize", 5);
    store.PutInt("Settings", "ZubVersion", 252);
    AppSettings settings;
    settings.Load(store, true);
    EXPECT_EQ(settings.dotSize, 0);
    EXPECT_EQ(settings.zubVersion, 252);
    MemorySettingsStore out;
    settings.Save(out, true);
    auto expected = kSettingsTable;
    expected.erase(expected.begin() + 11);
    expected[0].second = "252";
    EXPECT_EQ(Written(out), expected);
    EXPECT_FALSE(out.Has("Settings", "DotSize"));
}

TEST(AppSettings, HandWrittenNamesInAnyCaseAreReadAndChangedValuesKept) {
    MemorySettingsStore store;
    store.PutString("settings", "zoomup", "1");
    store.PutString("SETTINGS", "JWWPATH", "/opt/jw/Jw_win.exe");
    store.PutString("Settings", "dotsize", "25");
    AppSettings settings;
    settings.Load(store, false);
    EXPECT_EQ(settings.zoomUp, 1);
    EXPECT_EQ(settings.jwwPath, "/opt/jw/Jw_win.exe");
    EXPECT_EQ(settings.dotSize, 25);
    settings.jwwPath = "/usr/bin/jw";
    settings.Save(store, false);
    EXPECT_EQ(store.GetString("Settings", "JwwPath", ""), "/usr/bin/jw");
    EXPECT_EQ(store.GetInt("Settings", "ZoomUp", 0), 1);
}

TEST(RecentFileList, NewestFirstWithoutDuplicatesAndAtMostTen) {
    RecentFileList list;
    for (int i = 0; i < 12; ++i) list.Add("/d/f" + std::to_string(i) + ".jww");
    list.Add("/d/f5.jww");
    ASSERT_EQ(list.entries().size(), 10u);
    EXPECT_EQ(list.entries()[0], "/d/f5.jww");
    EXPECT_EQ(list.entries()[1], "/d/f11.jww");
    EXPECT_EQ(list.entries()[9], "/d/f2.jww");
    list.Remove("/d/f11.jww");
    EXPECT_EQ(list.entries()[1], "/d/f10.jww");

    MemorySettingsStore store;
    list.Save(store);
    EXPECT_EQ(store.GetString("Recent File List", "File1", ""), "/d/f5.jww");
    EXPECT_EQ(store.GetString("Recent File List", "File10", "x"), "");
    RecentFileList again;
    again.Load(store);
    EXPECT_EQ(again.entries(), list.entries());
}

TEST(RecentFileList, MenuTextsAreNumberedAndShortenedToThirtyCharacters) {
    struct Case {
        std::string path;
        std::string abbreviated;
    };
    const std::vector<Case> cases = {
        {"/home/a/plan.jww", "/home/a/plan.jww"},
        {"/home/someone/drawings/2026/site/plan.jww", "/.../2026/site/plan.jww"},
        {"/home/someone/drawings/a-very-long-folder/plan.jww", "/.../plan.jww"},
        {"c:\\JWW\\projects\\large\\folder\\x\\plan.jww", "c:\\...\\large\\folder\\x\\plan.jww"},
        {"/d/" + std::string(40, 'n') + ".jww", std::string(27, 'n') + "..."},
        {"/home/設計/図面/二〇二六年/現場/平面図/一階平面図.jww", "/.../図面/二〇二六年/現場/平面図/一階平面図.jww"},
    };
    for (const Case& c : cases) {
        const std::string text = AbbreviatePath(c.path, 30);
        EXPECT_EQ(text, c.abbreviated) << c.path;
    }
    RecentFileList list;
    list.Add("/a/R&D.jww");
    EXPECT_EQ(list.MenuText(0), "&1 /a/R&&D.jww");
}

}  // namespace
}  // namespace tolvani::settings
