// Loading a drawing from a file and saving it to one. A save writes a
// temporary file beside the target and renames it over the target only when
// complete, so a failed save leaves the old file whole (see AtomicFile.h).
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "model/AtomicFile.h"
#include "model/CJwwDoc.h"

namespace tolvani {

// The messages of a file that cannot be read or written.
inline constexpr const char* kLocalReadErrorMessage = "ローカル読込でエラー！";
inline constexpr const char* kLocalWriteErrorMessage = "ローカル保存でエラー！";

// What loading a drawing file gave.
struct LoadOutcome {
    enum class Status {
        Loaded,       // the whole drawing was read
        TooOld,       // a file older than version 420: refused, no list read
        StreamError,  // the file broke off or holds something unreadable
        FileError,    // the file could not be opened or is no file
    };
    Status status = Status::FileError;
    // The user's message (UTF-8) for anything but Loaded: kLocalReadErrorMessage,
    // CJwwDoc::kTooOldMessage, or the stream error's message with the path.
    std::string message;
    // What goes under the message: for FileError the file's path and, on a
    // second line, the reason; for TooOld the path; else empty (the
    // message names the file).
    std::string detail;
    // For FileError the reason alone: the system's (strerror), or why a file
    // that is not a regular file is not read; else empty.
    std::string reason;
    // Always set: a fresh drawing with the new-drawing defaults and what the
    // file gave; on StreamError what was read completely, on FileError and
    // TooOld no element.
    std::unique_ptr<CJwwDoc> doc;

    bool ok() const { return status == Status::Loaded; }
};

// Loads the file at `path` into a new drawing whose header first gets the
// new-drawing defaults. Reads only a regular file (see InputFile.h) and
// never waits on one; bytes that do not start as a drawing are refused as
// not a drawing (a stream error). Never raises for a file or stream problem
// (running out of memory is reported as the stream error it is); safe to
// call on any thread.
LoadOutcome LoadDrawingFile(const std::string& path);

// What saving a drawing file gave.
struct SaveOutcome {
    enum class Status {
        Saved,
        StreamError,  // the drawing could not be encoded (out of memory)
        FileError,    // the file could not be created, written or put in place
    };
    Status status = Status::Saved;
    // The user's message (UTF-8) for anything but Saved: kLocalWriteErrorMessage
    // or the stream error's message with the path.
    std::string message;
    // The system's reason where there is one (strerror), or why the save
    // refused on its own (a link in a shared folder, bytes after the drawing
    // whose file changed since it was read), else empty.
    std::string detail;

    bool ok() const { return status == Status::Saved; }
};

// Saves the drawing as a plain JWW file, atomically. Never raises for a file
// or stream problem. A failed save leaves whatever stood at `path` as it was.
SaveOutcome SaveDrawingFile(const std::string& path, CJwwDoc& doc);

// The raising forms under the two above. LoadJwwFile clears the drawing and
// loads into it, keeping the header's earlier values where the file carries
// none; it raises JwwFileError when the file cannot be opened or read
// (JwwNotRegularFileError for what is not a regular file), and the stream
// errors of the load. SaveJwwFile raises JwwFileError when the file
// cannot be written, and the stream errors of the save.
CJwwDoc::LoadResult LoadJwwFile(const std::string& path, CJwwDoc& doc);
void SaveJwwFile(const std::string& path, CJwwDoc& doc);

}  // namespace tolvani
