#include "app/ui/ObjectClipboard.h"

namespace tolvani::object {

const char* const kObjectMimeType = "application/x-tolvani-object";

QMimeData* MakeObjectMimeData(const std::vector<uint8_t>& native, const QByteArray& png, const QByteArray& svg) {
    auto* data = new QMimeData;
    data->setData(kObjectMimeType,
                  QByteArray(reinterpret_cast<const char*>(native.data()), static_cast<qsizetype>(native.size())));
    if (!png.isEmpty()) data->setData("image/png", png);
    if (!svg.isEmpty()) data->setData("image/svg+xml", svg);
    return data;
}

}  // namespace tolvani::object
