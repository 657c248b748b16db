#include "model/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>

#include "model/DescriptorPath.h"
#include "model/JwwErrors.h"
#include "model/TemporaryName.h"

namespace tolvani {
namespace {

// The named temporary files of saves in progress, in fixed slots that a
// signal handler can walk without taking a lock or allocating: the folder's
// descriptor and the name in it.
struct PendingName {
    std::atomic<int> state{0};  // 0 free, 1 being filled, 2 holds a name
    int folder = -1;
    char name[NAME_MAX + 1];
};
PendingName g_pending[16];

std::atomic<int> g_mode{static_cast<int>(TemporaryFileMode::Unnamed)};
std::atomic<int> g_failStep{-1};
std::atomic<int> g_failError{0};

class PendingRegistration {
public:
    PendingRegistration() = default;
    PendingRegistration(const PendingRegistration&) = delete;
    PendingRegistration& operator=(const PendingRegistration&) = delete;
    ~PendingRegistration() { Clear(); }

    // Remembers `name` in `folder` until Clear; with every slot taken it is
    // simply not remembered.
    void Set(int folder, const std::string& name) {
        Clear();
        if (name.size() > NAME_MAX) return;
        for (int i = 0; i < static_cast<int>(sizeof g_pending / sizeof g_pending[0]); ++i) {
            int expected = 0;
            if (!g_pending[i].state.compare_exchange_strong(expected, 1)) continue;
            g_pending[i].folder = folder;
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

// A failure a test asked for at this step, as the system would give it.
void InjectedFailure(SaveStep step, const std::string& what) {
    if (g_failStep.load() != static_cast<int>(step)) return;
    if (const int err = g_failError.load()) Fail(what, err);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An open descriptor, closed with its owner.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

struct Target {
    enum class Kind { File, Stream, Descriptor } kind = Kind::File;
    std::string path;  // after following links
    int fd = -1;       // Descriptor
    bool exists = false;
    struct stat st {};
};

// In a folder that everyone may write and only owners may delete from, a
// link that someone else put there is followed only when it is the saving
// user's own or the folder owner's (as the system does for its own link
// resolution), so that no one can point another user's save at that user's
// files.
void CheckLinkMayBeFollowed(const std::string& path, const struct stat& link) {
    const std::string folder = FolderOf(path);
    struct stat dir;
    if (::stat(folder.c_str(), &dir) != 0) Fail("cannot look at " + folder, errno);
    if (!(dir.st_mode & S_ISVTX) || !(dir.st_mode & S_IWOTH)) return;
    const uid_t self = ::geteuid();
    if (link.st_uid == self || link.st_uid == dir.st_uid) return;
    throw JwwFileError("will not follow " + path + ": another user's link in a shared folder", EACCES,
                       path +
                           " は、誰でも書き込めるフォルダーに他のユーザーが置いたシンボリックリンクです。"
                           "安全のため、このリンクはたどりません。");
}

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
            CheckLinkMayBeFollowed(path, t.st);
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

// The place a regular file is saved: its folder, open, and the names in it.
struct SavePlace {
    const Target& target;
    int folder;              // descriptor of the target's folder
    std::string folderPath;  // for messages
    std::string name;        // the target's own name in the folder
    std::string temporary;   // the named temporary file, once there is one
    PendingRegistration pending;
};

// A new file of a temporary name in the folder, created exclusively with the
// usual mode of a new file.
int CreateNamed(SavePlace& place) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        place.temporary = NewTemporaryName();
        place.pending.Set(place.folder, place.temporary);
        const int fd =
            ::openat(place.folder, place.temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) return fd;
        const int err = errno;
        place.pending.Clear();
        place.temporary.clear();
        if (err != EEXIST) Fail("cannot create a file in " + place.folderPath, err);
    }
    Fail("cannot create a file in " + place.folderPath, EEXIST);
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

// Gives the complete unnamed file a temporary name in its folder. Without
// /proc (as in some sandboxes), or when asked to, the content is copied into
// a named file instead, whose descriptor is returned (else -1).
int NameUnnamed(int fd, SavePlace& place, bool copy) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; !copy && attempt < 100; ++attempt) {
        place.temporary = NewTemporaryName();
        place.pending.Set(place.folder, place.temporary);
        if (::linkat(AT_FDCWD, self.c_str(), place.folder, place.temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) return -1;
        const int err = errno;
        place.pending.Clear();
        place.temporary.clear();
        if (err == EEXIST) continue;
        if (err != ENOENT) Fail("cannot create a file in " + place.folderPath, err);
        break;
    }
    const int named = CreateNamed(place);
    try {
        CopyContent(fd, named, place.target.path);
        KeepModeAndOwner(named, place.target);
        if (::fsync(named) != 0) Fail("cannot write " + place.target.path, errno);
    } catch (...) {
        ::close(named);
        throw;
    }
    return named;
}

void WriteRegular(const Target& t, const std::function<void(std::FILE*)>& write) {
    const std::string folderPath = FolderOf(t.path);
    const Descriptor folder(::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) Fail("cannot create a file in " + folderPath, errno);
    SavePlace place{t, folder.get(), folderPath, NameOf(t.path), std::string(), PendingRegistration()};
    RemoveStaleTemporaryFiles(place.folder);

    const auto mode = static_cast<TemporaryFileMode>(g_mode.load());
    InjectedFailure(SaveStep::Create, "cannot create a file in " + folderPath);
    int fd = -1;
    if (mode != TemporaryFileMode::Named) {
        fd = ::openat(place.folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0644);
        // File systems without unnamed files say so in one of these ways.
        if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            Fail("cannot create a file in " + folderPath, errno);
    }
    const bool unnamed = fd >= 0;
    if (!unnamed) fd = CreateNamed(place);
    FilePtr f(::fdopen(fd, "w+b"));
    if (!f) {
        const int err = errno;
        ::close(fd);
        if (!place.temporary.empty()) ::unlinkat(place.folder, place.temporary.c_str(), 0);
        Fail("cannot write " + t.path, err);
    }
    try {
        write(f.get());
        if (std::fflush(f.get()) != 0 || std::ferror(f.get())) Fail("cannot write " + t.path, errno ? errno : EIO);
        InjectedFailure(SaveStep::Write, "cannot write " + t.path);
        if (::fsync(fileno(f.get())) != 0) Fail("cannot write " + t.path, errno);
        KeepModeAndOwner(fileno(f.get()), t);
        if (unnamed) {
            const int copy = NameUnnamed(fileno(f.get()), place, mode == TemporaryFileMode::UnnamedCopied);
            if (copy >= 0 && ::close(copy) != 0) Fail("cannot write " + t.path, errno);
        }
        if (std::fclose(f.release()) != 0) Fail("cannot write " + t.path, errno);
        InjectedFailure(SaveStep::Replace, "cannot replace " + t.path);
        if (::renameat(place.folder, place.temporary.c_str(), place.folder, place.name.c_str()) != 0)
            Fail("cannot replace " + t.path, errno);
    } catch (...) {
        f.reset();
        if (!place.temporary.empty()) ::unlinkat(place.folder, place.temporary.c_str(), 0);
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
        if (p.state.load() == 2) ::unlinkat(p.folder, p.name, 0);
}

void SetTemporaryFileMode(TemporaryFileMode mode) { g_mode.store(static_cast<int>(mode)); }

TemporaryFileMode CurrentTemporaryFileMode() { return static_cast<TemporaryFileMode>(g_mode.load()); }

void InjectSaveFailure(SaveStep step, int error) {
    g_failError.store(error);
    g_failStep.store(error != 0 ? static_cast<int>(step) : -1);
}

}  // namespace tolvani
