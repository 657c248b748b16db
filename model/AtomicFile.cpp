#include "model/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <random>

#include "model/JwwErrors.h"

namespace tolvani {
namespace {

// The named temporary files of saves in progress, in fixed slots that a
// signal handler can walk without taking a lock or allocating.
struct PendingName {
    std::atomic<int> state{0};  // 0 free, 1 being filled, 2 holds a name
    char name[PATH_MAX];
};
PendingName g_pending[16];

class PendingRegistration {
public:
    PendingRegistration() = default;
    PendingRegistration(const PendingRegistration&) = delete;
    PendingRegistration& operator=(const PendingRegistration&) = delete;
    ~PendingRegistration() { Clear(); }

    // Remembers `name` until Clear; with every slot taken or a name too
    // long it is simply not remembered.
    void Set(const std::string& name) {
        Clear();
        if (name.size() >= PATH_MAX) return;
        for (int i = 0; i < static_cast<int>(sizeof g_pending / sizeof g_pending[0]); ++i) {
            int expected = 0;
            if (!g_pending[i].state.compare_exchange_strong(expected, 1)) continue;
            std::memcpy(g_pending[i].name, name.c_str(), name.size() + 1);
            g_pending[i].state.store(2);
            slot_ = i;
            return;
        }
    }
    void Clear() {
        if (slot_ < 0) return;
        g_pending[slot_].state.store(0);
        slot_ = -1;
    }

private:
    int slot_ = -1;
};

[[noreturn]] void Fail(const std::string& what, int err) { throw JwwFileError(what + ": " + std::strerror(err), err); }

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string RandomSuffix() {
    static thread_local std::mt19937_64 random{std::random_device{}() ^ (static_cast<uint64_t>(getpid()) << 32)};
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string s;
    for (int i = 0; i < 8; ++i) s.push_back(kLetters[random() % (sizeof kLetters - 1)]);
    return s;
}

// A short temporary name beside the target, whatever the length of the
// target's own name.
std::string TemporaryName(const std::string& folder) {
    return (folder == "/" ? std::string() : folder) + "/.tolvani-" + RandomSuffix();
}

// The descriptor a path names when it is one of this process's own.
bool DescriptorOfPath(const std::string& path, int& fd) {
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

struct Target {
    enum class Kind { File, Stream, Descriptor } kind = Kind::File;
    std::string path;  // after following links
    int fd = -1;       // Descriptor
    bool exists = false;
    struct stat st {};
};

Target ResolveTarget(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        Target t;
        t.path = path;
        if (DescriptorOfPath(path, t.fd)) {
            t.kind = Target::Kind::Descriptor;
            return t;
        }
        if (::lstat(path.c_str(), &t.st) != 0) {
            if (errno == ENOENT) return t;  // a new file
            Fail("cannot look at " + path, errno);
        }
        if (S_ISLNK(t.st.st_mode)) {
            std::string link(PATH_MAX, '\0');
            const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
            if (n < 0) Fail("cannot follow " + path, errno);
            if (static_cast<std::size_t>(n) >= link.size()) Fail("cannot follow " + path, ENAMETOOLONG);
            link.resize(static_cast<std::size_t>(n));
            path = !link.empty() && link[0] == '/' ? link : FolderOf(path) + "/" + link;
            continue;
        }
        if (S_ISREG(t.st.st_mode)) {
            t.exists = true;
            return t;
        }
        if (S_ISCHR(t.st.st_mode) || S_ISBLK(t.st.st_mode) || S_ISFIFO(t.st.st_mode)) {
            t.kind = Target::Kind::Stream;
            return t;
        }
        Fail("cannot replace " + path, S_ISDIR(t.st.st_mode) ? EISDIR : EOPNOTSUPP);
    }
    Fail("cannot follow " + path, ELOOP);
}

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenStream(int fd, const std::string& path) {
    FilePtr f(::fdopen(fd, "wb"));
    if (!f) {
        const int err = errno;
        ::close(fd);
        Fail("cannot write " + path, err);
    }
    return f;
}

void FinishStream(FilePtr& f, const std::string& path) {
    if (std::fflush(f.get()) != 0 || std::ferror(f.get())) Fail("cannot write " + path, errno ? errno : EIO);
    if (std::fclose(f.release()) != 0) Fail("cannot write " + path, errno);
}

// A device, a FIFO or a descriptor: written as a stream, in place.
void WriteStream(const Target& t, const std::function<void(std::FILE*)>& write) {
    const int fd = t.kind == Target::Kind::Descriptor ? ::fcntl(t.fd, F_DUPFD_CLOEXEC, 3)
                                                      : ::open(t.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) Fail("cannot open " + t.path, errno);
    FilePtr f = OpenStream(fd, t.path);
    write(f.get());
    FinishStream(f, t.path);
}

// A new file of a short name in `folder`, created exclusively with the
// usual mode of a new file.
int CreateNamed(const std::string& folder, std::string& name, PendingRegistration& pending) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(folder);
        pending.Set(name);
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) return fd;
        pending.Clear();
        if (errno != EEXIST) Fail("cannot create a file in " + folder, errno);
    }
    Fail("cannot create a file in " + folder, EEXIST);
}

