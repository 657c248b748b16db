// The object's native data: a 56-byte prefix (signature, version, object
// extent, view window, point size) followed by the drawing exactly as a JWW
// file holds it. It is what a copied or embedded drawing stores.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/CJwwDoc.h"

namespace tolvani::object {

// The name under which pictures and clipboards carry the native data.
extern const char* const kObjectName;  // "Tolvani.Document"
extern const char* const kSignature;   // "Tolvani"

struct NativePrefix {
    int32_t zubVersion = 100;
    int32_t extentWidth = 0;  // HIMETRIC (0.01 mm)
    int32_t extentHeight = 0;
    double viewWidth = 0;   // W, drawing millimetres
    double viewHeight = 0;  // H
    double centerX = 0;     // Cx
    double centerY = 0;     // Cy
    int32_t dotSize = 16;   // tenths of a millimetre
};

// The 56 bytes of the prefix.
std::vector<uint8_t> WriteNativePrefix(const NativePrefix& prefix);
// The prefix followed by the drawing's save.
std::vector<uint8_t> WriteNativeData(const NativePrefix& prefix, CJwwDoc& doc);

// The prefix for a drawing shown as a whole: the paper fitted into the
// extent (HIMETRIC), or, for an empty extent, the paper at 1:1.
NativePrefix WholePaperPrefix(const CJwwDoc& doc, int32_t extentWidth = 0, int32_t extentHeight = 0);

// Empty when the prefix can be used; otherwise the user message saying what
// is wrong with it.
std::string CheckPrefix(const NativePrefix& prefix);

struct NativeReadResult {
    bool ok = false;
    std::string message;  // for !ok
    NativePrefix prefix;
    std::size_t bodyOffset = 0;    // where "JwwData." starts
    std::unique_ptr<CJwwDoc> doc;  // loaded with the new-drawing defaults first
};

// Reads the prefix and, unless prefixOnly, the drawing. `name` stands for
// the data in messages (a path, or empty for "無題のファイル").
NativeReadResult ReadNativeData(const uint8_t* data, std::size_t size, const std::string& name,
                                bool prefixOnly = false);

}  // namespace tolvani::object
