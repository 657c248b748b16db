// The settings store in the per-user INI file of organisation "Morlen",
// application "Tolvani". The file's keys are case-sensitive, so names are
// matched here without regard to case: a value written "zoomup" by hand is
// found as ZoomUp, and a put replaces it rather than adding a second key.
#pragma once

#include <QSettings>
#include <memory>

#include "settings/SettingsStore.h"

namespace tolvani::settings {

class QtSettingsStore : public SettingsStore {
public:
    // The user's own file (~/.config/Morlen/Tolvani.conf).
    QtSettingsStore();
    // A given INI file (tests).
    explicit QtSettingsStore(const QString& iniPath);

    int32_t GetInt(const std::string& section, const std::string& name, int32_t fallback) override;
    void PutInt(const std::string& section, const std::string& name, int32_t value) override;
    std::string GetString(const std::string& section, const std::string& name, const std::string& fallback) override;
    void PutString(const std::string& section, const std::string& name, const std::string& value) override;

    // Writes pending values to the file; a file that cannot be written is
    // not reported.
    void Sync();
    QString fileName() const { return settings_->fileName(); }

private:
    // The stored key of (section, name), found without regard to case, or
    // the key to create.
    QString Key(const std::string& section, const std::string& name, bool* found);
    void Put(const std::string& section, const std::string& name, const QVariant& value);
    std::unique_ptr<QSettings> settings_;
};

}  // namespace tolvani::settings
