// Opening a file to read without ever waiting on it. Only a regular file is
// read: a folder, a FIFO, a device or a socket is refused with the reason
// before anything is read from it (opening a FIFO that no one writes would
// wait for ever, a device may never end). A name of the process's own
// descriptor (/dev/stdin, /dev/fd/N, see DescriptorPath.h) is read whatever
// it is open on: a command given it reads that descriptor on purpose.
#pragma once

#include <sys/types.h>
#include <string>

namespace tolvani {

// Opens `path` for reading; returns a descriptor (close-on-exec, blocking
// reads) that the caller closes. Raises JwwNotRegularFileError for what is
// not a regular file, JwwFileError with the system's error number when the
// file cannot be opened.
int OpenInputFile(const std::string& path);

// Why a file of this mode (st_mode) is not read, for the user; "" for a
// regular file.
std::string NotRegularFileReason(mode_t mode);

}  // namespace tolvani
