#include "display/qt/DrawingExport.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

#include "display/ShapeLimitCanvas.h"
#include "display/qt/ImageDraw.h"
#include "display/qt/PainterEnd.h"
#include "display/qt/QtCanvas.h"

namespace tolvani::display {

namespace {

constexpr int kPdfResolution = 300;

void Keep(DrawReport* out, DrawReport&& report) {
    if (out) *out = std::move(report);
}

ViewValues WholePaperValues(double dpiX, double dpiY, DeviceSize pixels, int32_t dotSize) {
    ViewValues values;
    values.dotSize = dotSize;
    values.clientSize = pixels;
    values.extent = DeviceToHimetric(pixels, dpiX, dpiY);
    values.clientHimetric = values.extent;
    return values;
}

}  // namespace

DrawReport PaintWholePaper(QPainter& painter, QImage* image, double dpiX, double dpiY, DeviceSize pixels,
                           const CJwwDoc& doc, int32_t dotSize, std::size_t shapeLimit) {
    QtCanvas canvas(painter, dpiX, dpiY, image);
    const ViewValues values = WholePaperValues(dpiX, dpiY, pixels, dotSize);
    CJwwScreen screen;
    FitPaper(doc, screen, values);
    painter.fillRect(QRect(0, 0, pixels.width, pixels.height), Qt::white);
    if (shapeLimit == 0) return DrawDrawing(canvas, doc, screen, values);
    std::atomic<bool> stop{false};
    ShapeLimitCanvas limited(canvas, shapeLimit, stop);
    return DrawDrawing(limited, doc, screen, values, &stop);
}

DrawReport PaintViewAtPhysicalSize(QPainter& painter, double dpiX, double dpiY, const CJwwDoc& doc, CJwwScreen screen,
                                   const ViewValues& values) {
    QtCanvas canvas(painter, dpiX, dpiY);
    const DeviceSize area = canvas.HimetricToDevice(values.extent);
    painter.save();
    painter.setClipRect(QRect(0, 0, area.width, area.height));
    DrawReport report = DrawDrawing(canvas, doc, screen, values);
    painter.restore();
    return report;
}

QImage RenderImage(const CJwwDoc& doc, const ExportOptions& o, DrawReport* report) {
    QImage image(o.width, o.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dpm = static_cast<int>(std::lround(o.dpi / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    const ViewValues values = WholePaperValues(o.dpi, o.dpi, {o.width, o.height}, o.dotSize);
    CJwwScreen screen;
    FitPaper(doc, screen, values);
    DrawControl control;
    control.threads = o.threads;
    control.dpiX = control.dpiY = o.dpi;
    Keep(report, DrawDrawingToImage(image, doc, screen, values, control));
    return image;
}

QByteArray ExportPng(const CJwwDoc& doc, const ExportOptions& o, DrawReport* report) {
    const QImage image = RenderImage(doc, o, report);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray ExportSvg(const CJwwDoc& doc, const ExportOptions& o, DrawReport* report) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(o.width, o.height));
    svg.setViewBox(QRect(0, 0, o.width, o.height));
    svg.setResolution(static_cast<int>(std::lround(o.dpi)));
    svg.setTitle(QStringLiteral("Tolvani"));
    QPainter painter(&svg);
    PainterEnd ending(painter);
    DrawReport drawn =
        PaintWholePaper(painter, nullptr, o.dpi, o.dpi, {o.width, o.height}, doc, o.dotSize, o.maxVectorShapes);
    painter.end();
    if (drawn.cancelled) bytes.clear();
    Keep(report, std::move(drawn));
    return bytes;
}

QByteArray ExportPdf(const CJwwDoc& doc, const ExportOptions& o, DrawReport* report) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kPdfResolution);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    pdf.setTitle(QStringLiteral("Tolvani"));
    pdf.setCreator(QStringLiteral("Tolvani"));
    QPainter painter(&pdf);
    PainterEnd ending(painter);
    const DeviceSize pixels{pdf.width(), pdf.height()};
    DrawReport drawn =
        PaintWholePaper(painter, nullptr, kPdfResolution, kPdfResolution, pixels, doc, o.dotSize, o.maxVectorShapes);
    painter.end();
    if (drawn.cancelled) bytes.clear();
    Keep(report, std::move(drawn));
    return bytes;
}

}  // namespace tolvani::display
