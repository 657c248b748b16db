// Where an object's native data lives: as it is, inside a PNG picture's text
// chunk, inside an SVG picture's metadata, or as the stream "Contents" of a
// compound file. Finds the data in any of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolvani::object {

enum class ObjectForm { Raw, Png, Svg, Compound };

const char* FormName(ObjectForm form);  // "raw", "png", "svg", "ole"

struct ObjectBytes {
    bool ok = false;
    std::string message;  // for !ok
    ObjectForm form = ObjectForm::Raw;
    std::vector<uint8_t> native;  // the native data (prefix and drawing)
};

// Tells the form from the bytes (PNG signature, SVG start; a PNG inside the
// office suites' clipboard picture stream counts as PNG) and takes the
// native data out of it. A picture without the data is refused.
ObjectBytes ExtractObjectData(const uint8_t* data, std::size_t size);

}  // namespace tolvani::object
