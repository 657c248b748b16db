#include "viewer/ui/commands/TableImportCommands.h"

#include <QDialog>
#include <QStatusBar>

#include "table/TableBuilder.h"
#include "table/TableMessages.h"
#include "table/ui/CCellOption.h"
#include "table/ui/CCsvDlg.h"
#include "viewer/CommandTable.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/CTolvaniDoc.h"
#include "viewer/ui/UiPrompts.h"

namespace tolvani::viewer {

TableImportCommands::TableImportCommands(CMainFrame& frame, CTolvaniDoc& doc, UiPrompts& prompts)
    : QObject(&frame), frame_(frame), view_(frame.view()), doc_(doc), prompts_(prompts) {
    setObjectName(QStringLiteral("TableImportCommands"));
    commands_.options = doc_.core().settings().table;

    TableDialogPrompts dialogPrompts;
    dialogPrompts.openFileName = [this](QWidget* parent, const QString& filters) {
        return prompts_.OpenFileName(parent, filters, QString());
    };
    dialogPrompts.message = [this](QWidget* parent, const QString& text) {
        prompts_.Message(parent, UiPrompts::Icon::Warning, text);
    };
    importDialog_ = std::make_unique<CCsvDlg>(commands_.table, clipboard_, dialogPrompts, &frame_);
    optionsDialog_ = std::make_unique<CCellOption>(dialogPrompts, &frame_);

    placement_.onPlace = [this](const JwwPoint& at) { return Place(at); };
    placement_.onCancel = [this] { EndPlacement(); };

    frame_.SetCommand(
        cmd::kTableImport, [this] { Import(); },
        [this] { return TableCommands::ImportEnabled(doc_.core().drawing()); });
    frame_.SetCommand(
        cmd::kTableUndo, [this] { Undo(); }, [this] { return commands_.UndoEnabled(doc_.core().drawing()); });
    frame_.SetCommand(cmd::kTableOptions, [this] { Options(); });
    // Another drawing, or an emptied one, ends a placement that waits.
    connect(&doc_, &CTolvaniDoc::drawingReplaced, this, [this] { EndPlacement(); });
}

TableImportCommands::~TableImportCommands() {
    if (view_ && view_->mouseMode() == &placement_) view_->SetMouseMode(nullptr);
}

void TableImportCommands::Message(const std::string& text) {
    prompts_.Message(&frame_, UiPrompts::Icon::Warning, QString::fromStdString(text));
}

void TableImportCommands::KeepOptions() { doc_.core().settings().table = commands_.options; }

void TableImportCommands::EndPlacement() {
    placement_.Disarm();
    if (frame_.view()->mouseMode() == &placement_) frame_.view()->SetMouseMode(nullptr);
    if (frame_.statusBar()->currentMessage() == QString::fromUtf8(kPlacePrompt)) frame_.statusBar()->clearMessage();
}

void TableImportCommands::Import() {
    // Choosing the import again starts over with the table chosen now.
    EndPlacement();
    if (!TableCommands::ImportEnabled(doc_.core().drawing())) return;
    if (importDialog_->Open() != QDialog::Accepted) return;
    if (optionsDialog_->Open(commands_.options, doc_.core().drawing().header) != QDialog::Accepted) return;
    const std::string refusal = commands_.Measure(optionsDialog_->options(), doc_.core().drawing());
    KeepOptions();
    if (!refusal.empty()) {
        Message(refusal);
        return;
    }
    placement_.Arm(commands_.TableWidth(), commands_.TableHeight());
    frame_.view()->SetMouseMode(&placement_);
    frame_.statusBar()->showMessage(QString::fromUtf8(kPlacePrompt));
    frame_.view()->setFocus();
}

bool TableImportCommands::Place(const JwwPoint& at) {
    DrawingDocument& rules = doc_.core();
    if (!IsTableBlockNameFree(rules.drawing(), commands_.options)) {
        Message(kBlockNameTakenMessage);
        return false;
    }
    TableCommands::PlaceResult result = TableCommands::PlaceResult::NothingToPlace;
    rules.ChangeDrawing([&](CJwwDoc& drawing) { result = commands_.Place(drawing, at.x, at.y); }, false);
    if (result != TableCommands::PlaceResult::Placed) return false;
    rules.SetModified(true);
    EndPlacement();
    frame_.UpdateCommandUi();
    return true;
}

void TableImportCommands::Undo() {
    DrawingDocument& rules = doc_.core();
    if (!commands_.UndoEnabled(rules.drawing())) return;
    bool undone = false;
    rules.ChangeDrawing([&](CJwwDoc& drawing) { undone = commands_.Undo(drawing); }, false);
    if (undone) rules.SetModified(true);
    frame_.UpdateCommandUi();
}

void TableImportCommands::Options() {
    if (optionsDialog_->Open(commands_.options, doc_.core().drawing().header) != QDialog::Accepted) return;
    const char* refusal = commands_.TakeOptions(optionsDialog_->options(), doc_.core().drawing());
    KeepOptions();
    if (refusal) Message(refusal);
}

}  // namespace tolvani::viewer
