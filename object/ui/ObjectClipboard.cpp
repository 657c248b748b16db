#include "object/ui/ObjectClipboard.h"

#include "object/OfficeGraphic.h"

namespace tolvani::object {

const char* const kObjectMimeType = "application/x-tolvani-object";

namespace {

QByteArray ToByteArray(const std::vector<uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

QMimeData* MakeObjectMimeData(const NativePrefix& prefix, const std::vector<uint8_t>& native, const QByteArray& png,
                              const QByteArray& svg) {
    auto* data = new QMimeData;
    data->setData(kObjectMimeType, ToByteArray(native));
    if (!png.isEmpty()) {
        const std::vector<uint8_t> office =
            WrapPngAsOfficeGraphic(reinterpret_cast<const uint8_t*>(png.constData()),
                                   static_cast<std::size_t>(png.size()), prefix.extentWidth, prefix.extentHeight);
        if (!office.empty()) data->setData(kOfficeGraphicMimeType, ToByteArray(office));
        data->setData("image/png", png);
    }
    if (!svg.isEmpty()) data->setData("image/svg+xml", svg);
    return data;
}

}  // namespace tolvani::object
