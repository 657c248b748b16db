#include "model/JwwStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <new>

#include "model/CData.h"
#include "model/Cp932.h"

namespace tolvani {
namespace {

constexpr std::size_t kFileBuffer = 256 * 1024;
constexpr uint8_t kObjectEntry = 0xFE;
constexpr uint32_t kTimeMarker = 0x8000000A;
constexpr std::size_t kMaxClassName = 64;

}  // namespace

JwwStream::JwwStream(const void* data, std::size_t size) : mode_(Mode::Loading) {
    rcur_ = static_cast<const uint8_t*>(data);
    rend_ = rcur_ + size;
}

JwwStream::JwwStream(std::vector<uint8_t>& out) : mode_(Mode::Storing), outVec_(&out) {
    // Writes go straight into the vector's spare room.
    const std::size_t used = out.size();
    out.resize(std::max<std::size_t>(used + 4096, out.capacity()));
    wcur_ = out.data() + used;
    wend_ = out.data() + out.size();
}

JwwStream::JwwStream(std::FILE* file, Mode mode) : mode_(mode), file_(file) {
    buffer_.resize(kFileBuffer);
    if (mode == Mode::Loading) {
        rcur_ = rend_ = buffer_.data();
        struct stat st;
        long pos = std::ftell(file);
        if (fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode) && pos >= 0 && st.st_size >= pos)
            fileRemaining_ = static_cast<uint64_t>(st.st_size - pos);
        else
            fileRemaining_ = UINT64_MAX;  // not a plain file: unknown size
    } else {
        wcur_ = buffer_.data();
        wend_ = buffer_.data() + buffer_.size();
    }
}

JwwStream::~JwwStream() {
    if (outVec_) outVec_->resize(static_cast<std::size_t>(wcur_ - outVec_->data()));
}

void JwwStream::CheckLoading() const {
    if (mode_ != Mode::Loading) throw JwwWrongDirectionError(false);
}

void JwwStream::CheckStoring() const {
    if (mode_ != Mode::Storing) throw JwwWrongDirectionError(true);
}

uint64_t JwwStream::Remaining() const {
    const uint64_t inWindow = static_cast<uint64_t>(rend_ - rcur_);
    if (!file_) return inWindow;
    if (fileRemaining_ == UINT64_MAX) return UINT64_MAX;
    return inWindow + fileRemaining_;
}

void JwwStream::Refill(std::size_t n) {
    CheckLoading();
    if (!file_) throw JwwEndOfFileError();
    std::size_t have = static_cast<std::size_t>(rend_ - rcur_);
    if (n > buffer_.size()) throw JwwEndOfFileError();  // never asked for; guards the buffer
    std::memmove(buffer_.data(), rcur_, have);
    while (have < n) {
        errno = 0;
        std::size_t got = std::fread(buffer_.data() + have, 1, buffer_.size() - have, file_);
        if (got == 0) {
            // A file that cannot be read says why; only its end is the end of file.
            if (std::ferror(file_)) throw JwwFileError("cannot read", errno ? errno : EIO);
            break;
        }
        have += got;
        if (fileRemaining_ != UINT64_MAX) fileRemaining_ -= std::min<uint64_t>(got, fileRemaining_);
    }
    rcur_ = buffer_.data();
    rend_ = buffer_.data() + have;
    if (have < n) throw JwwEndOfFileError();
}

void JwwStream::MakeRoom(std::size_t n) {
    CheckStoring();
    if (outVec_) {
        const std::size_t used = static_cast<std::size_t>(wcur_ - outVec_->data());
        outVec_->resize(std::max(used + n, outVec_->size() * 2));
        wcur_ = outVec_->data() + used;
        wend_ = outVec_->data() + outVec_->size();
        return;
    }
    Flush();
    if (n > buffer_.size()) buffer_.resize(n);
    wcur_ = buffer_.data();
    wend_ = buffer_.data() + buffer_.size();
}

void JwwStream::Flush() {
    if (!file_ || mode_ != Mode::Storing) return;
    const std::size_t n = static_cast<std::size_t>(wcur_ - buffer_.data());
    if (n > 0 && std::fwrite(buffer_.data(), 1, n, file_) != n) throw JwwFileError("write failed", errno);
    wcur_ = buffer_.data();
}

// --- raw blocks -------------------------------------------------------------

void JwwStream::PutBytes(const void* data, std::size_t n) {
    CheckStoring();
    const auto* p = static_cast<const uint8_t*>(data);
    while (n > 0) {
        if (wcur_ == wend_) MakeRoom(1);
        const std::size_t chunk = std::min(n, static_cast<std::size_t>(wend_ - wcur_));
        std::memcpy(wcur_, p, chunk);
        wcur_ += chunk;
        p += chunk;
        n -= chunk;
    }
}

