// Pictures of a whole drawing as PNG, SVG or PDF bytes, drawn through the
// same DrawDrawing as every other target: the paper fitted to the target
// area, DotSize 16, the drawing's own screen colours, a white background.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPainter>

#include "display/DrawDocument.h"
#include "model/CJwwDoc.h"

namespace tolvani::display {

struct ExportOptions {
    int width = 1600;  // device pixels (PNG, SVG)
    int height = 1131;
    double dpi = 96;  // device pixels per inch
    int32_t dotSize = 16;
    int threads = 1;  // of the image draw (PNG); 0: one per core
    // SVG and PDF: the most shapes drawn (0: no bound). Past it the draw
    // stops, the report says cancelled and no bytes are returned.
    std::size_t maxVectorShapes = 0;
};

// The bound of the command-line tool's vector outputs, which grow with every
// shape drawn (about 150 bytes a shape in SVG).
inline constexpr std::size_t kMaxVectorShapes = 2000000;

// Fits the paper into a target of `pixels` device units at the painter's
// resolution and draws the drawing onto the painter, which is active on a
// device of that size. `image` is the painter's image, when it draws on one.
// With a `shapeLimit`, at most that many shapes are drawn (see
// ShapeLimitCanvas) and the report says cancelled past it.
DrawReport PaintWholePaper(QPainter& painter, QImage* image, double dpiX, double dpiY, DeviceSize pixels,
                           const CJwwDoc& doc, int32_t dotSize, std::size_t shapeLimit = 0);

// Draws the part of the drawing that a view shows, at the view's physical
// size (its extent in `values`), from the top-left corner of a painter
// active on a device of dpiX × dpiY device units per inch, such as a printed
// page. The view's drawing context comes by value: the view's own stays as
// it is. Nothing outside the view's area is drawn.
DrawReport PaintViewAtPhysicalSize(QPainter& painter, double dpiX, double dpiY, const CJwwDoc& doc, CJwwScreen screen,
                                   const ViewValues& values);

// An opaque RGB32 image of the whole paper, drawn in bands on
// `options.threads` threads.
QImage RenderImage(const CJwwDoc& doc, const ExportOptions& options, DrawReport* report);

QByteArray ExportPng(const CJwwDoc& doc, const ExportOptions& options, DrawReport* report);
// viewBox W×H, width and height in millimetres of the extent. Empty past
// options.maxVectorShapes.
QByteArray ExportSvg(const CJwwDoc& doc, const ExportOptions& options, DrawReport* report);
// One A4 landscape page with the paper fitted to it (the size is ignored).
// Empty past options.maxVectorShapes.
QByteArray ExportPdf(const CJwwDoc& doc, const ExportOptions& options, DrawReport* report);

}  // namespace tolvani::display
