// The document of the desktop program: the document's rules together with
// what needs the event loop, reading files on a worker and telling the
// window what came of it.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "settings/RecentFileList.h"
#include "viewer/DrawingDocument.h"

namespace tolvani::viewer {

class CTolvaniDoc : public QObject {
    Q_OBJECT
public:
    CTolvaniDoc(settings::SettingsStore& store, bool runningEmbedded, QObject* parent = nullptr);
    // Waits for a read still running, clears the drawing and writes the
    // settings and the recent-file list back to the store.
    ~CTolvaniDoc() override;

    DrawingDocument& core() { return core_; }
    const DrawingDocument& core() const { return core_; }
    settings::RecentFileList& recentFiles() { return recent_; }

    // Reads the file on a worker into a fresh drawing; the window stays
    // live meanwhile. openFinished tells the outcome once the drawing is in
    // the document. A later open supersedes one still being read.
    void OpenFile(const QString& path);
    bool loading() const { return loadsRunning_ > 0; }
    // Reads a recovery file on a worker and takes it as a modified,
    // untitled drawing that remembers `sourcePath`; recoveryFinished tells
    // the outcome.
    void OpenRecovered(const QString& recoveryPath, const QString& sourcePath);

    // The document was emptied or another drawing came in (the table
    // placement, the dialogs and the undo state listen to it).
    void NewDocument();
    // The drawing an external editor gave back (see
    // DrawingDocument::TakeEditedDrawing).
    void TakeEditedDrawing(std::unique_ptr<CJwwDoc> edited);

signals:
    void openStarted(const QString& path);
    void openFinished(const QString& path, bool loaded, const QString& message, const QString& detail);
    void drawingReplaced();
    // The title or the modified flag changed.
    void stateChanged();
    void missingDefinitions(const QString& message);
    void placementBudgetSpent(const QString& message);
    void recentFilesChanged();
    void recoveryFinished(bool restored, const QString& message, const QString& detail);

private:
    // Reads `path` on a worker; `done` gets the outcome on this thread
    // unless a later read has been asked for meanwhile.
    void ReadOnWorker(const QString& path, std::function<void(LoadOutcome&&)> done);

    DrawingDocument core_;
    settings::RecentFileList recent_;
    uint64_t openGeneration_ = 0;
    int loadsRunning_ = 0;
    std::vector<QThread*> loaders_;
};

}  // namespace tolvani::viewer
