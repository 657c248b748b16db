#include "cli/qt/ObjectPictures.h"

#include "cli/qt/CliGui.h"
#include "object/qt/ObjectPicture.h"

namespace tolvani::cli {

std::vector<uint8_t> MakeObjectPicture(const std::string& form, const CJwwDoc& doc, const object::NativePrefix& prefix,
                                       const std::vector<uint8_t>& native) {
    auto app = StartGui();
    const QByteArray picture =
        form == "png" ? object::MakeObjectPng(doc, prefix, native) : object::MakeObjectSvg(doc, prefix, native);
    return std::vector<uint8_t>(picture.begin(), picture.end());
}

}  // namespace tolvani::cli
