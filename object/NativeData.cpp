#include "object/NativeData.h"

#include <cmath>
#include <cstring>
#include <new>

#include "display/DrawDocument.h"
#include "model/JwwErrors.h"
#include "model/JwwStream.h"

namespace tolvani::object {

const char* const kObjectName = "Tolvani.Document";
const char* const kSignature = "Tolvani";

namespace {

constexpr int32_t kMaxDotSize = 10000;

void ReadPrefix(JwwStream& ar, NativePrefix& p) {
    JwwString signature;
    ar.GetString(signature);  // any text, thrown away
    p.zubVersion = ar.GetInt();
    p.extentWidth = ar.GetInt();
    p.extentHeight = ar.GetInt();
    p.viewWidth = ar.GetDouble();
    p.viewHeight = ar.GetDouble();
    p.centerX = ar.GetDouble();
    p.centerY = ar.GetDouble();
    p.dotSize = ar.GetInt();
}

void PutPrefix(JwwStream& ar, const NativePrefix& p) {
    ar.PutString(JwwString(kSignature));
    ar.PutInt(p.zubVersion);
    ar.PutInt(p.extentWidth);
    ar.PutInt(p.extentHeight);
    ar.PutDouble(p.viewWidth);
    ar.PutDouble(p.viewHeight);
    ar.PutDouble(p.centerX);
    ar.PutDouble(p.centerY);
    ar.PutInt(p.dotSize);
}

}  // namespace

std::vector<uint8_t> WriteNativePrefix(const NativePrefix& p) {
    std::vector<uint8_t> out;
    JwwStream ar(out);
    PutPrefix(ar, p);
    ar.Flush();
    return out;
}

std::vector<uint8_t> WriteNativeData(const NativePrefix& p, CJwwDoc& doc) {
    std::vector<uint8_t> out;
    JwwStream ar(out);
    PutPrefix(ar, p);
    doc.Save(ar);
    ar.Flush();
    return out;
}

NativePrefix WholePaperPrefix(const CJwwDoc& doc, int32_t extentWidth, int32_t extentHeight) {
    NativePrefix p;
    double pw, ph;
    display::PaperSize(doc.shownPaperSize, pw, ph);
    if (extentWidth <= 0 || extentHeight <= 0) {
        extentWidth = static_cast<int32_t>(std::lround(pw * 100));
        extentHeight = static_cast<int32_t>(std::lround(ph * 100));
    }
    p.extentWidth = extentWidth;
    p.extentHeight = extentHeight;
    display::ViewValues values;
    values.extent = {extentWidth, extentHeight};
    values.clientSize = values.extent;
    values.clientHimetric = values.extent;
    display::CJwwScreen screen;
    display::FitPaper(doc, screen, values);
    p.viewWidth = screen.viewWidth;
    p.viewHeight = screen.viewHeight;
    p.centerX = screen.centerX;
    p.centerY = screen.centerY;
    return p;
}

std::string CheckPrefix(const NativePrefix& p) {
    if (p.extentWidth <= 0 || p.extentHeight <= 0)
        return "オブジェクトのデータが正しくありません: 大きさ (" + std::to_string(p.extentWidth) + " × " +
               std::to_string(p.extentHeight) + ") が正の値ではありません。";
    if (!std::isfinite(p.viewWidth) || !std::isfinite(p.viewHeight) || !(p.viewWidth > 0) || !(p.viewHeight > 0))
        return "オブジェクトのデータが正しくありません: 表示範囲の幅と高さが正の値ではありません。";
    if (!std::isfinite(p.centerX) || !std::isfinite(p.centerY))
        return "オブジェクトのデータが正しくありません: 表示範囲の中心が数値ではありません。";
    if (p.dotSize < 0 || p.dotSize > kMaxDotSize)
        return "オブジェクトのデータが正しくありません: 点の大きさ (" + std::to_string(p.dotSize) + ") が範囲外です。";
    return {};
}

NativeReadResult ReadNativeData(const uint8_t* data, std::size_t size, const std::string& name, bool prefixOnly) {
    NativeReadResult r;
    try {
        JwwStream ar(data, size);
        ReadPrefix(ar, r.prefix);
        r.bodyOffset = static_cast<std::size_t>(size - ar.Remaining());
        r.message = CheckPrefix(r.prefix);
        if (!r.message.empty()) return r;
        if (prefixOnly) {
            r.ok = true;
            return r;
        }
        if (size - r.bodyOffset < 8 ||
            std::string(reinterpret_cast<const char*>(data) + r.bodyOffset, 8) != "JwwData.") {
            r.message = "オブジェクトのデータが正しくありません: 図面のデータがありません。";
            return r;
        }
        r.doc = std::make_unique<CJwwDoc>();
        r.doc->header.SetNewDrawingDefaults();
        if (r.doc->Load(ar) == CJwwDoc::LoadResult::TooOld) {
            r.message = CJwwDoc::kTooOldMessage;
            return r;
        }
        r.ok = true;
    } catch (const JwwStreamError& e) {
        r.message = e.UserMessage(name);
    } catch (const std::bad_alloc&) {
        r.message = kOutOfMemoryMessage;
    }
    return r;
}

}  // namespace tolvani::object
