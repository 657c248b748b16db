// The table import in the main window: the commands "エクセル表インポート"
// (32809), "表挿入の取消" (32811) and "表挿入オプション" (32788), their two
// dialogs, the placement with the mouse in the view, and the options kept
// in the settings.
#pragma once

#include <memory>

#include "app/TablePlacementMode.h"
#include "table/TableCommands.h"
#include "table/ui/QtClipboardText.h"

namespace tolvani {

class CCellOption;
class CCsvDlg;
class CMainFrame;
class CTolvaniDoc;
class CUiPrompts;

class CTableImportCommands {
public:
    // The status message while a table waits to be placed.
    static constexpr const char* kPlacePrompt = "表の左上の位置をクリックしてください（Esc で中止）";

    // Connects the three commands to the window; the options start from
    // the document's settings.
    CTableImportCommands(CMainFrame& frame, CTolvaniDoc& doc, CUiPrompts& prompts);
    ~CTableImportCommands();

    void Import();
    void Undo();
    void Options();

    // Ends a placement that waits, placing nothing.
    void EndPlacement();

    TableCommands& commands() { return commands_; }
    CTablePlacementMode& placement() { return placement_; }
    CCsvDlg& importDialog() { return *importDialog_; }
    CCellOption& optionsDialog() { return *optionsDialog_; }

private:
    bool Place(const JwwPoint& at);
    // The options into the settings written back when the program ends.
    void KeepOptions();
    void Message(const std::string& text);

    CMainFrame& frame_;
    CTolvaniDoc& doc_;
    CUiPrompts& prompts_;
    TableCommands commands_;
    CTablePlacementMode placement_;
    CQtClipboardText clipboard_;
    std::unique_ptr<CCsvDlg> importDialog_;
    std::unique_ptr<CCellOption> optionsDialog_;
};

}  // namespace tolvani
