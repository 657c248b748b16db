#include "tests/support/TestSupport.h"

#include <dirent.h>
#include <sys/stat.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "model/CData.h"
#include "model/JwwStream.h"

namespace tolvani::test {

std::unique_ptr<CJwwDoc> LinesDrawing(int count, double step, double y0, double y1) {
    auto doc = std::make_unique<CJwwDoc>();
    doc->header.SetNewDrawingDefaults();
    for (int i = 0; i < count; ++i) {
        auto line = std::make_unique<CDataSen>();
        line->start = {i * step, y0};
        line->end = {i * step, y1};
        doc->AddElement(std::move(line));
    }
    return doc;
}

std::string SamplesDir() {
    const char* env = std::getenv("TOLVANI_SAMPLES");
    std::string dir = env ? env : TOLVANI_SAMPLES_DIR;
    struct stat st;
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return "";
    return dir;
}

std::vector<std::string> SamplePaths() {
    std::vector<std::string> out;
    const std::string dir = SamplesDir();
    if (dir.empty()) return out;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name.size() > 4 && name.substr(name.size() - 4) == ".jww") out.push_back(dir + "/" + name);
        }
        closedir(d);
    }
    std::sort(out.begin(), out.end());
    return out;
}

Bytes ReadFileBytes(const std::string& path) {
    Bytes out;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t buf[65536];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
        std::fclose(f);
    }
    return out;
}

Bytes SaveToBytes(CJwwDoc& doc) {
    Bytes out;
    {
        JwwStream ar(out);
        doc.Save(ar);
    }
    return out;
}

CJwwDoc::LoadResult LoadFromBytes(CJwwDoc& doc, const Bytes& bytes) {
    doc.Clear();
    doc.header.SetNewDrawingDefaults();
    JwwStream ar(bytes.data(), bytes.size());
    return doc.Load(ar);
}

Bytes NewDrawingHeaderBytes() {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    Bytes out;
    {
        JwwStream ar(out);
        doc.header.Serialize(ar);
    }
    return out;
}

long FirstDifference(const Bytes& a, const Bytes& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(n);
}

std::string MakeTempDir() {
    char tmpl[] = "/tmp/tolvani-test-XXXXXX";
    const char* d = mkdtemp(tmpl);
    return d ? std::string(d) : std::string("/tmp");
}

std::string WriteTestFile(const std::string& dir, const std::string& name, const std::string& bytes) {
    const std::string path = dir + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr) << path;
    if (f) {
        EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size()) << path;
        std::fclose(f);
    }
    return path;
}

}  // namespace tolvani::test
