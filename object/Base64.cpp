#include "object/Base64.h"

namespace tolvani::object {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string EncodeBase64(const uint8_t* data, std::size_t size) {
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        const uint32_t v = uint32_t(data[i]) << 16 | uint32_t(data[i + 1]) << 8 | data[i + 2];
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    if (size - i == 1) {
        const uint32_t v = uint32_t(data[i]) << 16;
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += "==";
    } else if (size - i == 2) {
        const uint32_t v = uint32_t(data[i]) << 16 | uint32_t(data[i + 1]) << 8;
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

bool DecodeBase64(const char* text, std::size_t size, std::vector<uint8_t>& out) {
    out.clear();
    out.reserve(size / 4 * 3);
    uint32_t group = 0;
    int have = 0;
    int padding = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsSpace(c)) continue;
        if (c == '=') {
            // Padding only in the last one or two places of a group.
            if (have < 2) return false;
            ++padding;
            group <<= 6;
            if (++have == 4) {
                if (padding > 2) return false;
                out.push_back(static_cast<uint8_t>(group >> 16));
                if (padding == 1) out.push_back(static_cast<uint8_t>(group >> 8));
                have = 0;
                group = 0;
                // Nothing but white space may follow the padding.
                for (++i; i < size; ++i)
                    if (!IsSpace(static_cast<unsigned char>(text[i]))) return false;
                return true;
            }
            continue;
        }
        if (padding) return false;
        const int v = ValueOf(c);
        if (v < 0) return false;
        group = group << 6 | static_cast<uint32_t>(v);
        if (++have == 4) {
            out.push_back(static_cast<uint8_t>(group >> 16));
            out.push_back(static_cast<uint8_t>(group >> 8));
            out.push_back(static_cast<uint8_t>(group));
            have = 0;
            group = 0;
        }
    }
    return have == 0;
}

}  // namespace tolvani::object
