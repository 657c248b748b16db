// Reads arbitrary bytes as an object (native data, a PNG or SVG picture
// carrying it, such a PNG in the office suites' clipboard picture stream, or
// a compound file's stream "Contents"); an object that reads
// is written again and must read back with the same prefix, and a compound
// file's "Contents" replaced must read back as written. Any crash, leak, hang or sanitizer report is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "object/CompoundFile.h"
#include "object/NativeData.h"
#include "object/ObjectData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tolvani;
    const object::ObjectBytes bytes = object::ExtractObjectData(data, size);
    if (!bytes.ok) return 0;
    object::NativeReadResult r = object::ReadNativeData(bytes.native.data(), bytes.native.size(), "");
    if (!r.ok) return 0;
    const std::vector<uint8_t> again = object::WriteNativeData(r.prefix, *r.doc);
    const object::NativeReadResult back = object::ReadNativeData(again.data(), again.size(), "");
    if (!back.ok || back.bodyOffset != 56 || back.prefix.extentWidth != r.prefix.extentWidth ||
        back.prefix.extentHeight != r.prefix.extentHeight || back.prefix.dotSize != r.prefix.dotSize ||
        back.doc->mainList.size() != r.doc->mainList.size() || back.doc->blockList.size() != r.doc->blockList.size())
        __builtin_trap();
    if (bytes.form == object::ObjectForm::Compound) {
        std::vector<uint8_t> replaced, contents;
        if (!object::ReplaceContentsStream(data, size, again, replaced)) return 0;
        if (object::ReadContentsStream(replaced.data(), replaced.size(), contents) != object::CompoundResult::Found ||
            contents != again)
            __builtin_trap();
    }
    return 0;
}
