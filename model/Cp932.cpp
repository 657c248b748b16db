#include "model/Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace tolvani {
namespace {

// One iconv descriptor per direction and thread; opening one costs far more
// than a conversion of a short string.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts `in`, calling onBad(consumedSoFar) for every input sequence
    // that iconv refuses; onBad returns how many input bytes to skip and
    // may append a replacement to `out`.
    template <class OnBad>
    void run(const char* in, std::size_t inLen, std::string& out, OnBad onBad) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        std::size_t srcLeft = inLen;
        char buf[1024];
        while (srcLeft > 0) {
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (r != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: an input sequence without a target form.
            std::size_t skip = onBad(static_cast<std::size_t>(src - in));
            if (skip > srcLeft) skip = srcLeft;
            src += skip;
            srcLeft -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buf, static_cast<std::size_t>(dst - buf));
    }

private:
    iconv_t cd_;
};

Converter& Utf16ToSjis() {
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}
Converter& Utf8ToSjis() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

bool IsAscii(std::string_view s) {
    for (unsigned char ch : s)
        if (ch >= 0x80) return false;
    return true;
}

// Length of the UTF-8 sequence that starts at s[i], or 0 when it is invalid.
std::size_t Utf8SequenceLength(const unsigned char* s, std::size_t n) {
    unsigned char c = s[0];
    std::size_t len;
    char32_t cp;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else
        return 0;
    if (n < len) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((s[k] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[k] & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return 0;
    if (cp >= 0xD800 && cp <= 0xDFFF) return 0;
    return len;
}

// Table of the Unicode forms of every code page 932 code, built once.
const std::vector<char32_t>& DecodeTable() {
    static const std::vector<char32_t> table = [] {
        std::vector<char32_t> t(0x10000, 0);
        for (int b = 0; b < 0x80; ++b) t[b] = static_cast<char32_t>(b);
        for (int b = 0xA1; b <= 0xDF; ++b) t[b] = 0xFF61 + static_cast<char32_t>(b - 0xA1);
        iconv_t cd = iconv_open("UTF-32LE", "CP932");
        if (cd == reinterpret_cast<iconv_t>(-1)) return t;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsCp932LeadByte(static_cast<uint8_t>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F) continue;
                char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                unsigned char out[8];
                char* src = in;
                char* dst = reinterpret_cast<char*>(out);
                std::size_t srcLeft = 2, dstLeft = sizeof out;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) continue;
                if (sizeof out - dstLeft != 4) continue;
                char32_t cp = out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<char32_t>(out[3]) << 24);
                t[(lead << 8) | trail] = cp;
            }
        }
        iconv_close(cd);
        return t;
    }();
    return table;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char32_t Cp932CharToUnicode(uint16_t code) { return DecodeTable()[code]; }

std::string Cp932ToUtf8(std::string_view bytes) {
    if (IsAscii(bytes)) return std::string(bytes);
    const auto& table = DecodeTable();
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (std::size_t i = 0; i < bytes.size();) {
        uint8_t b = static_cast<uint8_t>(bytes[i]);
        char32_t cp = 0;
        if (IsCp932LeadByte(b) && i + 1 < bytes.size()) {
            cp = table[(b << 8) | static_cast<uint8_t>(bytes[i + 1])];
            if (cp != 0) {
                AppendUtf8(out, cp);
                i += 2;
                continue;
            }
        } else if (!IsCp932LeadByte(b)) {
            cp = table[b];
        }
        if (cp == 0 && b != 0) cp = 0xFFFD;
        AppendUtf8(out, cp);
        ++i;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string Utf16ToCp932(std::u16string_view text, std::size_t* replaced) {
    std::size_t bad = 0;
    std::string out;
    out.reserve(text.size() * 2);
    Converter& conv = Utf16ToSjis();
    if (!conv.ok()) {
        // Without a converter only ASCII can be carried.
        for (char16_t c : text) {
            if (c < 0x80)
                out.push_back(static_cast<char>(c));
            else {
                out += kGetaMarkCp932;
                ++bad;
            }
        }
    } else {
        std::string le;
        // The held units are in host order; iconv is told little-endian.
        le.resize(text.size() * 2);
        for (std::size_t i = 0; i < text.size(); ++i) {
            le[2 * i] = static_cast<char>(text[i] & 0xFF);
            le[2 * i + 1] = static_cast<char>(text[i] >> 8);
        }
        conv.run(le.data(), le.size(), out, [&](std::size_t at) -> std::size_t {
            ++bad;
            out += kGetaMarkCp932;
            std::size_t unit = at / 2;
            if (unit < text.size() && text[unit] >= 0xD800 && text[unit] <= 0xDBFF && unit + 1 < text.size() &&
                text[unit + 1] >= 0xDC00 && text[unit + 1] <= 0xDFFF)
                return 4;
            return 2;
        });
    }
    if (replaced) *replaced = bad;
    return out;
}

std::string Utf8ToCp932(std::string_view text, std::size_t* replaced) {
    std::size_t bad = 0;
    std::string out;
    if (IsAscii(text)) {
        if (replaced) *replaced = 0;
        return std::string(text);
    }
    // Invalid UTF-8 bytes are replaced first, so iconv sees only valid text
    // and each of its refusals is one whole character.
    std::string clean;
    clean.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t len = Utf8SequenceLength(s + i, text.size() - i);
        if (len == 0) {
            clean += "\xE3\x80\x93";  // 〓 in UTF-8
            ++bad;
            ++i;
        } else {
            clean.append(text.substr(i, len));
            i += len;
        }
    }
    Converter& conv = Utf8ToSjis();
    if (!conv.ok()) {
        for (std::size_t i = 0; i < clean.size();) {
            std::size_t len =
                Utf8SequenceLength(reinterpret_cast<const unsigned char*>(clean.data()) + i, clean.size() - i);
            if (len == 1)
                out.push_back(clean[i]);
            else {
                out += kGetaMarkCp932;
                ++bad;
            }
            i += len ? len : 1;
        }
    } else {
        conv.run(clean.data(), clean.size(), out, [&](std::size_t at) -> std::size_t {
            ++bad;
            out += kGetaMarkCp932;
            std::size_t len =
                Utf8SequenceLength(reinterpret_cast<const unsigned char*>(clean.data()) + at, clean.size() - at);
            return len ? len : 1;
        });
    }
    if (replaced) *replaced = bad;
    return out;
}

}  // namespace tolvani
