// Makes reproducible drawings of any size, for benchmarks, tests and fuzzer
// seeds: lines, arcs and circles, texts, points, solids, dimensions and
// block insertions spread over every layer group and layer.
#pragma once

#include <cstdint>

#include "model/CJwwDoc.h"

namespace tolvani {

struct GeneratorOptions {
    long elements = 1000;
    uint64_t seed = 1;
    int definitions = 50;
};

// Fills `doc` (which is cleared and given the new-drawing defaults) with a
// drawing on A1 paper.
void GenerateDrawing(CJwwDoc& doc, const GeneratorOptions& options);

}  // namespace tolvani
