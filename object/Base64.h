// Base64 (RFC 4648, with padding) for object data carried inside pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolvani::object {

std::string EncodeBase64(const uint8_t* data, std::size_t size);

// Decodes base64 text; white space between the characters is skipped.
// Returns false for any other character, bad padding or a cut-short group.
bool DecodeBase64(const char* text, std::size_t size, std::vector<uint8_t>& out);

}  // namespace tolvani::object
