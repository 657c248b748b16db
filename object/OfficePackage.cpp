#include "object/OfficePackage.h"

#include <gsf/gsf-infile-zip.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-utils.h>
#include <cstring>

#include "object/CompoundFile.h"
#include "object/PngText.h"
#include "object/SvgData.h"

namespace tolvani::object {
namespace {

// Entries larger than this are passed over.
constexpr gsf_off_t kMaxEntry = gsf_off_t(1) << 30;
constexpr int kMaxDepth = 32;

bool ReadEntry(GsfInput* entry, std::vector<uint8_t>& out) {
    const gsf_off_t n = gsf_input_size(entry);
    if (n < 0 || n > kMaxEntry) return false;
    out.clear();
    constexpr gsf_off_t kPiece = 1 << 20;
    for (gsf_off_t left = n; left > 0;) {
        const gsf_off_t take = left < kPiece ? left : kPiece;
        const std::size_t old = out.size();
        out.resize(old + static_cast<std::size_t>(take));
        if (!gsf_input_read(entry, static_cast<std::size_t>(take), out.data() + old)) return false;
        left -= take;
    }
    return true;
}

// Only what may carry a drawing is looked into.
bool MayCarry(const std::vector<uint8_t>& b) {
    return HasCompoundFileSignature(b.data(), b.size()) || HasPngSignature(b.data(), b.size()) ||
           LooksLikeSvg(b.data(), b.size());
}

void Walk(GsfInfile* dir, const std::string& prefix, int depth, std::vector<PackageObject>& objects) {
    if (depth > kMaxDepth) return;
    const int n = gsf_infile_num_children(dir);
    for (int i = 0; i < n; ++i) {
        const char* name = gsf_infile_name_by_index(dir, i);
        GsfInput* child = gsf_infile_child_by_index(dir, i);
        if (!child) continue;
        const std::string path = prefix + (name ? name : "");
        if (GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0) {
            Walk(GSF_INFILE(child), path + "/", depth + 1, objects);
        } else {
            std::vector<uint8_t> bytes;
            if (ReadEntry(child, bytes) && MayCarry(bytes)) {
                ObjectBytes o = ExtractObjectData(bytes.data(), bytes.size());
                if (o.ok) {
                    const NativeReadResult r = ReadNativeData(o.native.data(), o.native.size(), path, true);
                    if (r.ok) objects.push_back({path, o.form, r.prefix, std::move(o.native)});
                }
            }
        }
        g_object_unref(child);
    }
}

}  // namespace

bool HasZipSignature(const uint8_t* data, std::size_t size) {
    return size >= 4 && data[0] == 'P' && data[1] == 'K' && data[2] == 3 && data[3] == 4;
}

bool ListPackageObjects(const uint8_t* data, std::size_t size, std::vector<PackageObject>& objects) {
    objects.clear();
    if (!HasZipSignature(data, size)) return false;
    InitGsf();
    GsfInput* input = gsf_input_memory_new(data, static_cast<gsf_off_t>(size), FALSE);
    GError* err = nullptr;
    GsfInfile* zip = gsf_infile_zip_new(input, &err);
    g_object_unref(input);
    if (err) g_error_free(err);
    if (!zip) return false;
    Walk(zip, "", 0, objects);
    g_object_unref(zip);
    return true;
}

}  // namespace tolvani::object
