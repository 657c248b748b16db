#include "object/PngText.h"

#include <zlib.h>
#include <array>
#include <cstring>

namespace tolvani::object {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu;

const std::array<uint32_t, 256>& CrcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

uint32_t ReadBigEndian(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

// Inflates a zlib stream, growing the output as it comes, never past the cap.
PngTextResult Inflate(const uint8_t* data, std::size_t size, std::string& out, std::size_t limit) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return PngTextResult::Damaged;
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = static_cast<uInt>(size);
    out.clear();
    constexpr std::size_t kStep = 1 << 16;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (out.size() > limit) {
            inflateEnd(&zs);
            return PngTextResult::TooLarge;
        }
        const std::size_t old = out.size();
        out.resize(old + kStep);
        zs.next_out = reinterpret_cast<Bytef*>(&out[old]);
        zs.avail_out = static_cast<uInt>(kStep);
        rc = inflate(&zs, Z_NO_FLUSH);
        out.resize(old + (kStep - zs.avail_out));
        if (rc == Z_STREAM_END) break;
        if (rc != Z_OK || (zs.avail_in == 0 && zs.avail_out != 0)) {
            inflateEnd(&zs);
            return PngTextResult::Damaged;
        }
    }
    inflateEnd(&zs);
    if (out.size() > limit) return PngTextResult::TooLarge;
    return PngTextResult::Found;
}

// The text of one text chunk when its keyword matches; NotFound otherwise.
PngTextResult ReadTextChunk(const char* type, const uint8_t* d, std::size_t n, const std::string& keyword,
                            std::string& text, std::size_t limit) {
    const void* nul = std::memchr(d, 0, n);
    if (!nul) return PngTextResult::NotFound;
    const std::size_t klen = static_cast<std::size_t>(static_cast<const uint8_t*>(nul) - d);
    if (klen != keyword.size() || std::memcmp(d, keyword.data(), klen) != 0) return PngTextResult::NotFound;
    const uint8_t* p = d + klen + 1;
    std::size_t left = n - klen - 1;
    if (std::memcmp(type, "tEXt", 4) == 0) {
        if (left > limit) return PngTextResult::TooLarge;
        text.assign(reinterpret_cast<const char*>(p), left);
        return PngTextResult::Found;
    }
    if (std::memcmp(type, "zTXt", 4) == 0) {
        if (left < 1 || p[0] != 0) return PngTextResult::Damaged;
        return Inflate(p + 1, left - 1, text, limit);
    }
    // iTXt: compression flag, method, language tag, translated keyword, text.
    if (left < 2) return PngTextResult::Damaged;
    const bool compressed = p[0] != 0;
    if (compressed && p[1] != 0) return PngTextResult::Damaged;
    p += 2;
    left -= 2;
    for (int field = 0; field < 2; ++field) {
        const void* end = std::memchr(p, 0, left);
        if (!end) return PngTextResult::Damaged;
        const std::size_t len = static_cast<std::size_t>(static_cast<const uint8_t*>(end) - p) + 1;
        p += len;
        left -= len;
    }
    if (compressed) return Inflate(p, left, text, limit);
    if (left > limit) return PngTextResult::TooLarge;
    text.assign(reinterpret_cast<const char*>(p), left);
    return PngTextResult::Found;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, std::size_t size, uint32_t crc) {
    const auto& t = CrcTable();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) crc = t[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

bool HasPngSignature(const uint8_t* data, std::size_t size) {
    return size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

PngTextResult FindPngText(const uint8_t* data, std::size_t size, const std::string& keyword, std::string& text,
                          std::size_t limit) {
    if (!HasPngSignature(data, size)) return PngTextResult::NotPng;
    std::size_t pos = sizeof kSignature;
    while (true) {
        if (size - pos < 12) return PngTextResult::Damaged;
        const uint32_t length = ReadBigEndian(data + pos);
        if (length > kMaxChunkLength || length > size - pos - 12) return PngTextResult::Damaged;
        const uint8_t* type = data + pos + 4;
        const uint8_t* body = data + pos + 8;
        if (Crc32(type, length + 4u) != ReadBigEndian(body + length)) return PngTextResult::Damaged;
        const char* t = reinterpret_cast<const char*>(type);
        if (std::memcmp(t, "tEXt", 4) == 0 || std::memcmp(t, "zTXt", 4) == 0 || std::memcmp(t, "iTXt", 4) == 0) {
            const PngTextResult r = ReadTextChunk(t, body, length, keyword, text, limit);
            if (r != PngTextResult::NotFound) return r;
        }
        if (std::memcmp(t, "IEND", 4) == 0) return PngTextResult::NotFound;
        pos += 12u + length;
    }
}

bool AddPngText(std::vector<uint8_t>& png, const std::string& keyword, const std::string& text) {
    if (keyword.empty() || keyword.size() > 79) return false;
    for (const char c : keyword) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || (u > 126 && u < 161)) return false;
    }
    if (!HasPngSignature(png.data(), png.size()) || png.size() < 8 + 12) return false;
    const std::size_t iend = png.size() - 12;
    if (ReadBigEndian(png.data() + iend) != 0 || std::memcmp(png.data() + iend + 4, "IEND", 4) != 0) return false;

    uLongf bound = compressBound(static_cast<uLong>(text.size()));
    std::vector<uint8_t> packed(bound);
    if (compress2(packed.data(), &bound, reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return false;
    packed.resize(bound);
    const std::size_t length = keyword.size() + 2 + packed.size();
    if (length > kMaxChunkLength) return false;

    std::vector<uint8_t> chunk;
    chunk.reserve(length + 12);
    PutBigEndian(chunk, static_cast<uint32_t>(length));
    chunk.insert(chunk.end(), {'z', 'T', 'X', 't'});
    chunk.insert(chunk.end(), keyword.begin(), keyword.end());
    chunk.push_back(0);
    chunk.push_back(0);  // deflate
    chunk.insert(chunk.end(), packed.begin(), packed.end());
    PutBigEndian(chunk, Crc32(chunk.data() + 4, length + 4));
    png.insert(png.begin() + static_cast<std::ptrdiff_t>(iend), chunk.begin(), chunk.end());
    return true;
}

}  // namespace tolvani::object
