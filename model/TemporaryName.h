// The names of the named temporary files of saves:
// ".tolvani-PID-XXXXXXXX-HOST", the saving process's number, eight random
// letters or digits, and the host's name. A folder that more than one
// machine writes (a network share) thus never has one machine take another
// machine's temporary file for that of a process that has ended.
#pragma once

#include <sys/types.h>
#include <string>

namespace tolvani {

// A new temporary name of this process.
std::string NewTemporaryName();

// True, with the process number in `pid`, when `name` is exactly a
// temporary name made on this host.
bool ParseTemporaryName(const std::string& name, pid_t& pid);

// Removes from the folder (an open descriptor of it) the temporary files of
// this host's processes that have ended: regular files of the saving user,
// whose name is a temporary name (ParseTemporaryName) of a process number
// that no process has any more. What cannot be looked at stays.
void RemoveStaleTemporaryFiles(int folder);

}  // namespace tolvani
