// Load and save speed of drawings. The drawing comes from TOLVANI_BENCH_FILE
// when set (make one with `tolvani-cli gen FILE --elements 1000000`), else
// it is generated in memory with TOLVANI_BENCH_ELEMENTS elements (default
// 1,000,000).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/DrawingGenerator.h"
#include "model/JwwFile.h"
#include "model/JwwStream.h"

namespace {

using namespace tolvani;

const std::vector<uint8_t>& DrawingBytes() {
    static const std::vector<uint8_t> bytes = [] {
        std::vector<uint8_t> out;
        if (const char* path = std::getenv("TOLVANI_BENCH_FILE")) {
            if (std::FILE* f = std::fopen(path, "rb")) {
                uint8_t buf[1 << 16];
                std::size_t n;
                while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
                std::fclose(f);
                return out;
            }
        }
        GeneratorOptions options;
        const char* n = std::getenv("TOLVANI_BENCH_ELEMENTS");
        options.elements = n ? std::atol(n) : 1000000;
        CJwwDoc doc;
        GenerateDrawing(doc, options);
        JwwStream ar(out);
        doc.Save(ar);
        return out;
    }();
    return bytes;
}

std::string TempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/" + name;
}

void BM_LoadFromMemory(benchmark::State& state) {
    const auto& bytes = DrawingBytes();
    for (auto _ : state) {
        CJwwDoc doc;
        doc.header.SetNewDrawingDefaults();
        JwwStream ar(bytes.data(), bytes.size());
        doc.Load(ar);
        benchmark::DoNotOptimize(doc.mainList.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadFromMemory)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_LoadFromFile(benchmark::State& state) {
    const auto& bytes = DrawingBytes();
    const std::string path = TempPath("tolvani-bench-load.jww");
    WriteFileAtomically(path, [&](std::FILE* f) { std::fwrite(bytes.data(), 1, bytes.size(), f); });
    for (auto _ : state) {
        CJwwDoc doc;
        doc.header.SetNewDrawingDefaults();
        LoadJwwFile(path, doc);
        benchmark::DoNotOptimize(doc.mainList.size());
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_SaveToMemory(benchmark::State& state) {
    const auto& bytes = DrawingBytes();
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    JwwStream in(bytes.data(), bytes.size());
    doc.Load(in);
    std::vector<uint8_t> out;
    out.reserve(bytes.size() + 4096);
    for (auto _ : state) {
        out.clear();
        JwwStream ar(out);
        doc.Save(ar);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SaveToMemory)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_SaveToFile(benchmark::State& state) {
    const auto& bytes = DrawingBytes();
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    JwwStream in(bytes.data(), bytes.size());
    doc.Load(in);
    const std::string path = TempPath("tolvani-bench-save.jww");
    for (auto _ : state) SaveJwwFile(path, doc);
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
