#include "model/JwwFile.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <memory>
#include <new>

#include "model/InputFile.h"
#include "model/JwwStream.h"

namespace tolvani {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

CJwwDoc::LoadResult LoadJwwFile(const std::string& path, CJwwDoc& doc) {
    doc.Clear();
    const int fd = OpenInputFile(path);
    FilePtr f(::fdopen(fd, "rb"));
    if (!f) {
        const int err = errno;
        ::close(fd);
        throw JwwFileError("cannot open " + path, err);
    }
    JwwStream ar(f.get(), JwwStream::Mode::Loading);
    return doc.Load(ar);
}

void SaveJwwFile(const std::string& path, CJwwDoc& doc) {
    WriteFileAtomically(path, [&doc](std::FILE* f) {
        JwwStream ar(f, JwwStream::Mode::Storing);
        doc.Save(ar);
        ar.Flush();
    });
}

LoadOutcome LoadDrawingFile(const std::string& path) {
    LoadOutcome out;
    out.doc = std::make_unique<CJwwDoc>();
    out.doc->header.SetNewDrawingDefaults();
    try {
        if (LoadJwwFile(path, *out.doc) == CJwwDoc::LoadResult::TooOld) {
            out.status = LoadOutcome::Status::TooOld;
            out.message = CJwwDoc::kTooOldMessage;
            out.detail = path;
        } else {
            out.status = LoadOutcome::Status::Loaded;
        }
    } catch (const JwwFileError& e) {
        out.status = LoadOutcome::Status::FileError;
        out.message = kLocalReadErrorMessage;
        out.reason = e.SystemReason();
        out.detail = out.reason.empty() ? path : path + "\n" + out.reason;
        // A file that broke off while it was read gives no element.
        out.doc->Clear();
    } catch (const JwwStreamError& e) {
        out.status = LoadOutcome::Status::StreamError;
        out.message = e.UserMessage(path);
    } catch (const std::bad_alloc&) {
        out.status = LoadOutcome::Status::StreamError;
        out.message = JwwOutOfMemoryError().UserMessage(path);
    }
    return out;
}

SaveOutcome SaveDrawingFile(const std::string& path, CJwwDoc& doc) {
    SaveOutcome out;
    try {
        SaveJwwFile(path, doc);
    } catch (const JwwFileError& e) {
        out.status = SaveOutcome::Status::FileError;
        out.message = kLocalWriteErrorMessage;
        out.detail = e.SystemReason();
    } catch (const JwwStreamError& e) {
        out.status = SaveOutcome::Status::StreamError;
        out.message = e.UserMessage(path);
    } catch (const std::bad_alloc&) {
        out.status = SaveOutcome::Status::StreamError;
        out.message = JwwOutOfMemoryError().UserMessage(path);
    }
    return out;
}

}  // namespace tolvani
