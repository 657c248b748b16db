// The main window: menu, toolbar and status bar around the drawing view,
// the file commands, the save question, and the window placement. Every
// command is a QAction found by its number; the commands of the other
// parts of the program (created by ConnectCommands) connect theirs with
// SetCommand, and a command nobody has connected stays disabled.
#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "display/ui/CTolvaniView.h"
#include "viewer/CommandTable.h"
#include "viewer/ui/CTolvaniDoc.h"
#include "viewer/ui/UiPrompts.h"

class QToolBar;

namespace tolvani::viewer {

class CMainFrame : public QMainWindow, private display::ViewObserver {
    Q_OBJECT
public:
    CMainFrame(CTolvaniDoc& doc, UiPrompts& prompts, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The action of a command number (menu item, toolbar button or key);
    // null for a number the window does not know. For the recent files,
    // cmd::kRecentFirst + i is entry i while the list has it.
    QAction* Action(int id) const;
    // Connects a command: `run` when it is chosen, enabled while `enabled`
    // says so (always when null) and the menu's own rule for it holds.
    // Replaces an earlier connection.
    void SetCommand(int id, std::function<void()> run, std::function<bool()> enabled = {});
    // Evaluates every enable rule again (menus do it when they open; the
    // toolbar after every change of the document).
    void UpdateCommandUi();

    display::CTolvaniView* view() const { return view_; }
    CTolvaniDoc& document() const { return doc_; }
    UiPrompts& prompts() const { return prompts_; }
    // Status bar pane 0 (messages) to 3.
    QLabel* pane(int index) const;
    QToolBar* toolBar() const { return toolBar_; }

    // The file commands, as the menus and keys run them.
    void NewFile();
    void OpenWithDialog();     // cmd::kOpen
    void OpenWithAppDialog();  // cmd::kFileOpenApp, Ctrl+O
    void OpenRecent(int index);
    void SaveAs();  // cmd::kSaveAs
    // Ctrl+S: to the file the title names, else through the save-as dialog.
    // Returns true when the drawing was written.
    bool Save();
    // Asks "%1 への変更を保存しますか?" when the drawing is modified;
    // false when the user cancelled or the save failed.
    bool SaveModified();
    // Opens the path after the save question (command line, drops).
    void OpenPath(const QString& path);
    // Replaces what SaveModified asks and does (an object's window asks
    // about writing the object back instead).
    void SetSaveModifiedRule(std::function<bool()> rule) { saveModifiedRule_ = std::move(rule); }

    // Replaces the menu bar by these menus (the main menu is built at
    // creation); a menu without the recent files has none.
    void SetMenus(const std::vector<MenuInfo>& menus);

    // Restores the placement stored in section "Window" (stand-alone only).
    void RestorePlacement();
    void SavePlacement();

    static const char* const kOpenFilter;
    static const char* const kAppOpenFilter;
    static const char* const kSaveFilter;

protected:
    void closeEvent(QCloseEvent* event) override;
    // A JWW file dropped onto the window opens (after the save question).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Command {
        QAction* action = nullptr;
        std::function<void()> run;
        std::function<bool()> enabled;
        bool connected = false;
    };
    void CreateActions();
    void CreateMenus(const std::vector<MenuInfo>& menus);
    void CreateToolBar();
    void CreateStatusBar();
    void ConnectOwnCommands();
    void RebuildRecentMenu();
    void UpdateTitle();
    void ShowOpenOutcome(const QString& path, bool loaded, const QString& message, const QString& detail);
    bool WriteTo(const QString& path, bool addToRecent);
    void OnUpdate() override { UpdateCommandUi(); }
    void StopDrawing() override {}

    CTolvaniDoc& doc_;
    UiPrompts& prompts_;
    display::CTolvaniView* view_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* recentAnchor_ = nullptr;  // the separator after the recent files
    std::vector<QAction*> recentActions_;
    QAction* recentPlaceholder_ = nullptr;
    std::map<int, Command> commands_;
    QLabel* panes_[4] = {};
    bool closing_ = false;
    bool busy_ = false;  // the busy cursor is up while a file is read
    std::function<bool()> saveModifiedRule_;
};

}  // namespace tolvani::viewer
