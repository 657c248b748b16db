// The list of recently used files: newest first, at most ten, kept in
// section "Recent File List" as File1 … File10.
#pragma once

#include <string>
#include <vector>

#include "settings/SettingsStore.h"

namespace tolvani::settings {

class RecentFileList {
public:
    static constexpr int kMaxEntries = 10;
    static constexpr int kMenuTextLength = 30;
    static const char* const kSection;

    void Load(SettingsStore& store);
    void Save(SettingsStore& store) const;

    // Puts the path first; an entry naming the same file moves up.
    void Add(const std::string& path);
    void Remove(const std::string& path);

    const std::vector<std::string>& entries() const { return entries_; }

    // The menu text of entry i (0-based): "&N " and the path shortened to
    // at most 30 characters.
    std::string MenuText(std::size_t i) const;

private:
    std::vector<std::string> entries_;
};

// A path shortened to at most `limit` characters (code points) for a menu:
// whole when it fits, else the root, "...", and as many trailing folders as
// fit before the file name; a file name that alone is too long is cut at
// its end and marked with "...".
std::string AbbreviatePath(const std::string& path, std::size_t limit);

}  // namespace tolvani::settings
