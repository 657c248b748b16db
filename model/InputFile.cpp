#include "model/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "model/DescriptorPath.h"
#include "model/JwwErrors.h"

namespace tolvani {
namespace {

[[noreturn]] void Refuse(const std::string& path, mode_t mode) {
    if (S_ISDIR(mode)) throw JwwNotRegularFileError(path + " is a folder", EISDIR);
    throw JwwNotRegularFileError(path + " is not a regular file", 0, NotRegularFileReason(mode));
}

}  // namespace

std::string NotRegularFileReason(mode_t mode) {
    if (S_ISREG(mode)) return "";
    if (S_ISFIFO(mode)) return "名前付きパイプ（FIFO）です。通常のファイルではないため読み込みません。";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "デバイスです。通常のファイルではないため読み込みません。";
    if (S_ISSOCK(mode)) return "ソケットです。通常のファイルではないため読み込みません。";
    if (S_ISDIR(mode)) return "フォルダーです。通常のファイルではないため読み込みません。";
    return "通常のファイルではないため読み込みません。";
}

int OpenInputFile(const std::string& path) {
    struct stat st;
    int own;
    if (DescriptorOfPath(path, own)) {
        if (::fstat(own, &st) != 0) throw JwwFileError("cannot open " + path, errno);
        if (S_ISDIR(st.st_mode)) Refuse(path, st.st_mode);
        const int fd = ::fcntl(own, F_DUPFD_CLOEXEC, 3);
        if (fd < 0) throw JwwFileError("cannot open " + path, errno);
        return fd;
    }
    // Looked at before it is opened, so that no device is ever opened; and
    // opened without waiting, so that what took its place meanwhile cannot
    // hold the open either.
    if (::stat(path.c_str(), &st) != 0) throw JwwFileError("cannot open " + path, errno);
    if (!S_ISREG(st.st_mode)) Refuse(path, st.st_mode);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) throw JwwFileError("cannot open " + path, errno);
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        throw JwwFileError("cannot open " + path, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        Refuse(path, st.st_mode);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

}  // namespace tolvani
