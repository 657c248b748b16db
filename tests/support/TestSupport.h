// Helpers shared by the tests: byte fixtures, the sample drawings, and
// loading and saving drawings in memory.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "model/CJwwDoc.h"

namespace tolvani::test {

using Bytes = std::vector<uint8_t>;

// Builds little-endian byte fixtures.
class ByteWriter {
public:
    ByteWriter& u8(uint8_t v) { return raw(&v, 1); }
    ByteWriter& u16(uint16_t v) { return raw(&v, 2); }
    ByteWriter& u32(uint32_t v) { return raw(&v, 4); }
    ByteWriter& i64(int64_t v) { return raw(&v, 8); }
    ByteWriter& f64(double v) { return raw(&v, 8); }
    ByteWriter& str(const std::string& s) {  // 8-bit string, short prefix
        u8(static_cast<uint8_t>(s.size()));
        return raw(s.data(), s.size());
    }
    ByteWriter& text(const std::string& s) { return raw(s.data(), s.size()); }
    ByteWriter& raw(const void* p, std::size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        bytes.insert(bytes.end(), b, b + n);
        return *this;
    }
    ByteWriter& append(const Bytes& b) { return raw(b.data(), b.size()); }
    Bytes bytes;
};

// Where a fixture appends elements: a definition's own list, or the main
// list through the drawing's operation.
class ElementTarget {
public:
    ElementTarget(ElementList& list) : list_(&list) {}  // NOLINT: converts on purpose
    ElementTarget(CJwwDoc& doc) : doc_(&doc) {}         // NOLINT
    template <typename T>
    T& Add(std::unique_ptr<T> element) {
        T& ref = *element;
        if (doc_)
            doc_->AddElement(std::move(element));
        else
            list_->push_back(std::move(element));
        return ref;
    }

private:
    ElementList* list_ = nullptr;
    CJwwDoc* doc_ = nullptr;
};

// A new drawing of `count` vertical lines from (i·step, y0) to (i·step, y1).
std::unique_ptr<CJwwDoc> LinesDrawing(int count, double step = 1, double y0 = 0, double y1 = 10);

// The sample drawings' folder, or "" when it is absent.
std::string SamplesDir();
// The paths of every *.jww sample, sorted; empty when the folder is absent.
std::vector<std::string> SamplePaths();

Bytes ReadFileBytes(const std::string& path);

// Saves the drawing into memory.
Bytes SaveToBytes(CJwwDoc& doc);
// Loads bytes into a drawing that first gets the new-drawing defaults.
CJwwDoc::LoadResult LoadFromBytes(CJwwDoc& doc, const Bytes& bytes);

// The bytes a new drawing's header record takes (version 600 defaults).
Bytes NewDrawingHeaderBytes();

// The offset of the first byte where a and b differ, or -1 when equal.
long FirstDifference(const Bytes& a, const Bytes& b);

// A fresh temporary folder for one test, removed by the caller if wanted.
std::string MakeTempDir();

// Writes the bytes to dir/name and returns the path; the test fails when
// the file cannot be written.
std::string WriteTestFile(const std::string& dir, const std::string& name, const std::string& bytes);

}  // namespace tolvani::test
