#include "display/qt/FontMapper.h"

#include <QFontDatabase>

#include "model/Cp932.h"

namespace tolvani::display {

namespace {

const QString kGothic = QStringLiteral("IPAGothic");
const QString kMincho = QStringLiteral("IPAMincho");
const QString kPGothic = QStringLiteral("IPAPGothic");
const QString kPMincho = QStringLiteral("IPAPMincho");

// Full-width letters and the ideographic space to their plain forms, so
// that "ＭＳ　ゴシック" and "MS ゴシック" read alike.
QString Plain(const QString& face) {
    QString out;
    for (QChar c : face) {
        const ushort u = c.unicode();
        if (u == 0x3000) continue;
        if (u >= 0xFF01 && u <= 0xFF5E) c = QChar(static_cast<ushort>(u - 0xFEE0));
        if (c.isSpace()) continue;
        out += c.toLower();
    }
    return out;
}

}  // namespace

QString FontMapper::Resolve(const QString& face) {
    const QString plain = Plain(face);
    const bool mincho = plain.contains(QStringLiteral("明朝")) || plain.contains(QStringLiteral("mincho"));
    const bool gothic = plain.contains(QStringLiteral("ゴシック")) || plain.contains(QStringLiteral("gothic"));
    const bool proportional = plain.startsWith(QStringLiteral("msp")) || plain.contains(QStringLiteral("pゴシック")) ||
                              plain.contains(QStringLiteral("p明朝")) || plain.contains(QStringLiteral("pgothic")) ||
                              plain.contains(QStringLiteral("pmincho"));
    if (mincho) return proportional ? kPMincho : kMincho;
    if (gothic) return proportional ? kPGothic : kGothic;
    if (!face.isEmpty() && QFontDatabase::hasFamily(face)) return face;
    return kGothic;
}

const QString& FontMapper::Family(std::string_view face) {
    auto it = cache_.find(std::string(face));
    if (it != cache_.end()) return it->second;
    const QString name = QString::fromStdString(Cp932ToUtf8(face));
    return cache_.emplace(std::string(face), Resolve(name)).first->second;
}

}  // namespace tolvani::display
