// An object opened in its own window (tolvani -Embedding PATH): the file it
// came from and its form (native data as it is, a compound file's stream
// "Contents", a PNG or SVG picture carrying the data), how it is read into
// the document, and how "オブジェクト更新" writes it back in the same form
// with the view's current extent. No user interface: the window asks and
// shows, this class decides.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "object/NativeData.h"
#include "object/ObjectData.h"
#include "viewer/DrawingDocument.h"

namespace tolvani::viewer {

class EmbeddedObject {
public:
    explicit EmbeddedObject(DrawingDocument& doc);

    struct Outcome {
        bool ok = false;
        std::string message;  // for the user when not ok
        std::string detail;
    };

    // Reads the object at `path` into the document: the drawing, the view
    // window (W, H, Cx, Cy), DotSize, ZubVersion and the object extent from
    // its prefix. A file that is not an object, a picture without the data
    // or a compound file without "Contents" is refused; the document then
    // stays as it was.
    Outcome Open(const std::string& path);

    const std::string& path() const { return path_; }
    object::ObjectForm form() const { return form_; }
    bool opened() const { return !path_.empty(); }
    // The prefix as last read or written.
    const object::NativePrefix& written() const { return written_; }

    // The prefix of the document as it is now: its ZubVersion, the view's
    // current extent, view window and DotSize.
    object::NativePrefix CurrentPrefix() const;

    // Changes the object holds that are not yet in its file: a modified
    // drawing, or a point size other than the one written.
    bool HasUnwrittenChanges() const;

    // Draws a picture of the given form (PNG or SVG) that carries `native`;
    // empty when it cannot. Pictures are drawn by the window's side.
    using PictureMaker = std::function<std::vector<uint8_t>(object::ObjectForm, const CJwwDoc&,
                                                            const object::NativePrefix&, const std::vector<uint8_t>&)>;
    void SetPictureMaker(PictureMaker maker) { picture_ = std::move(maker); }

    // UpdateObject: the object extent becomes the view's extent, and the
    // object is written back to its file, atomically, in the form it came
    // in — a compound file keeps every other stream and storage, a picture
    // is drawn anew. On success the document is unmodified; on failure the
    // file stays as it was.
    Outcome Update();

    // The document's drawing was replaced (emptied, opened from a file,
    // given back by the external editor): the object has changed.
    void DrawingReplaced();

    // Outport: the drawing as a plain JWW file. Changes not yet written
    // back to the object stay unwritten (the document stays modified).
    Outcome Outport(const std::string& path);

    static const char* const kNotAnObjectMessage;
    static const char* const kPackageMessage;
    static const char* const kBadExtentMessage;
    static const char* const kCompoundWriteMessage;
    static const char* const kPictureWriteMessage;
    static const char* const kTooLargeMessage;

private:
    DrawingDocument& doc_;
    std::string path_;
    object::ObjectForm form_ = object::ObjectForm::Raw;
    // The file as last read or written: a compound file's other streams
    // are copied from it.
    std::vector<uint8_t> file_;
    object::NativePrefix written_;
    PictureMaker picture_;
};

}  // namespace tolvani::viewer
