// The per-user settings store: integers and strings addressed by section and
// value name. Names are compared without regard to case; a missing value
// gives the caller's default.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tolvani::settings {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual int32_t GetInt(const std::string& section, const std::string& name, int32_t fallback) = 0;
    virtual void PutInt(const std::string& section, const std::string& name, int32_t value) = 0;
    virtual std::string GetString(const std::string& section, const std::string& name, const std::string& fallback) = 0;
    virtual void PutString(const std::string& section, const std::string& name, const std::string& value) = 0;
};

// ASCII lower case, the form in which names are compared.
std::string FoldName(const std::string& name);

// A store held in memory, for tests and for runs that keep nothing.
class MemorySettingsStore : public SettingsStore {
public:
    int32_t GetInt(const std::string& section, const std::string& name, int32_t fallback) override;
    void PutInt(const std::string& section, const std::string& name, int32_t value) override;
    std::string GetString(const std::string& section, const std::string& name, const std::string& fallback) override;
    void PutString(const std::string& section, const std::string& name, const std::string& value) override;

    // Whether a value of that name is held (either kind).
    bool Has(const std::string& section, const std::string& name) const;
    // Every value, keyed by folded section and name, in the text form in
    // which it was written; the order of writing is kept in `order`.
    const std::map<std::pair<std::string, std::string>, std::string>& values() const { return values_; }
    const std::vector<std::pair<std::string, std::string>>& order() const { return order_; }

private:
    void Put(const std::string& section, const std::string& name, const std::string& text);
    const std::string* Find(const std::string& section, const std::string& name) const;
    std::map<std::pair<std::string, std::string>, std::string> values_;
    std::vector<std::pair<std::string, std::string>> order_;
};

}  // namespace tolvani::settings
