// The bytes that followed a drawing in what it was read from. A tail read
// from a file is never taken into memory: it stays a range of that file,
// which is held open, and a save copies it piece by piece. So reading a
// drawing costs what the drawing costs, whatever follows it. A tail that came
// from bytes in memory stays in memory; one that came through a pipe, which
// cannot be read twice, is kept in an unnamed temporary file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace tolvani {

class DrawingTail {
public:
    DrawingTail() = default;

    uint64_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear();

    // The tail is these bytes.
    void AssignBytes(std::vector<uint8_t> bytes);
    // The tail is `size` bytes from `offset` of the open regular file `fd`,
    // which the tail takes over: it is closed when the last copy of the tail
    // goes. A save copies the range only while the file is as it was now.
    void AssignFileRange(int fd, uint64_t offset, uint64_t size);
    // The tail is `n` bytes already read from `in` followed by everything
    // `in` still gives, kept in an unnamed temporary file.
    void AssignFromStream(const uint8_t* read, std::size_t n, std::FILE* in);

    // Hands the bytes in order to `sink`, in pieces of at most kPiece bytes.
    // Raises JwwFileError when they cannot all be had: the file cannot be
    // read, or was changed after the drawing was read from it.
    void CopyTo(const std::function<void(const uint8_t*, std::size_t)>& sink) const;

    static constexpr std::size_t kPiece = 64 * 1024;

private:
    struct OpenFile {
        explicit OpenFile(int descriptor) : fd(descriptor) {}
        OpenFile(const OpenFile&) = delete;
        OpenFile& operator=(const OpenFile&) = delete;
        ~OpenFile();
        int fd;
        // What the file was when the range was taken.
        int64_t fileSize = 0;
        timespec modified{};
    };

    std::shared_ptr<const std::vector<uint8_t>> bytes_;
    std::shared_ptr<const OpenFile> file_;
    uint64_t offset_ = 0;
    uint64_t size_ = 0;
};

}  // namespace tolvani
