// The picture stream that the free office suites put on the clipboard for a
// picture of their own: the original file's bytes behind a short header that
// names their type and the picture's physical size. Pasting it, Calc and
// Writer keep those bytes as they are and save them unchanged, whereas a
// plain image/png is decoded and written out again, which drops the text
// chunk that carries the drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolvani::object {

// The clipboard type under which the stream is offered.
extern const char* const kOfficeGraphicMimeType;

// The PNG behind the header, shown at widthHimetric × heightHimetric
// (0.01 mm). Empty when the PNG is empty or too large for the header's
// 32-bit length, or the size is not positive.
std::vector<uint8_t> WrapPngAsOfficeGraphic(const uint8_t* png, std::size_t size, int32_t widthHimetric,
                                            int32_t heightHimetric);

// The picture file inside such a stream, when it holds a PNG: every length
// is checked against the bytes there. False for anything else.
bool FindPngInOfficeGraphic(const uint8_t* data, std::size_t size, const uint8_t*& png, std::size_t& pngSize);

}  // namespace tolvani::object
