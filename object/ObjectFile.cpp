#include "object/ObjectFile.h"

#include <sys/stat.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tolvani::object {

ObjectFileStatus ReadObjectFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason) {
    bytes.clear();
    reason.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        reason = std::strerror(errno);
        return ObjectFileStatus::CannotOpen;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(f, std::fclose);
    struct stat st;
    if (fstat(fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) return ObjectFileStatus::CannotOpen;
    if (S_ISREG(st.st_mode) && st.st_size > kMaxObjectFile) return ObjectFileStatus::TooLarge;
    if (S_ISREG(st.st_mode)) bytes.reserve(static_cast<std::size_t>(st.st_size));
    uint8_t buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (bytes.size() + n > static_cast<std::size_t>(kMaxObjectFile)) return ObjectFileStatus::TooLarge;
        bytes.insert(bytes.end(), buf, buf + n);
    }
    return std::ferror(f) ? ObjectFileStatus::CannotOpen : ObjectFileStatus::Read;
}

}  // namespace tolvani::object
