#include "object/CompoundFile.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>
#include <cstring>
#include <memory>

namespace tolvani::object {
namespace {

constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr const char* kContents = "Contents";
// Streams larger than this are not read into memory.
constexpr gsf_off_t kMaxStream = gsf_off_t(1) << 31;

struct Unref {
    void operator()(void* p) const {
        if (p) g_object_unref(p);
    }
};
template <class T>
using Ref = std::unique_ptr<T, Unref>;

// Damaged files are reported by the return values; libgsf's own warnings
// about them are not for the user.
void Quiet(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

}  // namespace

void InitGsf() {
    static const bool done = [] {
        gsf_init();
        for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:zip", "GLib-GObject"})
            g_log_set_handler(domain, GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE),
                              Quiet, nullptr);
        return true;
    }();
    (void)done;
}

namespace {

Ref<GsfInfile> OpenStorage(const uint8_t* data, std::size_t size) {
    InitGsf();
    if (!HasCompoundFileSignature(data, size)) return nullptr;
    Ref<GsfInput> input(gsf_input_memory_new(data, static_cast<gsf_off_t>(size), FALSE));
    GError* err = nullptr;
    Ref<GsfInfile> ole(gsf_infile_msole_new(input.get(), &err));
    if (err) g_error_free(err);
    return ole;
}

bool ReadStream(GsfInput* stream, std::vector<uint8_t>& out) {
    const gsf_off_t n = gsf_input_size(stream);
    if (n < 0 || n > kMaxStream) return false;
    out.clear();
    // Read in pieces, so a stream that claims more than it holds fails
    // before its claimed size is allocated.
    constexpr gsf_off_t kPiece = 1 << 20;
    gsf_off_t left = n;
    while (left > 0) {
        const gsf_off_t take = left < kPiece ? left : kPiece;
        const std::size_t old = out.size();
        out.resize(old + static_cast<std::size_t>(take));
        if (!gsf_input_read(stream, static_cast<std::size_t>(take), out.data() + old)) return false;
        left -= take;
    }
    return true;
}

bool IsStorage(GsfInput* child) { return GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0; }

bool WriteStream(GsfOutfile* parent, const char* name, const uint8_t* data, std::size_t size) {
    Ref<GsfOutput> out(gsf_outfile_new_child(parent, name, FALSE));
    if (!out) return false;
    const bool ok = size == 0 || gsf_output_write(out.get(), size, data);
    return gsf_output_close(out.get()) && ok;
}

// Copies every child of `in` into `out`, putting `contents` in place of the
// top-level "Contents" stream (only when `contents` is not null).
bool CopyStorage(GsfInfile* in, GsfOutfile* out, const std::vector<uint8_t>* contents, bool& wroteContents, int depth) {
    if (depth > 64) return false;
    const int n = gsf_infile_num_children(in);
    for (int i = 0; i < n; ++i) {
        const char* name = gsf_infile_name_by_index(in, i);
        Ref<GsfInput> child(gsf_infile_child_by_index(in, i));
        if (!name || !child) return false;
        if (IsStorage(child.get())) {
            Ref<GsfOutput> sub(gsf_outfile_new_child(out, name, TRUE));
            if (!sub) return false;
            guint8 clsid[16];
            if (GSF_IS_INFILE_MSOLE(child.get()) && gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(child.get()), clsid))
                gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(sub.get()), clsid);
            const bool ok =
                CopyStorage(GSF_INFILE(child.get()), GSF_OUTFILE(sub.get()), nullptr, wroteContents, depth + 1);
            if (!gsf_output_close(sub.get()) || !ok) return false;
            continue;
        }
        if (contents && std::strcmp(name, kContents) == 0) {
            if (!WriteStream(out, name, contents->data(), contents->size())) return false;
            wroteContents = true;
            continue;
        }
        std::vector<uint8_t> bytes;
        if (!ReadStream(child.get(), bytes) || !WriteStream(out, name, bytes.data(), bytes.size())) return false;
    }
    return true;
}

bool Finish(GsfOutput* memory, GsfOutfile* ole, std::vector<uint8_t>& out) {
    if (!gsf_output_close(GSF_OUTPUT(ole))) return false;
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
    const gsf_off_t n = gsf_output_size(memory);
    if (!bytes || n <= 0) return false;
    out.assign(bytes, bytes + n);
    return true;
}

}  // namespace

bool HasCompoundFileSignature(const uint8_t* data, std::size_t size) {
    return size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

CompoundResult ReadContentsStream(const uint8_t* data, std::size_t size, std::vector<uint8_t>& contents) {
    Ref<GsfInfile> ole = OpenStorage(data, size);
    if (!ole) return CompoundResult::Damaged;
    Ref<GsfInput> stream(gsf_infile_child_by_name(ole.get(), kContents));
    if (!stream || IsStorage(stream.get())) return CompoundResult::NoContents;
    return ReadStream(stream.get(), contents) ? CompoundResult::Found : CompoundResult::Damaged;
}

bool WriteCompoundFile(const std::vector<uint8_t>& contents, std::vector<uint8_t>& out) {
    InitGsf();
    Ref<GsfOutput> memory(gsf_output_memory_new());
    Ref<GsfOutfile> ole(gsf_outfile_msole_new(memory.get()));
    if (!ole) return false;
    if (!WriteStream(ole.get(), kContents, contents.data(), contents.size())) return false;
    return Finish(memory.get(), ole.get(), out);
}

bool ReplaceContentsStream(const uint8_t* data, std::size_t size, const std::vector<uint8_t>& contents,
                           std::vector<uint8_t>& out) {
    Ref<GsfInfile> in = OpenStorage(data, size);
    if (!in) return false;
    Ref<GsfOutput> memory(gsf_output_memory_new());
    Ref<GsfOutfile> ole(gsf_outfile_msole_new(memory.get()));
    if (!ole) return false;
    guint8 clsid[16];
    if (gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(in.get()), clsid))
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole.get()), clsid);
    bool wrote = false;
    if (!CopyStorage(in.get(), ole.get(), &contents, wrote, 0)) return false;
    if (!wrote && !WriteStream(ole.get(), kContents, contents.data(), contents.size())) return false;
    return Finish(memory.get(), ole.get(), out);
}

}  // namespace tolvani::object
