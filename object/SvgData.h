// Object data inside an SVG picture: base64 text in the picture's
// <metadata> element, under the object's name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolvani::object {

// True when the bytes begin (after an optional byte-order mark, white space,
// an XML declaration and comments) like an SVG document.
bool LooksLikeSvg(const uint8_t* data, std::size_t size);

// Inserts <metadata><tolvani:data name="NAME">BASE64</tolvani:data></metadata>
// as the first child of the root <svg> element. Returns false when there is
// no <svg start tag.
bool AddSvgData(std::string& svg, const std::string& name, const std::vector<uint8_t>& data);

enum class SvgDataResult { Found, NotFound, Damaged };

// Finds the data stored under NAME inside a <metadata> element.
SvgDataResult FindSvgData(const uint8_t* svg, std::size_t size, const std::string& name, std::vector<uint8_t>& data);

// Replaces the width and height of the root <svg> element by millimetre values.
bool SetSvgSizeMm(std::string& svg, double widthMm, double heightMm);

}  // namespace tolvani::object
