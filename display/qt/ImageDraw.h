// Draws a drawing into an image, in horizontal bands on several threads.
#pragma once

#include <QImage>

#include "display/CJwwScreen.h"
#include "display/DrawDocument.h"
#include "model/CJwwDoc.h"

namespace tolvani::display {

// Draws the drawing into the whole image (which the caller has filled with
// the background), in horizontal bands on `control.threads` threads (0: one
// per core). Device units are the image's pixels, whatever its device pixel
// ratio; the resolution is control.dpiX and dpiY, or the image's dots per
// metre. Sets up `screen` as DrawDrawing does; the bands draw on copies of
// it. The picture is the same at every thread count. `control.cancel`, once
// set, stops every band at its next element; the report then says
// `cancelled` and the image holds what was drawn until then.
DrawReport DrawDrawingToImage(QImage& image, const CJwwDoc& doc, CJwwScreen& screen, const ViewValues& values,
                              const DrawControl& control);

}  // namespace tolvani::display
