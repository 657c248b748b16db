#include "viewer/HelpText.h"

#include <sys/stat.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "model/Cp932.h"

namespace tolvani::viewer {
namespace {

// A manual is a few pages; anything larger is cut here rather than read
// into memory whole.
constexpr std::size_t kMaxHelpBytes = 4u << 20;

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

std::vector<std::string> HelpFolders(const std::string& programDir) {
    return {programDir, Join(programDir, "../share/tolvani")};
}

std::string FindHelpFile(const std::vector<std::string>& folders, const std::string& name) {
    for (const auto& f : folders) {
        const std::string path = Join(f, name);
        if (IsRegularFile(path)) return path;
    }
    return folders.empty() ? name : Join(folders.front(), name);
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<uint8_t>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int n;
        uint32_t cp;
        if (b >= 0xC2 && b <= 0xDF) {
            n = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 2;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + n >= s.size()) return false;
        for (int k = 1; k <= n; ++k) {
            const auto c = static_cast<uint8_t>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = cp << 6 | (c & 0x3F);
        }
        if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}

std::string DecodeHelpText(std::string_view bytes) {
    std::string decoded;
    if (IsValidUtf8(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        decoded.assign(bytes);
    } else {
        decoded = Cp932ToUtf8(bytes);
    }
    // Line by line: each line loses its end (LF, CR LF or a lone CR) and
    // gets one "\n".
    std::string text;
    text.reserve(decoded.size() + 1);
    std::size_t i = 0;
    while (i < decoded.size()) {
        const std::size_t end = decoded.find_first_of("\r\n", i);
        if (end == std::string::npos) {
            text.append(decoded, i, std::string::npos);
            text += '\n';
            break;
        }
        text.append(decoded, i, end - i);
        text += '\n';
        i = end + 1;
        if (decoded[end] == '\r' && i < decoded.size() && decoded[i] == '\n') ++i;
    }
    return text;
}

bool LoadHelpText(const std::string& path, std::string& text) {
    if (!IsRegularFile(path)) return false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return false;
    std::string bytes;
    char buf[65536];
    std::size_t got;
    while (bytes.size() < kMaxHelpBytes && (got = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        bytes.append(buf, std::min(got, kMaxHelpBytes - bytes.size()));
    if (std::ferror(f.get())) return false;
    text = DecodeHelpText(bytes);
    return true;
}

}  // namespace tolvani::viewer
