#include "viewer/EmbeddedObject.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "model/JwwErrors.h"
#include "model/JwwFile.h"
#include "object/CompoundFile.h"
#include "object/ObjectFile.h"
#include "object/OfficePackage.h"

namespace tolvani::viewer {

const char* const EmbeddedObject::kNotAnObjectMessage = "このファイルは図面のオブジェクトではありません。";
const char* const EmbeddedObject::kPackageMessage =
    "文書の中のオブジェクトは直接開けません。tolvani-cli object extract 文書#番号 で取り出してください。";
const char* const EmbeddedObject::kBadExtentMessage = "ウィンドウの大きさが 0 のため、オブジェクトを更新できません。";
const char* const EmbeddedObject::kCompoundWriteMessage = "複合ファイルを書き直せませんでした。";
const char* const EmbeddedObject::kPictureWriteMessage = "オブジェクトの画像を作れませんでした。";
const char* const EmbeddedObject::kTooLargeMessage = "オブジェクトのファイルが大きすぎます。";

EmbeddedObject::EmbeddedObject(DrawingDocument& doc) : doc_(doc) {}

EmbeddedObject::Outcome EmbeddedObject::Open(const std::string& path) {
    Outcome out;
    std::vector<uint8_t> file;
    std::string reason;
    try {
        switch (object::ReadObjectFile(path, file, reason)) {
            case object::ObjectFileStatus::Read: break;
            case object::ObjectFileStatus::CannotOpen:
                out.message = kLocalReadErrorMessage;
                out.detail = path + (reason.empty() ? "" : "\n" + reason);
                return out;
            case object::ObjectFileStatus::TooLarge:
                out.message = kTooLargeMessage;
                out.detail = path;
                return out;
        }
        if (object::HasZipSignature(file.data(), file.size())) {
            out.message = kPackageMessage;
            out.detail = path;
            return out;
        }
        object::ObjectBytes bytes = object::ExtractObjectData(file.data(), file.size());
        if (!bytes.ok) {
            out.message = bytes.message;
            out.detail = path;
            return out;
        }
        object::NativeReadResult native = object::ReadNativeData(bytes.native.data(), bytes.native.size(), path);
        if (!native.ok) {
            // A file that is neither a picture nor a compound file may be
            // anything; what its reading found goes into the detail.
            if (bytes.form == object::ObjectForm::Raw) {
                out.message = kNotAnObjectMessage;
                out.detail = path + "\n" + native.message;
            } else {
                out.message = native.message;
                out.detail = path;
            }
            return out;
        }
        const object::NativePrefix& p = native.prefix;
        display::CJwwScreen& screen = doc_.Screen();
        screen.viewWidth = p.viewWidth;
        screen.viewHeight = p.viewHeight;
        screen.centerX = p.centerX;
        screen.centerY = p.centerY;
        doc_.Values().dotSize = p.dotSize;
        doc_.settings().zubVersion = p.zubVersion;
        doc_.TakeObjectDrawing(std::move(native.doc), {p.extentWidth, p.extentHeight}, path);
        path_ = path;
        form_ = bytes.form;
        file_ = std::move(file);
        written_ = p;
    } catch (const std::bad_alloc&) {
        out.message = kOutOfMemoryMessage;
        out.detail = path;
        return out;
    }
    out.ok = true;
    return out;
}

object::NativePrefix EmbeddedObject::CurrentPrefix() const {
    object::NativePrefix p;
    p.zubVersion = doc_.settings().zubVersion;
    const display::DeviceSize extent = doc_.objectExtent();
    p.extentWidth = extent.width;
    p.extentHeight = extent.height;
    const display::CJwwScreen& screen = doc_.Screen();
    p.viewWidth = screen.viewWidth;
    p.viewHeight = screen.viewHeight;
    p.centerX = screen.centerX;
    p.centerY = screen.centerY;
    p.dotSize = doc_.Values().dotSize;
    return p;
}

bool EmbeddedObject::HasUnwrittenChanges() const {
    return doc_.modified() || CurrentPrefix().dotSize != written_.dotSize;
}

EmbeddedObject::Outcome EmbeddedObject::Update() {
    Outcome out;
    if (!opened()) return out;
    // The object's size follows the view's size at the moment of the update.
    const display::DeviceSize extent = doc_.Values().extent;
    if (extent.width <= 0 || extent.height <= 0) {
        out.message = kBadExtentMessage;
        return out;
    }
    doc_.SetObjectExtent(extent);
    const object::NativePrefix prefix = CurrentPrefix();
    if (const std::string bad = object::CheckPrefix(prefix); !bad.empty()) {
        out.message = bad;
        return out;
    }
    std::vector<uint8_t> bytes;
    try {
        std::vector<uint8_t> native;
        // Saving counts the layers again, so it goes through the document.
        doc_.ChangeDrawing([&](CJwwDoc& d) { native = object::WriteNativeData(prefix, d); }, false);
        switch (form_) {
            case object::ObjectForm::Raw: bytes = std::move(native); break;
            case object::ObjectForm::Compound:
                if (!object::ReplaceContentsStream(file_.data(), file_.size(), native, bytes)) {
                    out.message = kCompoundWriteMessage;
                    out.detail = path_;
                    return out;
                }
                break;
            case object::ObjectForm::Png:
            case object::ObjectForm::Svg:
                if (picture_) bytes = picture_(form_, doc_.drawing(), prefix, native);
                if (bytes.empty()) {
                    out.message = kPictureWriteMessage;
                    out.detail = path_;
                    return out;
                }
                break;
        }
    } catch (const JwwStreamError& e) {
        out.message = e.UserMessage(path_);
        return out;
    } catch (const std::bad_alloc&) {
        out.message = kOutOfMemoryMessage;
        return out;
    }
    try {
        WriteBytesAtomically(path_, bytes.data(), bytes.size());
    } catch (const JwwFileError& e) {
        out.message = kLocalWriteErrorMessage;
        out.detail = path_ + "\n" + e.SystemReason();
        return out;
    } catch (const std::exception&) {
        out.message = kLocalWriteErrorMessage;
        out.detail = path_;
        return out;
    }
    file_ = std::move(bytes);
    written_ = prefix;
    doc_.SetModified(false);
    out.ok = true;
    return out;
}

void EmbeddedObject::DrawingReplaced() {
    if (opened()) doc_.SetModified(true);
}

EmbeddedObject::Outcome EmbeddedObject::Outport(const std::string& path) {
    Outcome out;
    const bool modified = doc_.modified();
    const SaveOutcome saved = doc_.SaveTo(path);
    if (modified) doc_.SetModified(true);
    if (!saved.ok()) {
        out.message = saved.message;
        out.detail = saved.detail;
        return out;
    }
    out.ok = true;
    return out;
}

}  // namespace tolvani::viewer
