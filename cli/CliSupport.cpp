#include "cli/CliSupport.h"

#include <sys/stat.h>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/JwwErrors.h"
#include "model/JwwFile.h"

namespace tolvani::cli {

void UsageError(const std::string& message) { throw CliError{kExitUsage, message}; }

std::unique_ptr<CJwwDoc> LoadDrawingOrFail(const std::string& path) {
    LoadOutcome loaded = LoadDrawingFile(path);
    switch (loaded.status) {
        case LoadOutcome::Status::Loaded: return std::move(loaded.doc);
        case LoadOutcome::Status::FileError:
            throw CliError{kExitRefused, WriteFailureMessage(loaded.message, path, loaded.reason)};
        case LoadOutcome::Status::TooOld:
        case LoadOutcome::Status::StreamError: break;
    }
    throw CliError{kExitRefused, loaded.message};
}

void SaveDrawingOrFail(const std::string& path, CJwwDoc& doc) {
    const SaveOutcome saved = SaveDrawingFile(path, doc);
    if (saved.ok()) return;
    if (saved.status == SaveOutcome::Status::FileError)
        throw CliError{kExitWriteFailed, WriteFailureMessage(saved.message, path, saved.detail)};
    throw CliError{kExitWriteFailed, saved.message};
}

void WriteBytesOrFail(const std::string& path, const void* data, std::size_t size) {
    try {
        WriteBytesAtomically(path, data, size);
    } catch (const JwwFileError& e) {
        throw CliError{kExitWriteFailed, WriteFailureMessage(kLocalWriteErrorMessage, path, e.SystemReason())};
    }
}

std::string WriteFailureMessage(const std::string& message, const std::string& path, const std::string& reason) {
    return message + " (" + path + ")" + (reason.empty() ? "" : "\n" + reason);
}

namespace {
int g_stdoutError = 0;
}  // namespace

void PrintOut(const std::string& text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() && g_stdoutError == 0)
        g_stdoutError = errno ? errno : EIO;
}

int StandardOutputError() {
    errno = 0;
    if (std::fflush(stdout) != 0 && g_stdoutError == 0) g_stdoutError = errno ? errno : EIO;
    if (std::ferror(stdout) && g_stdoutError == 0) g_stdoutError = EIO;
    return g_stdoutError;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

Args::Args(const std::vector<std::string>& args, const std::vector<std::string>& flags,
           const std::vector<std::string>& valued) {
    auto known = [](const std::vector<std::string>& list, const std::string& name) {
        for (const auto& n : list)
            if (n == name) return true;
        return false;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") throw HelpRequested{};
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::string name = a.substr(2), val;
            const auto eq = name.find('=');
            bool inlineValue = eq != std::string::npos;
            if (inlineValue) {
                val = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
            if (known(flags, name)) {
                if (inlineValue) UsageError("オプション --" + name + " に値は指定できません。");
                options_.emplace_back(name, "");
            } else if (known(valued, name)) {
                if (!inlineValue) {
                    if (i + 1 >= args.size() || args[i + 1].compare(0, 2, "--") == 0)
                        UsageError("オプション --" + name + " に値がありません。");
                    val = args[++i];
                }
                options_.emplace_back(name, val);
            } else {
                UsageError("不明なオプションです: " + a);
            }
            continue;
        }
        positional_.push_back(a);
    }
}

bool Args::has(const std::string& name) const {
    for (const auto& o : options_)
        if (o.first == name) return true;
    return false;
}

std::string Args::value(const std::string& name, const std::string& fallback) const {
    for (auto it = options_.rbegin(); it != options_.rend(); ++it)
        if (it->first == name) return it->second;
    return fallback;
}

namespace {

// Digits with an optional leading minus and, where allowed, one point.
bool PlainNumber(const std::string& text, bool fraction) {
    std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    bool digit = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && fraction && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

}  // namespace

long ParseLong(const std::string& text, long lo, long hi, const std::string& what) {
    errno = 0;
    char* end = nullptr;
    const long v = PlainNumber(text, false) ? std::strtol(text.c_str(), &end, 10) : 0;
    if (!PlainNumber(text, false) || end == text.c_str() || *end != '\0' || errno == ERANGE || v < lo || v > hi)
        UsageError(what + " は " + std::to_string(lo) + " から " + std::to_string(hi) +
                   " までの整数で指定してください: " + text);
    return v;
}

WidthHeight ParseWidthHeight(const std::string& text, const char* separators, const char* form, long lo, long hi,
                             const std::string& option) {
    const auto at = text.find_first_of(separators);
    if (at == std::string::npos) UsageError(option + " は " + form + " の形で指定してください: " + text);
    WidthHeight size;
    size.width = ParseLong(text.substr(0, at), lo, hi, option + " の幅");
    size.height = ParseLong(text.substr(at + 1), lo, hi, option + " の高さ");
    return size;
}

double ParseDecimal(const std::string& text, double bound, const std::string& message) {
    errno = 0;
    char* end = nullptr;
    const double v = PlainNumber(text, true) ? std::strtod(text.c_str(), &end) : 0;
    if (!PlainNumber(text, true) || *end != '\0' || errno == ERANGE || !std::isfinite(v) || std::fabs(v) > bound)
        UsageError(message + ": " + text);
    return v;
}

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    out += "\"";
    return out;
}

std::string LowerExtension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot + 1);
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

}  // namespace tolvani::cli
