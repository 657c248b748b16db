// The canvas on QPainter: images, SVG and PDF files, printers and widgets.
// Antialiasing is off, as the device arithmetic of the renderers assumes.
// On a 32-bit image whose painter maps one device unit onto one pixel
// (device pixel ratio 1, no transform, no clipping, no window mapping),
// glyphs are drawn from a cache of their pixel masks, and thin lines and
// outlines by a walk over their pixels; elsewhere QPainter draws everything.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <memory>
#include <unordered_map>
#include <vector>

#include "display/Canvas.h"
#include "display/qt/FontMapper.h"
#include "display/qt/GlyphPainter.h"

namespace tolvani::display {

class DirectRaster;
class GlyphCache;

class QtCanvas : public Canvas {
public:
    // Draws with an active painter on a device of the given resolution
    // (device units per inch). `image` is the painter's target when it is
    // an image; it enables the cached glyph masks and the pixel walks where
    // they are exact.
    QtCanvas(QPainter& painter, double dpiX, double dpiY, QImage* image = nullptr);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    DeviceSize HimetricToDevice(DeviceSize himetric) const override;
    DeviceSize DeviceToHimetric(DeviceSize device) const override;
    void SetWindowOrigin(DevicePoint origin) override;
    void SetWindowExtents(DeviceSize window, DeviceSize viewport) override;
    void SetPen(const Pen& pen) override;
    void SetBrush(const Brush& brush) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void Polyline(const DevicePoint* points, std::size_t count) override;
    void Polygon(const DevicePoint* points, std::size_t count) override;
    void Ellipse(const DeviceRect& box) override;
    void Chord(const DeviceRect& box, DevicePoint radial1, DevicePoint radial2) override;
    void Rectangle(const DeviceRect& box) override;
    void SetPixel(int32_t x, int32_t y, Color color) override;
    void SetTextColor(Color color) override;
    void SetBackgroundColor(Color color) override;
    void SetBackgroundMode(BackgroundMode mode) override;
    void SetFont(const LogFont& font) override;
    void TextOut(int32_t x, int32_t y, std::string_view bytes, char32_t original) override;
    bool SetRasterMode(RasterMode mode) override;
    bool VisibleBox(DeviceRect& box) const override;

    // Limits what VisibleBox reports (the whole device by default when it is
    // an image; otherwise only when set).
    void SetVisibleBox(const DeviceRect& box);

    // Draws only rows top..bottom of the image (inclusive), as a band of a
    // draw split between threads: the painter is clipped to them, pixels
    // are written only there, and VisibleBox reports them. What lands in
    // the rows is what a draw of the whole image puts there.
    void SetBand(int top, int bottom);

private:
    const ResolvedFont& Resolve(const LogFont& font);
    void ApplyPen();
    // Hands the pen and brush to the painter when they changed since it last
    // drew: most primitives are written straight into the image and never
    // need the painter's.
    void SyncPainter() {
        if (painterPenDirty_) ApplyPainterPen();
        if (painterBrushDirty_) ApplyPainterBrush();
    }
    void ApplyPainterPen();
    void ApplyPainterBrush();
    bool painterPenDirty_ = false;
    bool painterBrushDirty_ = false;
    const QPolygon& ToPolygon(const DevicePoint* points, std::size_t count);
    static QRect BoxRect(const DeviceRect& box);

    QPainter& painter_;
    double dpiX_, dpiY_;
    QImage* image_;
    bool direct_ = false;  // glyphs and thin lines may be written into image_
    std::unique_ptr<DirectRaster> raster_;
    bool ThinDirect() const { return direct_ && copyMode_ && pen_.width <= 1; }
    bool copyMode_ = true;
    void DashesFor(PenStyle style);
    void ThinEllipse(const QRect& r);
    QPoint current_;
    Pen pen_;
    Brush brush_;
    QPen qpen_;
    Color textColor_ = kBlack;
    Color backgroundColor_ = kWhite;
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
    LogFont font_;
    const ResolvedFont* resolved_ = nullptr;
    ResolvedFont currentFont_;
    QPolygon polygon_;
    bool hasVisible_ = false;
    DeviceRect visible_;
};

// Size conversions at a resolution of device units per inch.
DeviceSize HimetricToDevice(DeviceSize himetric, double dpiX, double dpiY);
DeviceSize DeviceToHimetric(DeviceSize device, double dpiX, double dpiY);

// QColor of a 0x00BBGGRR colour.
QColor ToQColor(Color c);

}  // namespace tolvani::display
