// Drawings inside office documents (.xlsx, .docx, .pptx, .ods, .odt and the
// other zip packages): embedded compound-file objects whose "Contents" holds
// a drawing, and pictures that carry one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "object/NativeData.h"
#include "object/ObjectData.h"

namespace tolvani::object {

struct PackageObject {
    std::string path;  // inside the package
    ObjectForm form = ObjectForm::Raw;
    NativePrefix prefix;
    std::vector<uint8_t> native;
};

bool HasZipSignature(const uint8_t* data, std::size_t size);

// Every drawing in the package, in the order of the package's entries.
// False when the bytes are not a zip package that can be read.
bool ListPackageObjects(const uint8_t* data, std::size_t size, std::vector<PackageObject>& objects);

}  // namespace tolvani::object