std::size_t JwwStream::GetBytes(void* data, std::size_t n) {
    CheckLoading();
    auto* p = static_cast<uint8_t*>(data);
    std::size_t done = 0;
    while (done < n) {
        if (rcur_ == rend_) {
            try {
                Refill(1);
            } catch (const JwwEndOfFileError&) {
                break;
            }
        }
        const std::size_t chunk = std::min(n - done, static_cast<std::size_t>(rend_ - rcur_));
        std::memcpy(p + done, rcur_, chunk);
        rcur_ += chunk;
        done += chunk;
    }
    return done;
}

void JwwStream::GetTail(DrawingTail& tail) {
    CheckLoading();
    tail.clear();
    const std::size_t inWindow = static_cast<std::size_t>(rend_ - rcur_);
    if (!file_) {
        tail.AssignBytes(std::vector<uint8_t>(rcur_, rend_));
        rcur_ = rend_;
        return;
    }
    const off_t read = fileRemaining_ == UINT64_MAX ? -1 : ftello(file_);
    if (read < 0 || static_cast<uint64_t>(read) < inWindow) {
        // A pipe: what is left can be read only now.
        tail.AssignFromStream(rcur_, inWindow, file_);
        rcur_ = rend_;
        fileRemaining_ = 0;
        return;
    }
    const uint64_t size = inWindow + fileRemaining_;
    rcur_ = rend_;
    if (size == 0) return;
    const int fd = ::fcntl(fileno(file_), F_DUPFD_CLOEXEC, 3);
    if (fd < 0) throw JwwFileError("cannot keep the file open", errno);
    tail.AssignFileRange(fd, static_cast<uint64_t>(read) - inWindow, size);
    fileRemaining_ = 0;
}

void JwwStream::PutTail(const DrawingTail& tail) {
    CheckStoring();
    tail.CopyTo([this](const uint8_t* p, std::size_t n) { PutBytes(p, n); });
}

// --- strings ----------------------------------------------------------------

void JwwStream::PutLengthPrefix(uint64_t n) {
    if (n < 0xFF) {
        PutByte(static_cast<uint8_t>(n));
        return;
    }
    PutByte(0xFF);
    if (n < 0xFFFE) {
        PutWord(static_cast<uint16_t>(n));
        return;
    }
    PutWord(0xFFFF);
    if (n < 0xFFFFFFFFu) {
        PutDword(static_cast<uint32_t>(n));
        return;
    }
    PutDword(0xFFFFFFFFu);
    PutInt64(static_cast<int64_t>(n));
}

void JwwStream::PutString(const JwwString& s) {
    CheckStoring();
    if (const std::u16string* wide = s.wide()) {
        // Kept in the 16-bit form: some of its characters have no 8-bit form.
        PutByte(0xFF);
        PutWord(0xFFFE);
        PutLengthPrefix(wide->size());
        for (char16_t c : *wide) PutWord(static_cast<uint16_t>(c));
        return;
    }
    PutLengthPrefix(s.size());
    PutBytes(s.bytes().data(), s.size());
}

uint64_t JwwStream::GetLengthPrefix() {
    uint8_t b = GetByte();
    if (b < 0xFF) return b;
    uint16_t w = GetWord();
    if (w < 0xFFFF) return w;
    uint32_t d = GetDword();
    if (d < 0xFFFFFFFFu) return d;
    uint64_t q = static_cast<uint64_t>(GetInt64());
    if (q > 0x7FFFFFFF) throw JwwGenericError("string length out of range");
    return q;
}

void JwwStream::GetString(JwwString& s) {
    CheckLoading();
    bool wide = false;
    uint64_t n;
    uint8_t b = GetByte();
    if (b < 0xFF) {
        n = b;
    } else {
        uint16_t w = GetWord();
        if (w == 0xFFFE) {
            wide = true;
            n = GetLengthPrefix();
        } else if (w < 0xFFFF) {
            n = w;
        } else {
            uint32_t d = GetDword();
            if (d < 0xFFFFFFFFu) {
                n = d;
            } else {
                uint64_t q = static_cast<uint64_t>(GetInt64());
                if (q > 0x7FFFFFFF) throw JwwGenericError("string length out of range");
                n = q;
            }
        }
    }
    const uint64_t bytes = wide ? n * 2 : n;
    if (!wide && bytes <= static_cast<uint64_t>(rend_ - rcur_)) {
        // The usual case: the whole string is in the buffer.
        s.assign(std::string(reinterpret_cast<const char*>(rcur_), static_cast<std::size_t>(bytes)));
        rcur_ += bytes;
        return;
    }
    // Nothing is allocated for bytes the stream cannot hold: the length is
    // checked against what is left, and where that is unknown (a pipe) the
    // text grows only as its bytes arrive.
    if (bytes > Remaining()) throw JwwEndOfFileError();
    constexpr std::size_t kChunk = 1 << 20;
    if (!wide) {
        std::string out;
        for (uint64_t left = bytes; left > 0;) {
            const std::size_t chunk = static_cast<std::size_t>(std::min<uint64_t>(left, kChunk));
            const std::size_t had = out.size();
            out.resize(had + chunk);
            if (GetBytes(out.data() + had, chunk) != chunk) throw JwwEndOfFileError();
            left -= chunk;
        }
        s.assign(std::move(out));
        return;
    }
    std::u16string units;
    units.reserve(static_cast<std::size_t>(std::min<uint64_t>(n, kChunk)));
    for (uint64_t i = 0; i < n; ++i) units.push_back(static_cast<char16_t>(GetWord()));
    std::size_t replaced = 0;
    std::string sjis = Utf16ToCp932(units, &replaced);
    if (replaced == 0)
        s.assign(std::move(sjis));
    else
        s.assignWide(std::move(sjis), std::move(units));
}

