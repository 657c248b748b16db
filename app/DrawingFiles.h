// Reading a drawing from a local file and writing one, with the outcome as
// a value the document shows to the user.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "model/CJwwDoc.h"

namespace tolvani {

struct DrawingLoad {
    enum class Status { Loaded, TooOld, StreamError, FileError };
    Status status = Status::FileError;
    std::string message;  // for the user; empty when loaded
    std::string detail;   // the system's or the stream's reason
    // A fresh drawing with the new-drawing defaults and what the file gave;
    // after a stream error it holds what was read before it.
    std::unique_ptr<CJwwDoc> doc;
};

DrawingLoad LoadDrawing(const std::string& path);

struct DrawingSave {
    bool saved = false;
    std::string message;  // for the user; empty when saved
    std::string detail;
};

// Writes the drawing's bytes into an open file.
using DrawingWriter = std::function<void(std::FILE*, CJwwDoc&)>;
// The plain JWW file writer.
void WriteJwwBody(std::FILE* file, CJwwDoc& doc);

// Saves as a plain JWW file through a temporary file, so a failed save
// leaves the old file whole. `writer` replaces the JWW writer (tests make
// it fail midway).
DrawingSave SaveDrawing(const std::string& path, CJwwDoc& doc, const DrawingWriter& writer = WriteJwwBody);

extern const char* const kLocalReadError;
extern const char* const kLocalWriteError;

}  // namespace tolvani
