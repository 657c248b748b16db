// Crash recovery of the main window: while the drawing is modified it is
// written every two minutes to this process's recovery file (serialised in
// memory on the user-interface thread, written on a worker); the file goes
// when the drawing is saved, replaced or closed. At the start a recovery
// file left by a crashed run is offered: 復元 opens it as a modified,
// untitled drawing that remembers its file, 破棄 removes it, 後で keeps it
// for the next start.
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <thread>

#include "viewer/ui/RecoveryFiles.h"

namespace tolvani::viewer {

class CMainFrame;
class UiPrompts;

class CrashRecovery : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 2 * 60 * 1000;

    // Owned by the frame. `files` null: the user's own recovery folder.
    CrashRecovery(CMainFrame& frame, UiPrompts& prompts, std::unique_ptr<RecoveryFiles> files = nullptr,
                  int intervalMs = kIntervalMs);
    // Waits for a write still running; this process's file is removed.
    ~CrashRecovery() override;

    // Asks about the newest recovery file left by an ended run. True when
    // the user chose to restore it (the drawing is then being read).
    bool OfferLeftOver();
    // Writes the modified drawing now, as the timer does; false when
    // nothing was started (unmodified, being read, or a write running).
    bool WriteNow();
    bool writing() const { return writer_.joinable(); }

    RecoveryFiles& files() { return *files_; }

    static const char* const kRestoreFailed;

signals:
    // A write on the worker is done.
    void written(bool ok);
    // A restore asked for by OfferLeftOver is done.
    void restoreFinished(bool restored);

private:
    void WriteFinished(bool ok);
    void StateChanged();

    CMainFrame& frame_;
    UiPrompts& prompts_;
    std::unique_ptr<RecoveryFiles> files_;
    QTimer timer_;
    std::thread writer_;
    bool removeAfterWrite_ = false;
    // The left-over file being restored, removed once our own copy is out.
    RecoveryFiles::LeftOver restoring_;
    bool discardAfterWrite_ = false;
};

}  // namespace tolvani::viewer
