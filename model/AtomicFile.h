// Writing a file so that a failed or interrupted write never harms what
// stood there before.
//
// A regular file (or a new name) is written to an unnamed temporary file in
// the target's folder, given a short name once complete and renamed over the
// target; the old file's mode, owner and group are kept where the system
// allows. A symbolic link is followed and its final target replaced the same
// way, so the link stays a link. A device, a FIFO and the process's own
// descriptors (/dev/stdout, /dev/fd/N, /proc/self/fd/N) are written through
// their descriptor, as a stream. Anything else (a folder, a socket) is
// refused.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace tolvani {

// Writes a file through `write`, which receives the open output. Raises
// JwwFileError, with the system's error number, when the file cannot be
// created, written or put in place; whatever `write` raises is passed on
// after the temporary file is removed.
void WriteFileAtomically(const std::string& path, const std::function<void(std::FILE*)>& write);

// WriteFileAtomically for bytes already in memory; a short write raises
// JwwFileError with the system's error number.
void WriteBytesAtomically(const std::string& path, const void* data, std::size_t size);

// Removes the named temporary files that saves have in their folders at this
// moment. Only async-signal-safe calls: a program's signal handler may call
// it before it ends. (An unnamed temporary file needs no removal: the system
// drops it with the process.)
void RemovePendingTemporaryFiles();

}  // namespace tolvani
