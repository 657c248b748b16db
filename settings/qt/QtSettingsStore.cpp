#include "settings/qt/QtSettingsStore.h"

namespace tolvani::settings {

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Morlen"),
                                            QStringLiteral("Tolvani"))) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

QString QtSettingsStore::Key(const std::string& section, const std::string& name, bool* found) {
    const QString wantedSection = QString::fromStdString(section);
    const QString wantedName = QString::fromStdString(name);
    *found = false;
    // Sections and names both compare without case.
    QString group = wantedSection;
    for (const QString& g : settings_->childGroups()) {
        if (g.compare(wantedSection, Qt::CaseInsensitive) == 0) {
            group = g;
            break;
        }
    }
    settings_->beginGroup(group);
    QString key = wantedName;
    for (const QString& k : settings_->childKeys()) {
        if (k.compare(wantedName, Qt::CaseInsensitive) == 0) {
            key = k;
            *found = true;
            break;
        }
    }
    settings_->endGroup();
    return group + QLatin1Char('/') + key;
}

int32_t QtSettingsStore::GetInt(const std::string& section, const std::string& name, int32_t fallback) {
    bool found = false;
    const QString key = Key(section, name, &found);
    if (!found) return fallback;
    const QVariant v = settings_->value(key);
    if (v.typeId() != QMetaType::QString && v.typeId() != QMetaType::Int && v.typeId() != QMetaType::LongLong)
        return fallback;
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    if (!ok || n < INT32_MIN || n > INT32_MAX) return fallback;
    return static_cast<int32_t>(n);
}

std::string QtSettingsStore::GetString(const std::string& section, const std::string& name,
                                       const std::string& fallback) {
    bool found = false;
    const QString key = Key(section, name, &found);
    if (!found) return fallback;
    const QVariant v = settings_->value(key);
    // A list (a value with commas in a hand-edited file) reads as one text.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(',')).toStdString();
    if (!v.canConvert<QString>()) return fallback;
    return v.toString().toStdString();
}

void QtSettingsStore::Put(const std::string& section, const std::string& name, const QVariant& value) {
    bool found = false;
    settings_->setValue(Key(section, name, &found), value);
}

void QtSettingsStore::PutInt(const std::string& section, const std::string& name, int32_t value) {
    Put(section, name, QVariant(static_cast<int>(value)));
}

void QtSettingsStore::PutString(const std::string& section, const std::string& name, const std::string& value) {
    Put(section, name, QVariant(QString::fromStdString(value)));
}

void QtSettingsStore::Sync() { settings_->sync(); }

}  // namespace tolvani::settings
