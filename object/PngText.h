// Text chunks of PNG files, read and written by the program itself: a PNG
// is an 8-byte signature and chunks of length, type, data and CRC, and the
// object data that a picture carries can be larger than general PNG
// readers accept in a text chunk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolvani::object {

// The largest text the reader gives back (after decompression).
constexpr std::size_t kMaxPngText = std::size_t(1) << 30;

bool HasPngSignature(const uint8_t* data, std::size_t size);

enum class PngTextResult {
    Found,
    NotFound,  // a whole, valid PNG without that keyword
    NotPng,    // no PNG signature
    Damaged,   // a chunk runs past the end, a CRC is wrong, or the text does not decompress
    TooLarge,  // the text would exceed kMaxPngText
};

// Finds the first tEXt, zTXt or iTXt chunk with this keyword and gives its
// text. Every chunk length is checked against the bytes left and every CRC
// is checked, up to the chunk that holds the text.
PngTextResult FindPngText(const uint8_t* data, std::size_t size, const std::string& keyword, std::string& text,
                          std::size_t limit = kMaxPngText);

// Adds a compressed text chunk (zTXt) with the keyword before the image's
// end chunk. Returns false when `png` is not a PNG that ends in IEND or the
// keyword is not 1 to 79 printable Latin-1 characters.
bool AddPngText(std::vector<uint8_t>& png, const std::string& keyword, const std::string& text);

uint32_t Crc32(const uint8_t* data, std::size_t size, uint32_t crc = 0);

}  // namespace tolvani::object
