// Objects in compound files (structured storage), as Windows containers
// store them: the native data is the stream "Contents" at the top of the
// storage. Read and written through libgsf.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolvani::object {

// Starts libgsf once, with its warnings about damaged files silenced.
void InitGsf();

bool HasCompoundFileSignature(const uint8_t* data, std::size_t size);

enum class CompoundResult { Found, NoContents, Damaged };

// The bytes of the top-level stream "Contents".
CompoundResult ReadContentsStream(const uint8_t* data, std::size_t size, std::vector<uint8_t>& contents);

// A new compound file holding only the stream "Contents".
bool WriteCompoundFile(const std::vector<uint8_t>& contents, std::vector<uint8_t>& out);

// A copy of the compound file in which "Contents" holds the new bytes and
// every other stream and storage, and every storage's class, is copied
// unchanged. False when the original cannot be read.
bool ReplaceContentsStream(const uint8_t* data, std::size_t size, const std::vector<uint8_t>& contents,
                           std::vector<uint8_t>& out);

}  // namespace tolvani::object
