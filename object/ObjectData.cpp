#include "object/ObjectData.h"

#include <new>

#include "model/JwwErrors.h"
#include "object/Base64.h"
#include "object/CompoundFile.h"
#include "object/NativeData.h"
#include "object/OfficeGraphic.h"
#include "object/PngText.h"
#include "object/SvgData.h"

namespace tolvani::object {

const char* FormName(ObjectForm form) {
    switch (form) {
        case ObjectForm::Png: return "png";
        case ObjectForm::Svg: return "svg";
        case ObjectForm::Compound: return "ole";
        case ObjectForm::Raw: break;
    }
    return "raw";
}

ObjectBytes ExtractObjectData(const uint8_t* data, std::size_t size) {
    ObjectBytes r;
    // The office suites' clipboard picture stream stands for the PNG it holds.
    const uint8_t* png = nullptr;
    std::size_t pngSize = 0;
    if (FindPngInOfficeGraphic(data, size, png, pngSize) && HasPngSignature(png, pngSize)) {
        data = png;
        size = pngSize;
    }
    try {
        if (HasPngSignature(data, size)) {
            r.form = ObjectForm::Png;
            std::string text;
            switch (FindPngText(data, size, kObjectName, text)) {
                case PngTextResult::Found:
                    if (!DecodeBase64(text.data(), text.size(), r.native)) {
                        r.message = "画像に含まれる図面のデータが壊れています。";
                        return r;
                    }
                    break;
                case PngTextResult::NotFound:
                case PngTextResult::NotPng: r.message = "この画像には図面のデータが含まれていません。"; return r;
                case PngTextResult::Damaged: r.message = "PNG 画像が壊れています。"; return r;
                case PngTextResult::TooLarge: r.message = "画像に含まれる図面のデータが大きすぎます。"; return r;
            }
        } else if (HasCompoundFileSignature(data, size)) {
            r.form = ObjectForm::Compound;
            switch (ReadContentsStream(data, size, r.native)) {
                case CompoundResult::Found: break;
                case CompoundResult::NoContents:
                    r.message = "この複合ファイルにはオブジェクトのデータ（Contents）がありません。";
                    return r;
                case CompoundResult::Damaged: r.message = "複合ファイルが壊れています。"; return r;
            }
        } else if (LooksLikeSvg(data, size)) {
            r.form = ObjectForm::Svg;
            switch (FindSvgData(data, size, kObjectName, r.native)) {
                case SvgDataResult::Found: break;
                case SvgDataResult::NotFound: r.message = "この画像には図面のデータが含まれていません。"; return r;
                case SvgDataResult::Damaged: r.message = "画像に含まれる図面のデータが壊れています。"; return r;
            }
        } else {
            r.form = ObjectForm::Raw;
            r.native.assign(data, data + size);
        }
    } catch (const std::bad_alloc&) {
        r.native.clear();
        r.message = kOutOfMemoryMessage;
        return r;
    }
    r.ok = true;
    return r;
}

}  // namespace tolvani::object
