#include "viewer/DrawingDocument.h"

#include <algorithm>

namespace tolvani::viewer {

const char* const DrawingDocument::kUntitled = "無題";

DrawingDocument::DrawingDocument(settings::SettingsStore& store, bool runningEmbedded)
    : store_(store), runningEmbedded_(runningEmbedded), drawing_(std::make_shared<CJwwDoc>()) {
    drawing_->header.SetNewDrawingDefaults();
    settings_.Load(store_, runningEmbedded_);
    values_.dotSize = settings_.dotSize;
    save_ = [](const std::string& path, CJwwDoc& doc) { return SaveDrawingFile(path, doc); };
}

DrawingDocument::~DrawingDocument() {
    StopDrawing();
    drawing_->Clear();
    settings_.Save(store_, runningEmbedded_);
}

void DrawingDocument::Notify() {
    if (onStateChanged) onStateChanged();
}

void DrawingDocument::FitPaper() {
    display::FitPaper(*drawing_, screen_, values_);
    UpdateAllViews();
}

void DrawingDocument::UpdateAllViews() {
    // A view may leave the list while it updates (it should not, but the
    // walk must not break if it does).
    const std::vector<display::ViewObserver*> views = views_;
    for (display::ViewObserver* v : views)
        if (std::find(views_.begin(), views_.end(), v) != views_.end()) v->OnUpdate();
}

void DrawingDocument::StopDrawing() {
    for (display::ViewObserver* v : views_) v->StopDrawing();
}

void DrawingDocument::AddView(display::ViewObserver* view) {
    if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void DrawingDocument::RemoveView(display::ViewObserver* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void DrawingDocument::DrawFinished(const CJwwDoc& drawn, const display::DrawReport& report) {
    if (&drawn != drawing_.get()) return;
    if (report.budgetExhausted && !budgetReported_) {
        budgetReported_ = true;
        if (onPlacementBudgetSpent) onPlacementBudgetSpent(display::kPlacementBudgetMessage);
    }
    if (missingReported_ || report.missingDefinitions.empty()) return;
    missingReported_ = true;
    if (onMissingDefinitions) onMissingDefinitions(MissingDefinitionsMessage(report.missingDefinitions));
}

void DrawingDocument::ChangeDrawing(const std::function<void(CJwwDoc&)>& change, bool markModified) {
    StopDrawing();
    change(*drawing_);
    if (markModified) SetModified(true);
    UpdateAllViews();
}

void DrawingDocument::SetViewScale(double s) {
    if (display::SetViewScale(screen_, values_, s)) UpdateAllViews();
}

std::string DrawingDocument::Title() const {
    if (!filePath_.empty()) return filePath_;
    return objectTitle_.empty() ? kUntitled : objectTitle_;
}

void DrawingDocument::SetModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    Notify();
}

void DrawingDocument::TakeDrawing(std::unique_ptr<CJwwDoc> drawing, const std::optional<std::string>& tie,
                                  bool modified, View view) {
    StopDrawing();
    if (drawing)
        drawing_ = std::shared_ptr<CJwwDoc>(std::move(drawing));
    else
        drawing_->Clear();
    drawing_->CountLayerElements();
    // Each drawing gets its notices once.
    missingReported_ = false;
    budgetReported_ = false;
    if (tie) filePath_ = *tie;
    modified_ = modified;
    Notify();
    if (view == View::Fit)
        FitPaper();
    else
        UpdateAllViews();
}

void DrawingDocument::NewDocument() { TakeDrawing(nullptr, std::string(), false, View::Keep); }

DrawingDocument::OpenResult DrawingDocument::FinishOpen(const std::string& path, LoadOutcome&& load) {
    OpenResult result;
    result.loaded = load.ok();
    result.message = load.message;
    result.detail = load.detail;
    lastPath_ = path;
    TakeDrawing(std::move(load.doc), result.loaded ? path : std::string(), false, View::Fit);
    return result;
}

void DrawingDocument::TakeEditedDrawing(std::unique_ptr<CJwwDoc> edited) {
    if (!edited) return;
    objectExtent_ = values_.extent;
    TakeDrawing(std::move(edited), std::nullopt, true, View::Keep);
}

void DrawingDocument::TakeObjectDrawing(std::unique_ptr<CJwwDoc> drawing, display::DeviceSize extent,
                                        const std::string& title) {
    if (!drawing) return;
    objectExtent_ = extent;
    objectTitle_ = title;
    TakeDrawing(std::move(drawing), std::string(), false, View::Keep);
}

bool DrawingDocument::FinishRecovery(const std::string& sourcePath, LoadOutcome&& load) {
    if (!load.ok() || !load.doc) return false;
    if (!sourcePath.empty()) lastPath_ = sourcePath;
    TakeDrawing(std::move(load.doc), std::string(), true, View::Fit);
    return true;
}

SaveOutcome DrawingDocument::SaveTo(const std::string& path) {
    StopDrawing();
    SaveOutcome saved = save_(path, *drawing_);
    if (saved.ok()) SetModified(false);
    return saved;
}

std::string MissingDefinitionsMessage(const std::vector<int32_t>& numbers) {
    std::string text = display::kBlockMissingMessage;
    if (numbers.empty()) return text;
    text += "\n(定義番号 ";
    for (std::size_t i = 0; i < numbers.size(); ++i) text += (i ? ", " : "") + std::to_string(numbers[i]);
    return text + ")";
}

}  // namespace tolvani::viewer
