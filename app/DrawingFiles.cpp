#include "app/DrawingFiles.h"

#include <new>

#include "model/JwwErrors.h"
#include "model/JwwFile.h"
#include "model/JwwStream.h"

namespace tolvani {

const char* const kLocalReadError = "ローカル読込でエラー！";
const char* const kLocalWriteError = "ローカル保存でエラー！";

DrawingLoad LoadDrawing(const std::string& path) {
    DrawingLoad out;
    out.doc = std::make_unique<CJwwDoc>();
    out.doc->header.SetNewDrawingDefaults();
    try {
        if (LoadJwwFile(path, *out.doc) == CJwwDoc::LoadResult::TooOld) {
            out.status = DrawingLoad::Status::TooOld;
            out.message = CJwwDoc::kTooOldMessage;
            out.doc->Clear();
        } else {
            out.status = DrawingLoad::Status::Loaded;
        }
    } catch (const JwwFileError& e) {
        out.status = DrawingLoad::Status::FileError;
        out.message = kLocalReadError;
        out.detail = e.what();
    } catch (const JwwStreamError& e) {
        out.status = DrawingLoad::Status::StreamError;
        out.message = e.UserMessage(path);
        out.detail = e.what();
    } catch (const std::bad_alloc&) {
        out.status = DrawingLoad::Status::StreamError;
        out.message = JwwOutOfMemoryError().UserMessage(path);
    }
    return out;
}

void WriteJwwBody(std::FILE* file, CJwwDoc& doc) {
    JwwStream ar(file, JwwStream::Mode::Storing);
    doc.Save(ar);
    ar.Flush();
}

DrawingSave SaveDrawing(const std::string& path, CJwwDoc& doc, const DrawingWriter& writer) {
    DrawingSave out;
    try {
        WriteFileAtomically(path, [&](std::FILE* f) { writer(f, doc); });
        out.saved = true;
    } catch (const JwwFileError& e) {
        out.message = kLocalWriteError;
        out.detail = e.what();
    } catch (const JwwStreamError& e) {
        out.message = e.UserMessage(path);
        out.detail = e.what();
    } catch (const std::bad_alloc&) {
        out.message = JwwOutOfMemoryError().UserMessage(path);
    } catch (const std::exception& e) {
        out.message = kLocalWriteError;
        out.detail = e.what();
    }
    return out;
}

}  // namespace tolvani
