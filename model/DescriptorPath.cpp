#include "model/DescriptorPath.h"

#include <unistd.h>

namespace tolvani {

bool DescriptorOfPath(const std::string& path, int& fd) {
    if (path == "/dev/stdin") return fd = 0, true;
    if (path == "/dev/stdout") return fd = 1, true;
    if (path == "/dev/stderr") return fd = 2, true;
    for (const std::string& prefix :
         {std::string("/dev/fd/"), std::string("/proc/self/fd/"), std::string("/proc/thread-self/fd/"),
          "/proc/" + std::to_string(getpid()) + "/fd/"}) {
        if (path.compare(0, prefix.size(), prefix) != 0 || path.size() == prefix.size()) continue;
        const std::string digits = path.substr(prefix.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        fd = std::stoi(digits);
        return true;
    }
    return false;
}

}  // namespace tolvani
