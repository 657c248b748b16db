// Loads arbitrary bytes as a drawing, then saves, reloads and walks what was
// read. Any crash, leak, hang or sanitizer report is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "blocks/BlockDump.h"
#include "model/CJwwDoc.h"
#include "model/JwwStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tolvani;
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    bool loaded = false;
    try {
        JwwStream ar(data, size);
        loaded = doc.Load(ar) == CJwwDoc::LoadResult::Loaded;
    } catch (const JwwStreamError&) {
    }
    doc.CountLayerElements();
    (void)DumpInsertions(doc, doc.mainList, nullptr);
    (void)DumpDefinitions(doc);
    if (!loaded) return 0;
    // A drawing that loaded must save, and the saved bytes must load again.
    std::vector<uint8_t> saved;
    {
        JwwStream out(saved);
        doc.Save(out);
    }
    CJwwDoc again;
    again.header.SetNewDrawingDefaults();
    JwwStream in(saved.data(), saved.size());
    if (again.Load(in) != CJwwDoc::LoadResult::Loaded || again.mainList.size() != doc.mainList.size() ||
        again.blockList.size() != doc.blockList.size())
        __builtin_trap();
    return 0;
}
