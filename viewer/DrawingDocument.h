// The document's rules without any user interface: the drawing, its view
// state and values, the settings, the file the document is tied to, the
// modified flag, and what each file command does to them. The views observe
// it; every change to the drawing first stops the views' running draws.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/ViewDocument.h"
#include "model/JwwFile.h"
#include "settings/AppSettings.h"
#include "settings/SettingsStore.h"

namespace tolvani::viewer {

class DrawingDocument : public display::ViewDocument {
public:
    // Reads the settings from the store; they are written back to it when
    // the document is destroyed.
    DrawingDocument(settings::SettingsStore& store, bool runningEmbedded);
    ~DrawingDocument() override;
    DrawingDocument(const DrawingDocument&) = delete;
    DrawingDocument& operator=(const DrawingDocument&) = delete;

    // --- the view's side
    std::shared_ptr<const CJwwDoc> Drawing() const override { return drawing_; }
    display::CJwwScreen& Screen() override { return screen_; }
    display::ViewValues& Values() override { return values_; }
    int ZoomUp() const override { return settings_.zoomUp; }
    bool RunningEmbedded() const override { return runningEmbedded_; }
    void FitPaper() override;
    void UpdateAllViews() override;
    void DrawFinished(const CJwwDoc& drawn, const display::DrawReport& report) override;
    void AddView(display::ViewObserver* view) override;
    void RemoveView(display::ViewObserver* view) override;

    // --- changing the drawing
    // Stops every view's draw, hands the drawing to `change`, marks the
    // document modified when asked, and redraws all views.
    void ChangeDrawing(const std::function<void(CJwwDoc&)>& change, bool markModified = true);
    // Asks every view to stop drawing (and waits until they have).
    void StopDrawing();
    // The drawing for reading on the user-interface thread.
    const CJwwDoc& drawing() const { return *drawing_; }

    // Shows the drawing at 1 : s of screen millimetres and redraws.
    void SetViewScale(double s);

    // --- file rules
    // The file last opened: the initial name of the file dialogs.
    const std::string& lastPath() const { return lastPath_; }
    // The file a plain save (Ctrl+S) writes and the title names; empty when
    // the drawing is tied to no file.
    const std::string& filePath() const { return filePath_; }
    // The document's title: the tied file's full path, or "無題".
    std::string Title() const;
    bool modified() const { return modified_; }
    void SetModified(bool modified);

    // An empty drawing (the header stays as it was), tied to no file.
    void NewDocument();

    struct OpenResult {
        bool loaded = false;  // the file was read whole
        std::string message;  // for the user when not
        std::string detail;
    };
    // Takes the outcome of reading `path` (on a worker) into the document:
    // lastPath becomes the path, the drawing is replaced by what was read,
    // the paper is fitted and all views redrawn. Only a file read whole
    // ties the document to it; after a failed read the drawing keeps what
    // was read but a plain save asks for a name, so the damaged file is
    // never overwritten by its partial reading.
    OpenResult FinishOpen(const std::string& path, LoadOutcome&& load);

    // Takes the drawing an external editor gave back: it replaces the
    // drawing, the view window stays where it was, the object extent
    // becomes the view's extent, and the document is modified. The file the
    // document is tied to and lastPath stay.
    void TakeEditedDrawing(std::unique_ptr<CJwwDoc> edited);
    // The size of the object as a container sees it (HIMETRIC); 0 × 0 until
    // something sets it.
    display::DeviceSize objectExtent() const { return objectExtent_; }
    void SetObjectExtent(display::DeviceSize extent) { objectExtent_ = extent; }

    // Takes the drawing of an object opened in its own window: it replaces
    // the drawing without fitting the paper (the object brings its view
    // window), the object extent is `extent`, and the document is
    // unmodified, tied to no file (a plain save asks for a name) and titled
    // `title`.
    void TakeObjectDrawing(std::unique_ptr<CJwwDoc> drawing, display::DeviceSize extent, const std::string& title);

    // Takes a drawing restored from a recovery file: untitled (a plain
    // save asks for a name), modified, and remembering `sourcePath`, the
    // file it came from, as the dialogs' initial name. False (the document
    // as it was) when the recovery file could not be read whole.
    bool FinishRecovery(const std::string& sourcePath, LoadOutcome&& load);

    // LocalWrite: saves the drawing as a plain JWW file; on success the
    // document is unmodified. Neither lastPath nor the tied file changes.
    SaveOutcome SaveTo(const std::string& path);
    // The plain save: to the tied file; false (nothing done) when there is
    // none.
    bool HasFileToSave() const { return !filePath_.empty(); }

    // Replaces how drawings are written (tests inject failures here).
    using SaveFunction = std::function<SaveOutcome(const std::string&, CJwwDoc&)>;
    void SetSaveFunction(SaveFunction save) { save_ = std::move(save); }

    settings::AppSettings& settings() { return settings_; }
    const settings::AppSettings& settings() const { return settings_; }
    settings::SettingsStore& store() { return store_; }

    // Called on the user-interface thread when the title or the modified
    // flag changed, and once per loaded drawing with the message about
    // block definitions that could not be found.
    std::function<void()> onStateChanged;
    std::function<void(const std::string&)> onMissingDefinitions;
    // A draw of the drawing ended its insertions early at the placement
    // budget: a notice for the status bar, once per drawing.
    std::function<void(const std::string&)> onPlacementBudgetSpent;

    static const char* const kUntitled;

private:
    void Notify();
    enum class View { Fit, Keep };
    // Every way a drawing comes in: the running draws stop, the drawing
    // replaces the one there (null: that one is emptied, its header kept),
    // its layers are counted, its notices are due again, the document is
    // tied to `tie` (nullopt: the tie stays; empty: no file) with the
    // modified flag given, and the views fit the paper or redraw.
    void TakeDrawing(std::unique_ptr<CJwwDoc> drawing, const std::optional<std::string>& tie, bool modified, View view);

    settings::SettingsStore& store_;
    bool runningEmbedded_;
    settings::AppSettings settings_;
    std::shared_ptr<CJwwDoc> drawing_;
    display::CJwwScreen screen_;
    display::ViewValues values_;
    std::string lastPath_;
    std::string filePath_;
    std::string objectTitle_;
    display::DeviceSize objectExtent_{};
    bool modified_ = false;
    bool missingReported_ = false;
    bool budgetReported_ = false;
    std::vector<display::ViewObserver*> views_;
    SaveFunction save_;
};

// "ブロックが見つかりません！" with the numbers of the missing definitions.
std::string MissingDefinitionsMessage(const std::vector<int32_t>& numbers);

}  // namespace tolvani::viewer
