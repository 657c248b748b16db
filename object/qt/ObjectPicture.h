// The object's picture: the part of the drawing that the view window shows
// (the prefix's W, H, Cx, Cy), drawn at the object extent's physical size,
// as PNG or SVG bytes that carry the native data.
#pragma once

#include <QByteArray>
#include <QImage>
#include <vector>

#include "display/DrawDocument.h"
#include "object/NativeData.h"

namespace tolvani::object {

// Pictures are drawn at 96 dots per inch, less when the long side would
// exceed this many pixels.
constexpr int kMaxPicturePixels = 4096;

// The resolution at which the extent is drawn.
double PictureDpi(const NativePrefix& prefix);

QImage DrawObjectImage(const CJwwDoc& doc, const NativePrefix& prefix, display::DrawReport* report = nullptr);

// PNG with the native data base64-encoded in a zTXt chunk named kObjectName.
QByteArray MakeObjectPng(const CJwwDoc& doc, const NativePrefix& prefix, const std::vector<uint8_t>& native);
// SVG of the extent in millimetres with the native data in its <metadata>.
QByteArray MakeObjectSvg(const CJwwDoc& doc, const NativePrefix& prefix, const std::vector<uint8_t>& native);

}  // namespace tolvani::object
