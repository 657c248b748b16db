// The recovery files of crashed runs. While a drawing is modified it is
// written now and then to a recovery file of this process in the user's
// data folder; the file is held under a lock for as long as the process
// runs, so that a running program's file is never offered to another, and
// removed on a normal save or close. A file whose lock is free at the next
// start was left by a run that ended without cleaning up: a crash, a kill.
#pragma once

#include <QLockFile>
#include <QString>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tolvani::viewer {

class RecoveryFiles {
public:
    // `folder` empty: "recovery" in the user's data folder
    // (QStandardPaths::AppDataLocation).
    explicit RecoveryFiles(const QString& folder = QString());
    // Removes this process's files (a normal end).
    ~RecoveryFiles();
    RecoveryFiles(const RecoveryFiles&) = delete;
    RecoveryFiles& operator=(const RecoveryFiles&) = delete;

    const QString& folder() const { return folder_; }

    // Writes the drawing's bytes as this process's recovery file, atomically,
    // with the path of the file it came from (may be empty). Safe to call on
    // a worker; one write at a time. False when it could not be written
    // (the old recovery file then stays as it was); `error` says why.
    bool Write(const std::vector<uint8_t>& drawing, const std::string& sourcePath, std::string* error = nullptr);
    // Removes this process's recovery file (a save, a close, a new drawing).
    void Remove();
    // This process's recovery file, empty before the first write.
    QString drawingPath() const;

    struct LeftOver {
        QString drawingPath;  // the recovery file
        QString sourcePath;   // the file the drawing came from, or empty
        qint64 modified = 0;  // its last write, ms since the epoch
    };
    // Recovery files of runs that have ended, newest first. A running
    // program's file (its lock is held) is never among them.
    std::vector<LeftOver> FindLeftOvers() const;
    // Removes a left-over file and its companions.
    static void Discard(const LeftOver& leftOver);

private:
    bool EnsureOwnFiles(std::string* error);

    QString folder_;
    mutable std::mutex mutex_;
    QString base_;  // folder + "/recovery-<pid>-<random>"
    std::unique_ptr<QLockFile> lock_;
    bool written_ = false;
};

}  // namespace tolvani::viewer
