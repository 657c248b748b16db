// Loading a drawing from a file and saving it to one. A save writes a
// temporary file beside the target and renames it over the target only when
// complete, so a failed save leaves the old file whole.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "model/CJwwDoc.h"

namespace tolvani {

// Clears the drawing, then loads it from the file. Raises JwwFileError when
// the file cannot be opened, and the stream errors of the load.
CJwwDoc::LoadResult LoadJwwFile(const std::string& path, CJwwDoc& doc);

// Saves the drawing as a plain JWW file. Raises JwwFileError when the file
// cannot be written, and the stream errors of the save.
void SaveJwwFile(const std::string& path, CJwwDoc& doc);

// Writes a file through `write`, which receives the open temporary file.
// Whatever `write` raises is passed on after the temporary file is removed.
void WriteFileAtomically(const std::string& path, const std::function<void(std::FILE*)>& write);

}  // namespace tolvani
