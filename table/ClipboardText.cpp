#include "table/ClipboardText.h"

#include <cstdint>

namespace tolvani {

std::u16string Utf8ToUtf16Text(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        char32_t cp = 0xFFFD;
        std::size_t len = 1;
        std::size_t follow = 0;
        char32_t min = 0;
        if (c < 0x80) {
            cp = c;
        } else if (c >= 0xC2 && c <= 0xDF) {
            follow = 1, cp = c & 0x1F, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2, cp = c & 0x0F, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3, cp = c & 0x07, min = 0x10000;
        } else {
            cp = 0xFFFD;
        }
        if (follow > 0) {
            bool good = n - i - 1 >= follow;
            for (std::size_t k = 1; good && k <= follow; ++k) {
                if ((s[i + k] & 0xC0) != 0x80)
                    good = false;
                else
                    cp = (cp << 6) | (s[i + k] & 0x3F);
            }
            if (good && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF)) {
                len = 1 + follow;
            } else {
                cp = 0xFFFD;  // each byte of a broken sequence stands alone
            }
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

}  // namespace tolvani
