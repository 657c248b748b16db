#include "app/CDrawingDocument.h"

#include <algorithm>

namespace tolvani {

const char* const CDrawingDocument::kUntitled = "無題";

CDrawingDocument::CDrawingDocument(CSettingsStore& store, bool runningEmbedded)
    : store_(store), runningEmbedded_(runningEmbedded), drawing_(std::make_shared<CJwwDoc>()) {
    drawing_->header.SetNewDrawingDefaults();
    settings_.Load(store_, runningEmbedded_);
    values_.dotSize = settings_.dotSize;
    save_ = [](const std::string& path, CJwwDoc& doc) { return SaveDrawingFile(path, doc); };
}

CDrawingDocument::~CDrawingDocument() {
    StopDrawing();
    drawing_->Clear();
    settings_.Save(store_, runningEmbedded_);
}

void CDrawingDocument::Notify() {
    if (onStateChanged) onStateChanged();
}

void CDrawingDocument::FitPaper() {
    display::FitPaper(*drawing_, screen_, values_);
    UpdateAllViews();
}

void CDrawingDocument::UpdateAllViews() {
    // A view may leave the list while it updates (it should not, but the
    // walk must not break if it does).
    const std::vector<display::CViewObserver*> views = views_;
    for (display::CViewObserver* v : views)
        if (std::find(views_.begin(), views_.end(), v) != views_.end()) v->OnUpdate();
}

void CDrawingDocument::StopDrawing() {
    for (display::CViewObserver* v : views_) v->StopDrawing();
}

void CDrawingDocument::AddView(display::CViewObserver* view) {
    if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void CDrawingDocument::RemoveView(display::CViewObserver* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void CDrawingDocument::DrawFinished(const CJwwDoc& drawn, const display::DrawReport& report) {
    if (&drawn != drawing_.get()) return;
    if (report.budgetExhausted && !budgetReported_) {
        budgetReported_ = true;
        if (onPlacementBudgetSpent) onPlacementBudgetSpent(display::kPlacementBudgetMessage);
    }
    if (missingReported_ || report.missingDefinitions.empty()) return;
    missingReported_ = true;
    if (onMissingDefinitions) onMissingDefinitions(MissingDefinitionsMessage(report.missingDefinitions));
}

void CDrawingDocument::ChangeDrawing(const std::function<void(CJwwDoc&)>& change, bool markModified) {
    StopDrawing();
    change(*drawing_);
    if (markModified) SetModified(true);
    UpdateAllViews();
}

void CDrawingDocument::SetViewScale(double s) {
    if (display::SetViewScale(screen_, values_, s)) UpdateAllViews();
}

std::string CDrawingDocument::Title() const {
    if (!filePath_.empty()) return filePath_;
    return objectTitle_.empty() ? kUntitled : objectTitle_;
}

void CDrawingDocument::SetModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    Notify();
}

void CDrawingDocument::NewDocument() {
    StopDrawing();
    drawing_->Clear();
    filePath_.clear();
    modified_ = false;
    missingReported_ = false;
    budgetReported_ = false;
    Notify();
    UpdateAllViews();
}

CDrawingDocument::OpenResult CDrawingDocument::FinishOpen(const std::string& path, LoadOutcome&& load) {
    OpenResult result;
    StopDrawing();
    lastPath_ = path;
    if (load.doc) {
        drawing_ = std::shared_ptr<CJwwDoc>(std::move(load.doc));
    } else {
        drawing_->Clear();
    }
    drawing_->CountLayerElements();
    result.loaded = load.ok();
    result.message = load.message;
    result.detail = load.detail;
    filePath_ = result.loaded ? path : std::string();
    modified_ = false;
    missingReported_ = false;
    budgetReported_ = false;
    Notify();
    FitPaper();
    return result;
}

void CDrawingDocument::TakeEditedDrawing(std::unique_ptr<CJwwDoc> edited) {
    if (!edited) return;
    StopDrawing();
    drawing_ = std::shared_ptr<CJwwDoc>(std::move(edited));
    drawing_->CountLayerElements();
    objectExtent_ = values_.extent;
    missingReported_ = false;
    budgetReported_ = false;
    modified_ = true;
    Notify();
    UpdateAllViews();
}

void CDrawingDocument::TakeObjectDrawing(std::unique_ptr<CJwwDoc> drawing, display::DeviceSize extent,
                                         const std::string& title) {
    if (!drawing) return;
    StopDrawing();
    drawing_ = std::shared_ptr<CJwwDoc>(std::move(drawing));
    drawing_->CountLayerElements();
    objectExtent_ = extent;
    objectTitle_ = title;
    filePath_.clear();
    modified_ = false;
    missingReported_ = false;
    Notify();
    UpdateAllViews();
}

bool CDrawingDocument::FinishRecovery(const std::string& sourcePath, LoadOutcome&& load) {
    if (!load.ok() || !load.doc) return false;
    StopDrawing();
    drawing_ = std::shared_ptr<CJwwDoc>(std::move(load.doc));
    drawing_->CountLayerElements();
    if (!sourcePath.empty()) lastPath_ = sourcePath;
    filePath_.clear();
    modified_ = true;
    missingReported_ = false;
    budgetReported_ = false;
    Notify();
    FitPaper();
    return true;
}

SaveOutcome CDrawingDocument::SaveTo(const std::string& path) {
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

}  // namespace tolvani
