#include "model/DrawingTail.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "model/JwwErrors.h"

namespace tolvani {
namespace {

constexpr const char* kSourceChanged = "図面の後ろに続くデータを読み込んだ元のファイルが、その後で変更されています。";

// An unnamed file in the temporary folder, or a named one removed at once.
int OpenScratchFile() {
    const char* env = std::getenv("TMPDIR");
    const std::string dir = env && *env ? env : "/tmp";
    int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
    std::string name = dir + "/.tolvani-tail-XXXXXX";
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) throw JwwFileError("cannot create a file in " + dir, errno);
    ::unlink(name.c_str());
    return fd;
}

void WriteAll(int fd, const uint8_t* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            throw JwwFileError("cannot keep the bytes after the drawing", errno);
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
}

}  // namespace

DrawingTail::OpenFile::~OpenFile() { ::close(fd); }

void DrawingTail::clear() {
    bytes_.reset();
    file_.reset();
    offset_ = size_ = 0;
}

void DrawingTail::AssignBytes(std::vector<uint8_t> bytes) {
    clear();
    size_ = bytes.size();
    if (size_ != 0) bytes_ = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
}

void DrawingTail::AssignFileRange(int fd, uint64_t offset, uint64_t size) {
    clear();
    std::shared_ptr<OpenFile> file;
    try {
        file = std::make_shared<OpenFile>(fd);
    } catch (...) {
        ::close(fd);
        throw;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) throw JwwFileError("cannot look at the file", errno);
    file->fileSize = st.st_size;
    file->modified = st.st_mtim;
    file_ = std::move(file);
    offset_ = offset;
    size_ = size;
}

void DrawingTail::AssignFromStream(const uint8_t* read, std::size_t n, std::FILE* in) {
    clear();
    std::vector<uint8_t> piece(kPiece);
    std::size_t got = 0;
    auto next = [&] {
        errno = 0;
        got = std::fread(piece.data(), 1, piece.size(), in);
        if (got == 0 && std::ferror(in)) throw JwwFileError("cannot read", errno ? errno : EIO);
        return got != 0;
    };
    // Most drawings end where their file ends: no file is made for nothing.
    if (n == 0 && !next()) return;
    const int fd = OpenScratchFile();
    uint64_t total = 0;
    try {
        WriteAll(fd, read, n);
        total += n;
        do {
            WriteAll(fd, piece.data(), got);
            total += got;
        } while (next());
    } catch (...) {
        ::close(fd);
        throw;
    }
    AssignFileRange(fd, 0, total);
}

void DrawingTail::CopyTo(const std::function<void(const uint8_t*, std::size_t)>& sink) const {
    if (bytes_) {
        for (std::size_t at = 0; at < bytes_->size(); at += kPiece)
            sink(bytes_->data() + at, std::min(kPiece, bytes_->size() - at));
        return;
    }
    if (!file_) return;
    struct stat st;
    if (::fstat(file_->fd, &st) != 0) throw JwwFileError("cannot look at the file", errno);
    if (st.st_size != file_->fileSize || st.st_mtim.tv_sec != file_->modified.tv_sec ||
        st.st_mtim.tv_nsec != file_->modified.tv_nsec)
        throw JwwFileError("the file changed after it was read", 0, kSourceChanged);
    std::vector<uint8_t> piece(static_cast<std::size_t>(std::min<uint64_t>(kPiece, size_)));
    for (uint64_t done = 0; done < size_;) {
        const std::size_t want = static_cast<std::size_t>(std::min<uint64_t>(piece.size(), size_ - done));
        const ssize_t got = ::pread(file_->fd, piece.data(), want, static_cast<off_t>(offset_ + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            throw JwwFileError("cannot read", errno);
        }
        if (got == 0) throw JwwFileError("the file changed after it was read", 0, kSourceChanged);
        sink(piece.data(), static_cast<std::size_t>(got));
        done += static_cast<uint64_t>(got);
    }
}

}  // namespace tolvani
