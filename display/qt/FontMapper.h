// Maps the face names drawings carry to fonts installed here: the common
// Japanese Gothic and Mincho faces (full- or half-width spelling, Japanese
// or English) to IPAGothic and IPAMincho, any face this machine lacks to
// IPAGothic.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tolvani::display {

class FontMapper {
public:
    // The family for a face name in code page 932 bytes (without "@").
    const QString& Family(std::string_view face);

    // The installed family for a face name given as UTF-8 (no cache).
    static QString Resolve(const QString& face);

private:
    std::unordered_map<std::string, QString> cache_;
};

}  // namespace tolvani::display
