#include "display/qt/ImageDraw.h"

#include <QPainter>

#include "display/qt/QtCanvas.h"

namespace tolvani::display {

DrawReport DrawDrawingToImage(QImage& image, const CJwwDoc& doc, CJwwScreen& screen, const ViewValues& values,
                              const DrawControl& control) {
    if (image.isNull()) return {};
    const double dpiX = control.dpiX > 0 ? control.dpiX : image.dotsPerMeterX() * 0.0254;
    const double dpiY = control.dpiY > 0 ? control.dpiY : image.dotsPerMeterY() * 0.0254;
    // The image's own pixels, one per device unit, whatever its pixel ratio.
    QImage pixels(image.bits(), image.width(), image.height(), image.bytesPerLine(), image.format());
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
        image.format() == QImage::Format_MonoLSB)
        pixels.setColorTable(image.colorTable());
    QPainter painter(&pixels);
    QtCanvas canvas(painter, dpiX, dpiY, &pixels);
    if (!SetUpDrawingContext(canvas, screen, values)) return {};
    return DrawMainList(canvas, doc, screen, values, control.cancel);
}

}  // namespace tolvani::display
