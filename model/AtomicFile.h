// Writing a file so that a failed or interrupted write never harms what
// stood there before.
//
// A regular file (or a new name) is written to an unnamed temporary file in
// the target's folder, given a name of its own once complete and renamed
// over the target; the old file's mode, owner and group are kept where the
// system allows. Everything in the folder is reached through a descriptor of
// the folder, so only the target's own name has to fit the system's limits,
// not the folder's path and the temporary name together. A symbolic link is
// followed and its final target replaced the same way, so the link stays a
// link; in a folder that everyone may write and only owners may delete from
// (as /tmp), a link is followed only when it is the saving user's own or the
// folder owner's. A device, a FIFO and the process's own descriptors
// (/dev/stdout, /dev/fd/N, /proc/self/fd/N) are written through their
// descriptor, as a stream. Anything else (a folder, a socket) is refused.
//
// A named temporary file carries the saving process's number and the host's
// name; a save removes those of processes of this host that have ended
// without removing theirs (killed in the middle of a save).
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

// How a save makes its temporary file, for the whole process:
//   Unnamed        an unnamed file, named through /proc once complete; where
//                  the file system has no unnamed files, a named one, and
//                  without /proc the unnamed file is copied into a named one
//   UnnamedCopied  an unnamed file, always copied into a named one at the end
//                  (what happens without /proc)
//   Named          a named file from the start (what happens on file systems
//                  without unnamed files, as many USB sticks and network
//                  shares)
// Unnamed unless set; the others exist so that tests run every way.
enum class TemporaryFileMode { Unnamed, UnnamedCopied, Named };
void SetTemporaryFileMode(TemporaryFileMode mode);
TemporaryFileMode CurrentTemporaryFileMode();

// The steps of the save of a regular file at which a test can make it fail:
// making the temporary file, writing it, putting it in place of the target.
enum class SaveStep { Create, Write, Replace };
// Makes every later save of a regular file fail at `step` as if the system
// had answered `error`; error 0 ends it. For tests: a failure that file
// permissions cannot give to a process running as root.
void InjectSaveFailure(SaveStep step, int error);

}  // namespace tolvani
