// The table import in the main window: the commands "エクセル表インポート",
// "表挿入の取消" and "表挿入オプション" (cmd::kTableImport, cmd::kTableUndo,
// cmd::kTableOptions), their two dialogs, the placement with the mouse in the view, and the options kept
// in the settings.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "display/ui/CTolvaniView.h"
#include "table/TableCommands.h"
#include "table/ui/QtClipboardText.h"
#include "viewer/ui/commands/TablePlacementMode.h"

namespace tolvani {
class CCellOption;
class CCsvDlg;
}  // namespace tolvani

namespace tolvani::viewer {

class CMainFrame;
class CTolvaniDoc;
class UiPrompts;

class TableImportCommands : public QObject {
    Q_OBJECT
public:
    // The status message while a table waits to be placed.
    static constexpr const char* kPlacePrompt = "表の左上の位置をクリックしてください（Esc で中止）";

    // Connects the three commands to the window, which owns the object;
    // the options start from the document's settings.
    TableImportCommands(CMainFrame& frame, CTolvaniDoc& doc, UiPrompts& prompts);
    ~TableImportCommands() override;

    void Import();
    void Undo();
    void Options();

    // Ends a placement that waits, placing nothing.
    void EndPlacement();

    TableCommands& commands() { return commands_; }
    TablePlacementMode& placement() { return placement_; }
    CCsvDlg& importDialog() { return *importDialog_; }
    CCellOption& optionsDialog() { return *optionsDialog_; }

private:
    bool Place(const JwwPoint& at);
    // The options into the settings written back when the program ends.
    void KeepOptions();
    void Message(const std::string& text);

    CMainFrame& frame_;
    // The view goes before its frame's other children.
    QPointer<display::CTolvaniView> view_;
    CTolvaniDoc& doc_;
    UiPrompts& prompts_;
    TableCommands commands_;
    TablePlacementMode placement_;
    QtClipboardText clipboard_;
    std::unique_ptr<CCsvDlg> importDialog_;
    std::unique_ptr<CCellOption> optionsDialog_;
};

}  // namespace tolvani::viewer
