#include "settings/RecentFileList.h"

#include <algorithm>

namespace tolvani::settings {

const char* const RecentFileList::kSection = "Recent File List";

namespace {

// Counts UTF-8 code points.
std::size_t Length(const std::string& s) {
    std::size_t n = 0;
    for (const unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

// The first `count` code points.
std::string Head(const std::string& s, std::size_t count) {
    std::size_t n = 0, i = 0;
    for (; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (n == count) break;
            ++n;
        }
    }
    return s.substr(0, i);
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string AbbreviatePath(const std::string& path, std::size_t limit) {
    if (Length(path) <= limit) return path;
    std::size_t nameStart = path.size();
    while (nameStart > 0 && !IsSeparator(path[nameStart - 1])) --nameStart;
    const std::string name = path.substr(nameStart);
    // The root: a leading separator, or a drive such as "c:\".
    std::string root;
    if (!path.empty() && IsSeparator(path[0]))
        root = path.substr(0, 1);
    else if (path.size() > 2 && path[1] == ':' && IsSeparator(path[2]))
        root = path.substr(0, 3);
    const std::string dots = "...";
    const std::string sep = nameStart > 0 ? std::string(1, path[nameStart - 1]) : "/";
    if (Length(root) + dots.size() + 1 + Length(name) > limit) {
        if (Length(name) <= limit) return name;
        return Head(name, limit - dots.size()) + dots;
    }
    // Add trailing folders while they fit.
    std::string tail = sep + name;
    std::size_t end = nameStart > 0 ? nameStart - 1 : 0;
    while (end > root.size()) {
        std::size_t start = end;
        while (start > 0 && !IsSeparator(path[start - 1])) --start;
        if (start <= root.size()) break;
        const std::string folder = path.substr(start - 1, end - start + 1);  // with its separator
        if (Length(root) + dots.size() + Length(folder) + Length(tail) > limit) break;
        tail = folder + tail;
        end = start - 1;
    }
    return root + dots + tail;
}

void RecentFileList::Load(SettingsStore& store) {
    entries_.clear();
    for (int i = 1; i <= kMaxEntries; ++i) {
        const std::string path = store.GetString(kSection, "File" + std::to_string(i), "");
        if (path.empty()) continue;
        if (std::find(entries_.begin(), entries_.end(), path) == entries_.end()) entries_.push_back(path);
    }
}

void RecentFileList::Save(SettingsStore& store) const {
    for (int i = 1; i <= kMaxEntries; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        store.PutString(kSection, "File" + std::to_string(i), k < entries_.size() ? entries_[k] : "");
    }
}

void RecentFileList::Add(const std::string& path) {
    if (path.empty()) return;
    Remove(path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > static_cast<std::size_t>(kMaxEntries)) entries_.resize(kMaxEntries);
}

void RecentFileList::Remove(const std::string& path) {
    entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
}

std::string RecentFileList::MenuText(std::size_t i) const {
    if (i >= entries_.size()) return {};
    std::string text = AbbreviatePath(entries_[i], kMenuTextLength);
    // A "&" in a path would be taken for a mnemonic.
    std::string escaped;
    for (const char c : text) {
        if (c == '&') escaped += '&';
        escaped += c;
    }
    const std::string number = i + 1 == 10 ? "1&0" : "&" + std::to_string(i + 1);
    return number + " " + escaped;
}

}  // namespace tolvani::settings
