#include "model/JwwString.h"

#include "model/Cp932.h"

namespace tolvani {

std::string JwwString::toUtf8() const {
    if (wide_) return Utf16ToUtf8(*wide_);
    return Cp932ToUtf8(bytes_);
}

}  // namespace tolvani
