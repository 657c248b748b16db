// The program's commands by number, with the texts of the main menu, the
// status-bar prompts and tooltips, and the keys that reach them.
#pragma once

#include <string>
#include <vector>

namespace tolvani::viewer {

namespace cmd {
enum : int {
    kFileNew = 57600,
    kFileOpenApp = 57601,  // the application's open (Ctrl+O)
    kFileSave = 57603,     // Ctrl+S: a plain JWW save to the tied file
    kFilePrintSetup = 57606,
    kFilePrint = 57607,
    kFilePrintPreview = 57609,
    kFileUpdate = 57610,   // Ctrl+S of an object's window: the object is written back
    kRecentFirst = 57616,  // the recent files, kRecentFirst + 0 … 9
    kAppExit = 57665,
    kEditCopy = 57634,
    kAppAbout = 57664,
    kViewToolbar = 59392,
    kViewStatusBar = 59393,
    kOpen = 32772,
    kSaveAs = 32774,
    kEditWithJwCad = 32775,
    kOutport = 32776,
    kUpdateObject = 32777,
    kJwwPath = 32780,
    kTableOptions = 32788,
    kSettingsSheet = 32795,
    kLayerSettings = 32797,
    kHelp = 32800,
    kBlockFigures = 32802,
    kTableImport = 32809,
    kTableUndo = 32811,
    kDisplaySettings = 32814,
};
}  // namespace cmd

struct CommandInfo {
    int id;
    const char* menuText;  // as in the menu, with "&" mnemonics; "" when not in a menu
    const char* prompt;    // the status-bar prompt
    const char* tooltip;
    // Key sequences in Qt's portable text form ("Ctrl+O"); several
    // separated by ";".
    const char* keys;
};

// Every command of the main window.
const std::vector<CommandInfo>& MainCommands();
// The commands only an object opened in its own window has.
const std::vector<CommandInfo>& ObjectCommands();
// Among both lists.
const CommandInfo* FindCommand(int id);

// The main menu: menu titles and their items by command number; 0 is a
// separator, cmd::kRecentFirst stands for the recent-file list.
struct MenuInfo {
    const char* title;
    std::vector<int> items;
};
const std::vector<MenuInfo>& MainMenu();
// The menu of an object opened in its own window.
const std::vector<MenuInfo>& ObjectMenu();
// The keys of an object's window, by command number ("Ctrl+S" reaches
// cmd::kFileUpdate there); every other command has none.
struct CommandKey {
    int id;
    const char* keys;
};
const std::vector<CommandKey>& ObjectKeys();

// The toolbar's buttons in order; 0 is a separator.
const std::vector<int>& MainToolbar();

// Keys of the main window that reach no command (they are taken so that
// they do nothing, as the window's accelerators say).
const std::vector<const char*>& InertKeys();

}  // namespace tolvani::viewer
