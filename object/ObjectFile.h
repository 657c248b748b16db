// Reading an object file (raw data, picture, compound file or office
// document) whole, within a bound, before its form is told from its bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolvani::object {

// Objects are read whole; larger files are refused before reading.
inline constexpr long long kMaxObjectFile = 1LL << 31;

enum class ObjectFileStatus { Read, CannotOpen, TooLarge };

// Reads the file at `path` into `bytes`. `reason` gets the system's words
// when the file cannot be opened.
ObjectFileStatus ReadObjectFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason);

}  // namespace tolvani::object
