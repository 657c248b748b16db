// The names under which a process reaches its own open descriptors
// (/dev/stdin, /dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N and the
// like). A command given such a name reads or writes that descriptor on
// purpose, whatever it is open on: a pipe, a terminal, a file.
#pragma once

#include <string>

namespace tolvani {

// True, with the descriptor's number in `fd`, when `path` names one of this
// process's own descriptors.
bool DescriptorOfPath(const std::string& path, int& fd);

}  // namespace tolvani
