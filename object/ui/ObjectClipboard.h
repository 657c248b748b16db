// The drawing as an object on the clipboard: the native data under the
// program's own type, and PNG and SVG pictures that carry it, so that an
// office program pastes a picture that can be turned back into the drawing.
#pragma once

#include <QByteArray>
#include <QMimeData>
#include <vector>

#include "object/NativeData.h"

namespace tolvani::object {

extern const char* const kObjectMimeType;  // "application/x-tolvani-object"

// The clipboard's data; no text form, so nothing pastes as text. The PNG is
// offered twice: as image/png, and in the office suites' own picture stream
// at the object's extent, which they keep byte for byte when they paste it.
QMimeData* MakeObjectMimeData(const NativePrefix& prefix, const std::vector<uint8_t>& native, const QByteArray& png,
                              const QByteArray& svg);

}  // namespace tolvani::object