void KeepModeAndOwner(int fd, const Target& t) {
    if (!t.exists) return;
    // Where the owner cannot be kept, the group alone may still be.
    if (::fchown(fd, t.st.st_uid, t.st.st_gid) != 0) (void)!::fchown(fd, static_cast<uid_t>(-1), t.st.st_gid);
    // After the owner, as a change of owner clears the set-id bits.
    ::fchmod(fd, t.st.st_mode & 07777);
}

// Copies the whole content of `from` (read from its start) to `to`.
void CopyContent(int from, int to, const std::string& path) {
    char buf[1 << 16];
    off_t at = 0;
    for (;;) {
        const ssize_t n = ::pread(from, buf, sizeof buf, at);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("cannot write " + path, errno);
        }
        if (n == 0) return;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, buf + done, static_cast<std::size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                Fail("cannot write " + path, errno);
            }
            done += w;
        }
        at += n;
    }
}

// Gives the complete unnamed file a short name in its folder. Without /proc
// (as in some sandboxes) the content is copied into a named file instead.
int NameUnnamed(int fd, const std::string& folder, const Target& t, std::string& name, PendingRegistration& pending) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(folder);
        pending.Set(name);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return -1;
        const int err = errno;
        pending.Clear();
        if (err == EEXIST) continue;
        if (err != ENOENT) Fail("cannot create a file in " + folder, err);
        break;
    }
    const int named = CreateNamed(folder, name, pending);
    try {
        CopyContent(fd, named, t.path);
        KeepModeAndOwner(named, t);
        if (::fsync(named) != 0) Fail("cannot write " + t.path, errno);
    } catch (...) {
        ::close(named);
        ::unlink(name.c_str());
        pending.Clear();
        throw;
    }
    return named;
}

void WriteRegular(const Target& t, const std::function<void(std::FILE*)>& write) {
    const std::string folder = FolderOf(t.path);
    std::string name;  // the named temporary file, once there is one
    PendingRegistration pending;
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0644);
    const bool unnamed = fd >= 0;
    if (!unnamed) {
        // File systems without unnamed files say so in one of these ways.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) Fail("cannot create a file in " + folder, errno);
        fd = CreateNamed(folder, name, pending);
    }
    FilePtr f(::fdopen(fd, "w+b"));
    if (!f) {
        const int err = errno;
        ::close(fd);
        if (!name.empty()) ::unlink(name.c_str());
        Fail("cannot write " + t.path, err);
    }
    try {
        write(f.get());
        if (std::fflush(f.get()) != 0 || std::ferror(f.get())) Fail("cannot write " + t.path, errno ? errno : EIO);
        if (::fsync(fileno(f.get())) != 0) Fail("cannot write " + t.path, errno);
        KeepModeAndOwner(fileno(f.get()), t);
        if (unnamed) {
            const int copy = NameUnnamed(fileno(f.get()), folder, t, name, pending);
            if (copy >= 0 && ::close(copy) != 0) Fail("cannot write " + t.path, errno);
        }
        if (std::fclose(f.release()) != 0) Fail("cannot write " + t.path, errno);
        if (std::rename(name.c_str(), t.path.c_str()) != 0) Fail("cannot replace " + t.path, errno);
    } catch (...) {
        f.reset();
        if (!name.empty()) ::unlink(name.c_str());
        throw;
    }
}

}  // namespace

void WriteFileAtomically(const std::string& path, const std::function<void(std::FILE*)>& write) {
    const Target t = ResolveTarget(path);
    if (t.kind == Target::Kind::File)
        WriteRegular(t, write);
    else
        WriteStream(t, write);
}

void WriteBytesAtomically(const std::string& path, const void* data, std::size_t size) {
    WriteFileAtomically(path, [&](std::FILE* f) {
        if (size != 0 && std::fwrite(data, 1, size, f) != size) Fail("cannot write " + path, errno ? errno : EIO);
    });
}

void RemovePendingTemporaryFiles() {
    for (auto& p : g_pending)
        if (p.state.load() == 2) ::unlink(p.name);
}

}  // namespace tolvani
