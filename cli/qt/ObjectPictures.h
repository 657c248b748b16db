// The object command's pictures, drawn through Qt.
#pragma once

#include "cli/Command.h"

namespace tolvani::cli {

// The PNG or SVG of an object ("png", "svg") that carries its data; starts
// the drawing's application object when there is none.
std::vector<uint8_t> MakeObjectPicture(const std::string& form, const CJwwDoc& doc, const object::NativePrefix& prefix,
                                       const std::vector<uint8_t>& native);

}  // namespace tolvani::cli
