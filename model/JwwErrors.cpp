#include "model/JwwErrors.h"

#include <cstring>

namespace tolvani {
namespace {

std::string WithPath(const char* pattern, const std::string& path) {
    std::string text(pattern);
    const std::string shown = path.empty() ? std::string("無題のファイル") : path;
    auto at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, shown);
    return text;
}

}  // namespace

std::string JwwEndOfFileError::UserMessage(const std::string& path) const {
    return WithPath("%1 の末尾以降にアクセスしようとしました。", path);
}
std::string JwwBadIndexError::UserMessage(const std::string& path) const {
    return WithPath("%1 の形式が正しくありません。", path);
}
std::string JwwBadClassError::UserMessage(const std::string& path) const {
    return WithPath("%1 は予期しないオブジェクトを含んでいます。", path);
}
std::string JwwGenericError::UserMessage(const std::string& path) const {
    return WithPath("%1 へのアクセス中に不明なエラーが発生しました。", path);
}
std::string JwwWrongDirectionError::UserMessage(const std::string& path) const {
    return WithPath(
        storeOnLoading_ ? "%1 の読み取り中に書き込もうとしました。" : "%1 へ書き込み中に読み取ろうとしました。", path);
}
std::string JwwOutOfMemoryError::UserMessage(const std::string&) const { return kOutOfMemoryMessage; }

std::string JwwNotDrawingError::UserMessage(const std::string& path) const {
    return WithPath("%1 は JWW 図面ではありません（ファイルの先頭が「JwwData.」ではありません）。", path);
}

std::string JwwFileError::SystemReason() const {
    if (!explanation_.empty()) return explanation_;
    return systemError_ != 0 ? std::string(std::strerror(systemError_)) : std::string();
}

}  // namespace tolvani