// --- counts and times ---------------------------------------------------------

void JwwStream::PutCount(uint32_t n) {
    CheckStoring();
    if (n < 0xFFFF) {
        PutWord(static_cast<uint16_t>(n));
    } else {
        PutWord(0xFFFF);
        PutDword(n);
    }
}

uint32_t JwwStream::GetCount() {
    CheckLoading();
    uint16_t w = GetWord();
    if (w != 0xFFFF) return w;
    return GetDword();
}

void JwwStream::PutTime(int64_t seconds) {
    CheckStoring();
    PutDword(kTimeMarker);
    PutInt64(seconds);
}

int64_t JwwStream::GetTime() {
    CheckLoading();
    uint32_t d = GetDword();
    if (d == kTimeMarker) return GetInt64();
    return static_cast<int32_t>(d);
}

// --- elements -----------------------------------------------------------------

uint32_t JwwStream::TakeFirstOrLastIndex() {
    if (nextIndex_ == 0) {
        // The first class or object operation puts in the null entry.
        nextIndex_ = 1;
        if (IsLoading()) entries_.push_back(0);
    }
    if (nextIndex_ >= kIndexLimit) throw JwwBadIndexError("object table full");
    return nextIndex_++;
}

void JwwStream::PutElement(const CData* element) {
    CheckStoring();
    if (!element) {
        PutWord(0);
        return;
    }
    const int k = static_cast<int>(element->Kind());
    if (classIndex_[k] != 0) {
        const uint32_t i = classIndex_[k];
        if (i < 0x7FFF) {
            PutWord(static_cast<uint16_t>(0x8000 | i));
        } else {
            PutWord(0x7FFF);
            PutDword(0x80000000u | i);
        }
    } else {
        const char* name = ElementClassName(element->Kind());
        const std::size_t len = std::strlen(name);
        PutWord(0xFFFF);
        PutWord(kSchema);
        PutWord(static_cast<uint16_t>(len));
        PutBytes(name, len);
        classIndex_[k] = TakeIndex();
    }
    TakeIndex();
    // Serialize is const in effect except for the held values a save
    // rewrites (text width, point form), which belong to the save.
    const_cast<CData*>(element)->Serialize(*this);
}

std::unique_ptr<CData> JwwStream::GetElement() {
    CheckLoading();
    if (nextIndex_ == 0) {
        nextIndex_ = 1;
        entries_.push_back(0);
    }
    const uint16_t w = GetWord();
    uint32_t tag;
    if (w == 0x7FFF)
        tag = GetDword();
    else
        tag = (w & 0x7FFFu) | (static_cast<uint32_t>(w & 0x8000u) << 16);

    ElementKind kind;
    uint16_t schema = kSchema;
    if (w == 0xFFFF) {
        schema = GetWord();
        const uint16_t len = GetWord();
        if (len >= kMaxClassName) throw JwwBadClassError("class name too long");
        char name[kMaxClassName];
        if (GetBytes(name, len) != len) throw JwwBadClassError("class name cut short");
        if (!ElementKindFromName(std::string_view(name, len), kind))
            throw JwwBadClassError("unknown class " + std::string(name, len));
        TakeIndex();
        entries_.push_back(static_cast<uint8_t>(static_cast<int>(kind) + 1));
    } else if (!(tag & 0x80000000u)) {
        if (tag == 0) return nullptr;
        // Lists own their elements: an element cannot stand in two places.
        throw JwwBadIndexError("reference to an element already read");
    } else {
        const uint32_t i = tag & 0x7FFFFFFFu;
        if (i == 0 || i >= entries_.size() || entries_[i] == 0 || entries_[i] == kObjectEntry)
            throw JwwBadIndexError("bad class reference");
        kind = static_cast<ElementKind>(entries_[i] - 1);
    }

    std::unique_ptr<CData> element;
    try {
        element = CreateElement(kind);
    } catch (const std::bad_alloc&) {
        throw JwwOutOfMemoryError();
    }
    TakeIndex();
    entries_.push_back(kObjectEntry);
    currentSchema_ = schema;
    element->Serialize(*this);
    return element;
}

}  // namespace tolvani
