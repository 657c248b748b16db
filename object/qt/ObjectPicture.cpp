#include "object/qt/ObjectPicture.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "display/qt/PainterEnd.h"
#include "display/qt/QtCanvas.h"
#include "object/Base64.h"
#include "object/PngText.h"
#include "object/SvgData.h"

namespace tolvani::object {
namespace {

constexpr double kHimetricPerInch = 2540.0;

QSize PixelSize(const NativePrefix& p, double dpi) {
    const int w = std::max(1, static_cast<int>(std::lround(p.extentWidth * dpi / kHimetricPerInch)));
    const int h = std::max(1, static_cast<int>(std::lround(p.extentHeight * dpi / kHimetricPerInch)));
    return {w, h};
}

display::DrawReport Paint(QPainter& painter, QImage* image, double dpi, QSize pixels, const CJwwDoc& doc,
                          const NativePrefix& p) {
    display::QtCanvas canvas(painter, dpi, dpi, image);
    display::ViewValues values;
    values.dotSize = p.dotSize;
    values.clientSize = {pixels.width(), pixels.height()};
    values.extent = {p.extentWidth, p.extentHeight};
    values.clientHimetric = values.extent;
    display::CJwwScreen screen;
    screen.viewWidth = p.viewWidth;
    screen.viewHeight = p.viewHeight;
    screen.centerX = p.centerX;
    screen.centerY = p.centerY;
    painter.fillRect(QRect(QPoint(0, 0), pixels), Qt::white);
    return display::DrawDrawing(canvas, doc, screen, values);
}

}  // namespace

double PictureDpi(const NativePrefix& p) {
    const double longSide = std::max(p.extentWidth, p.extentHeight);
    if (!(longSide > 0)) return 96.0;
    return std::min(96.0, kMaxPicturePixels * kHimetricPerInch / longSide);
}

QImage DrawObjectImage(const CJwwDoc& doc, const NativePrefix& p, display::DrawReport* report) {
    const double dpi = PictureDpi(p);
    const QSize size = PixelSize(p, dpi);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    QPainter painter(&image);
    display::PainterEnd ending(painter);
    display::DrawReport r = Paint(painter, &image, dpi, size, doc, p);
    painter.end();
    if (report) *report = std::move(r);
    return image;
}

QByteArray MakeObjectPng(const CJwwDoc& doc, const NativePrefix& p, const std::vector<uint8_t>& native) {
    const QImage image = DrawObjectImage(doc, p);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    std::vector<uint8_t> png(bytes.begin(), bytes.end());
    if (!AddPngText(png, kObjectName, EncodeBase64(native.data(), native.size()))) return {};
    return QByteArray(reinterpret_cast<const char*>(png.data()), static_cast<qsizetype>(png.size()));
}

QByteArray MakeObjectSvg(const CJwwDoc& doc, const NativePrefix& p, const std::vector<uint8_t>& native) {
    const double dpi = PictureDpi(p);
    const QSize size = PixelSize(p, dpi);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(static_cast<int>(std::lround(dpi)));
    svg.setTitle(QStringLiteral("Tolvani"));
    QPainter painter(&svg);
    display::PainterEnd ending(painter);
    Paint(painter, nullptr, dpi, size, doc, p);
    painter.end();
    std::string text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (!SetSvgSizeMm(text, p.extentWidth / 100.0, p.extentHeight / 100.0)) return {};
    if (!AddSvgData(text, kObjectName, native)) return {};
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tolvani::object
