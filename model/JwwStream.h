// The sequential byte stream through which a drawing is written or read:
// little-endian numbers, length-prefixed strings, counts, time values and
// element references with class tags, and the object table behind them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "model/DrawingTail.h"
#include "model/JwwErrors.h"
#include "model/JwwString.h"

namespace tolvani {

class CData;

class JwwStream {
public:
    enum class Mode { Storing, Loading };

    // Loading from bytes in memory; the bytes must outlive the stream.
    JwwStream(const void* data, std::size_t size);
    // Storing into a growing byte vector.
    explicit JwwStream(std::vector<uint8_t>& out);
    // Loading from or storing to an open file, through a buffer. The caller
    // owns the file; Flush() must be called after the last store.
    JwwStream(std::FILE* file, Mode mode);
    ~JwwStream();

    JwwStream(const JwwStream&) = delete;
    JwwStream& operator=(const JwwStream&) = delete;

    bool IsStoring() const { return mode_ == Mode::Storing; }
    bool IsLoading() const { return mode_ == Mode::Loading; }

    // --- storing -------------------------------------------------------
    void PutBytes(const void* data, std::size_t n);
    void PutByte(uint8_t v) { PutFixed(v); }
    void PutWord(uint16_t v) { PutFixed(v); }
    void PutDword(uint32_t v) { PutFixed(v); }
    void PutInt(int32_t v) { PutFixed(static_cast<uint32_t>(v)); }
    void PutDouble(double v) { PutFixed(v); }
    void PutInt64(int64_t v) { PutFixed(v); }
    void PutString(const JwwString& s);
    void PutCount(uint32_t n);
    void PutTime(int64_t seconds);
    void PutElement(const CData* element);
    // Copies the tail's bytes, piece by piece.
    void PutTail(const DrawingTail& tail);
    // Room for n contiguous bytes (n <= kMaxSpan) that the caller fills at once.
    uint8_t* PutSpan(std::size_t n) {
        if (mode_ != Mode::Storing) throw JwwWrongDirectionError(true);
        if (static_cast<std::size_t>(wend_ - wcur_) < n) MakeRoom(n);
        uint8_t* p = wcur_;
        wcur_ += n;
        return p;
    }
    // Writes out what the buffer holds (file streams); raises JwwFileError
    // when the file refuses it. (A file that cannot be read raises
    // JwwFileError, with the system's error number, in the same way.)
    void Flush();

    // --- loading -------------------------------------------------------
    std::size_t GetBytes(void* data, std::size_t n);
    uint8_t GetByte() { return GetFixed<uint8_t>(); }
    uint16_t GetWord() { return GetFixed<uint16_t>(); }
    uint32_t GetDword() { return GetFixed<uint32_t>(); }
    int32_t GetInt() { return static_cast<int32_t>(GetFixed<uint32_t>()); }
    double GetDouble() { return GetFixed<double>(); }
    int64_t GetInt64() { return GetFixed<int64_t>(); }
    void GetString(JwwString& s);
    JwwString GetString() {
        JwwString s;
        GetString(s);
        return s;
    }
    uint32_t GetCount();
    int64_t GetTime();
    // A new element, or null for "no object". A reference to an element
    // already read is refused by the lists, so it raises the bad-index error.
    std::unique_ptr<CData> GetElement();
    // The next n contiguous bytes (n <= kMaxSpan), read at once.
    const uint8_t* GetSpan(std::size_t n) {
        if (static_cast<std::size_t>(rend_ - rcur_) < n) {
            if (mode_ != Mode::Loading) throw JwwWrongDirectionError(false);
            Refill(n);
        }
        const uint8_t* p = rcur_;
        rcur_ += n;
        return p;
    }
    static constexpr std::size_t kMaxSpan = 4096;
    // Everything the stream still holds, as a tail: a range of the file
    // (nothing is read) when the stream reads a regular file.
    void GetTail(DrawingTail& tail);
    // Bytes left to read, as far as the stream can tell.
    uint64_t Remaining() const;

    // The schema number of the class of the element being read.
    uint16_t CurrentSchema() const { return currentSchema_; }

    // Object indexes must stay below this value.
    static constexpr uint32_t kIndexLimit = 0x3FFFFFFE;
    static constexpr uint16_t kSchema = 800;

private:
    template <class T>
    void PutFixed(T v) {
        if (mode_ != Mode::Storing) throw JwwWrongDirectionError(true);
        if (static_cast<std::size_t>(wend_ - wcur_) < sizeof(T)) MakeRoom(sizeof(T));
        std::memcpy(wcur_, &v, sizeof(T));
        wcur_ += sizeof(T);
    }
    template <class T>
    T GetFixed() {
        if (static_cast<std::size_t>(rend_ - rcur_) < sizeof(T)) {
            if (mode_ != Mode::Loading) throw JwwWrongDirectionError(false);
            Refill(sizeof(T));
        }
        T v;
        std::memcpy(&v, rcur_, sizeof(T));
        rcur_ += sizeof(T);
        return v;
    }

    void CheckLoading() const;
    void CheckStoring() const;
    // Makes at least n bytes readable at rcur_, or raises end of file.
    void Refill(std::size_t n);
    void MakeRoom(std::size_t n);
    uint64_t GetLengthPrefix();
    void PutLengthPrefix(uint64_t n);
    uint32_t TakeIndex() {
        if (nextIndex_ == 0 || nextIndex_ >= kIndexLimit) return TakeFirstOrLastIndex();
        return nextIndex_++;
    }
    uint32_t TakeFirstOrLastIndex();

    Mode mode_;
    std::FILE* file_ = nullptr;
    std::vector<uint8_t>* outVec_ = nullptr;
    std::vector<uint8_t> buffer_;

    // Reading window.
    const uint8_t* rcur_ = nullptr;
    const uint8_t* rend_ = nullptr;
    uint64_t fileRemaining_ = 0;  // bytes of the file not yet in the buffer

    // Writing window (into buffer_ or outVec_).
    uint8_t* wcur_ = nullptr;
    uint8_t* wend_ = nullptr;

    // Object table. Loading: the kind of each entry (0 none, 1..9 a class by
    // its class number + 1, kObjectEntry an element). Storing: the index of
    // each class, 0 when it has not been written yet.
    std::vector<uint8_t> entries_;
    uint32_t nextIndex_ = 0;
    uint32_t classIndex_[9] = {};
    uint16_t currentSchema_ = 0;
};

}  // namespace tolvani
