#include "model/TemporaryName.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace tolvani {
namespace {

constexpr const char kPrefix[] = ".tolvani-";
constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
constexpr const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLength = 8;

// The host's name as it goes into a file name: letters, digits, '.', '_'
// and '-' only, at most 64 of them.
const std::string& HostPart() {
    static const std::string host = [] {
        char buf[256] = {};
        std::string out = ::gethostname(buf, sizeof buf - 1) == 0 ? buf : "";
        for (char& c : out) {
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                               c == '_' || c == '-';
            if (!plain) c = '_';
        }
        if (out.size() > 64) out.resize(64);
        return out.empty() ? std::string("host") : out;
    }();
    return host;
}

bool IsRandomLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

}  // namespace

std::string NewTemporaryName() {
    static thread_local std::mt19937_64 random{std::random_device{}() ^ (static_cast<uint64_t>(getpid()) << 32)};
    std::string name = kPrefix + std::to_string(getpid()) + "-";
    for (std::size_t i = 0; i < kRandomLength; ++i) name.push_back(kLetters[random() % (sizeof kLetters - 1)]);
    return name + "-" + HostPart();
}

bool ParseTemporaryName(const std::string& name, pid_t& pid) {
    if (name.compare(0, kPrefixLength, kPrefix) != 0) return false;
    std::size_t at = kPrefixLength;
    long long number = 0;
    const std::size_t digitsFrom = at;
    while (at < name.size() && name[at] >= '0' && name[at] <= '9' && at - digitsFrom < 10)
        number = number * 10 + (name[at++] - '0');
    if (at == digitsFrom || name[digitsFrom] == '0' || at >= name.size() || name[at] != '-') return false;
    if (number <= 0 || number > INT32_MAX) return false;
    ++at;
    for (std::size_t i = 0; i < kRandomLength; ++i, ++at)
        if (at >= name.size() || !IsRandomLetter(name[at])) return false;
    if (at >= name.size() || name[at] != '-') return false;
    if (name.compare(at + 1, std::string::npos, HostPart()) != 0) return false;
    pid = static_cast<pid_t>(number);
    return true;
}

void RemoveStaleTemporaryFiles(int folder) {
    const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    const pid_t self = ::getpid();
    const uid_t user = ::geteuid();
    std::vector<std::string> stale;
    while (const dirent* e = ::readdir(dir)) {
        pid_t pid = 0;
        if (!ParseTemporaryName(e->d_name, pid) || pid == self) continue;
        // A process that is there, or that is not ours to ask about, keeps
        // its file.
        if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
        struct stat st;
        if (::fstatat(folder, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_uid != user) continue;
        stale.emplace_back(e->d_name);
    }
    ::closedir(dir);
    for (const std::string& name : stale) ::unlinkat(folder, name.c_str(), 0);
}

}  // namespace tolvani
