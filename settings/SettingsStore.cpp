#include "settings/SettingsStore.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace tolvani::settings {

std::string FoldName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

namespace {

// A stored text read as an integer: decimal, optionally signed, within 32
// bits; anything else is not an integer and gives the default.
bool ParseInt(const std::string& text, int32_t& out) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0') return false;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    out = static_cast<int32_t>(v);
    return true;
}

}  // namespace

const std::string* MemorySettingsStore::Find(const std::string& section, const std::string& name) const {
    const auto it = values_.find({FoldName(section), FoldName(name)});
    return it == values_.end() ? nullptr : &it->second;
}

void MemorySettingsStore::Put(const std::string& section, const std::string& name, const std::string& text) {
    const std::pair<std::string, std::string> key{FoldName(section), FoldName(name)};
    values_[key] = text;
    order_.push_back(key);
}

bool MemorySettingsStore::Has(const std::string& section, const std::string& name) const {
    return Find(section, name) != nullptr;
}

int32_t MemorySettingsStore::GetInt(const std::string& section, const std::string& name, int32_t fallback) {
    const std::string* text = Find(section, name);
    int32_t v = 0;
    return text && ParseInt(*text, v) ? v : fallback;
}

void MemorySettingsStore::PutInt(const std::string& section, const std::string& name, int32_t value) {
    Put(section, name, std::to_string(value));
}

std::string MemorySettingsStore::GetString(const std::string& section, const std::string& name,
                                           const std::string& fallback) {
    const std::string* text = Find(section, name);
    return text ? *text : fallback;
}

void MemorySettingsStore::PutString(const std::string& section, const std::string& name, const std::string& value) {
    Put(section, name, value);
}

}  // namespace tolvani::settings
