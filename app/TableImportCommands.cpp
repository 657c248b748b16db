#include "app/TableImportCommands.h"

#include <QDialog>
#include <QStatusBar>

#include "app/CMainFrame.h"
#include "app/CTolvaniDoc.h"
#include "app/Commands.h"
#include "app/ui/UiPrompts.h"
#include "table/TableBuilder.h"
#include "table/TableMessages.h"
#include "table/ui/CCellOption.h"
#include "table/ui/CCsvDlg.h"

namespace tolvani {

namespace {

CTableOptions OptionsFrom(const CAppSettings& s) {
    CTableOptions o;
    o.cellLeft = s.cellLeft;
    o.cellRight = s.cellRight;
    o.cellTop = s.cellTop;
    o.cellBottom = s.cellBottom;
    o.gridStyle = s.gridStyle;
    o.gridColor = s.gridColor;
    o.cellTextType = s.cellTextType;
    o.layerGroup = s.layerGroup;
    o.layerLine = s.layerLine;
    o.layerText = s.layerText;
    o.cellLayer = s.cellLayer != 0;
    o.cellBlock = s.cellBlock != 0;
    return o;
}

}  // namespace

CTableImportCommands::CTableImportCommands(CMainFrame& frame, CTolvaniDoc& doc, CUiPrompts& prompts)
    : frame_(frame), doc_(doc), prompts_(prompts) {
    commands_.options = OptionsFrom(doc_.rules().settings());

    CTableDialogPrompts dialogPrompts;
    dialogPrompts.openFileName = [this](QWidget* parent, const QString& filters) {
        return prompts_.OpenFileName(parent, filters, QString());
    };
    dialogPrompts.message = [this](QWidget* parent, const QString& text) {
        prompts_.Message(parent, CUiPrompts::Icon::Warning, text);
    };
    importDialog_ = std::make_unique<CCsvDlg>(commands_.table, clipboard_, dialogPrompts, &frame_);
    optionsDialog_ = std::make_unique<CCellOption>(dialogPrompts, &frame_);

    placement_.onPlace = [this](const JwwPoint& at) { return Place(at); };
    placement_.onCancel = [this] { EndPlacement(); };

    frame_.SetCommand(
        cmd::kTableImport, [this] { Import(); },
        [this] { return TableCommands::ImportEnabled(doc_.rules().drawing()); });
    frame_.SetCommand(
        cmd::kTableUndo, [this] { Undo(); }, [this] { return commands_.UndoEnabled(doc_.rules().drawing()); });
    frame_.SetCommand(cmd::kTableOptions, [this] { Options(); });
    // Another drawing, or an emptied one, ends a placement that waits.
    QObject::connect(&doc_, &CTolvaniDoc::drawingReplaced, &frame_, [this] { EndPlacement(); });
}

CTableImportCommands::~CTableImportCommands() {
    if (frame_.view() && frame_.view()->mouseMode() == &placement_) frame_.view()->SetMouseMode(nullptr);
}

void CTableImportCommands::Message(const std::string& text) {
    prompts_.Message(&frame_, CUiPrompts::Icon::Warning, QString::fromStdString(text));
}

void CTableImportCommands::KeepOptions() {
    const CTableOptions& o = commands_.options;
    CAppSettings& s = doc_.rules().settings();
    s.cellLeft = o.cellLeft;
    s.cellRight = o.cellRight;
    s.cellTop = o.cellTop;
    s.cellBottom = o.cellBottom;
    s.gridStyle = o.gridStyle;
    s.gridColor = o.gridColor;
    s.cellTextType = o.cellTextType;
    s.layerGroup = o.layerGroup;
    s.layerLine = o.layerLine;
    s.layerText = o.layerText;
    s.cellLayer = o.cellLayer ? 1 : 0;
    s.cellBlock = o.cellBlock ? 1 : 0;
}

void CTableImportCommands::EndPlacement() {
    placement_.Disarm();
    if (frame_.view()->mouseMode() == &placement_) frame_.view()->SetMouseMode(nullptr);
    if (frame_.statusBar()->currentMessage() == QString::fromUtf8(kPlacePrompt)) frame_.statusBar()->clearMessage();
}

void CTableImportCommands::Import() {
    // Choosing the import again starts over with the table chosen now.
    EndPlacement();
    if (!TableCommands::ImportEnabled(doc_.rules().drawing())) return;
    if (importDialog_->Open() != QDialog::Accepted) return;
    if (optionsDialog_->Open(commands_.options, doc_.rules().drawing().header) != QDialog::Accepted) return;
    const std::string refusal = commands_.Measure(optionsDialog_->options(), doc_.rules().drawing());
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

bool CTableImportCommands::Place(const JwwPoint& at) {
    CDrawingDocument& rules = doc_.rules();
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

void CTableImportCommands::Undo() {
    CDrawingDocument& rules = doc_.rules();
    if (!commands_.UndoEnabled(rules.drawing())) return;
    bool undone = false;
    rules.ChangeDrawing([&](CJwwDoc& drawing) { undone = commands_.Undo(drawing); }, false);
    if (undone) rules.SetModified(true);
    frame_.UpdateCommandUi();
}

void CTableImportCommands::Options() {
    if (optionsDialog_->Open(commands_.options, doc_.rules().drawing().header) != QDialog::Accepted) return;
    const char* refusal = commands_.TakeOptions(optionsDialog_->options(), doc_.rules().drawing());
    KeepOptions();
    if (refusal) Message(refusal);
}

}  // namespace tolvani
