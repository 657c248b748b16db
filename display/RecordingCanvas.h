// A canvas that only records the calls made on it, with their integer
// device values, so that the device arithmetic of the renderers can be
// checked call by call.
#pragma once

#include <string>
#include <vector>

#include "display/Canvas.h"

namespace tolvani::display {

enum class CallKind {
    Pen,
    Brush,
    MoveTo,
    LineTo,
    Polyline,
    Polygon,
    Ellipse,
    Chord,
    Rectangle,
    Pixel,
    TextColor,
    BackgroundColor,
    BackgroundMode,
    Font,
    Text,
    RasterMode,
    WindowOrigin,
    WindowExtents
};

struct RecordedCall {
    CallKind kind;
    std::vector<DevicePoint> points;  // move/line targets, vertices, text position
    DeviceRect box;                   // ellipse, chord, rectangle
    Pen pen;
    Brush brush;
    LogFont font;
    Color color = 0;
    std::string bytes;  // text output
    char32_t original = 0;
};

class RecordingCanvas : public Canvas {
public:
    // Device units per inch for the size conversions (96 by default).
    explicit RecordingCanvas(double dpi = 96.0) : dpi_(dpi) {}

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

    // Makes VisibleBox report a box (none by default).
    void SetVisibleBox(const DeviceRect& box) {
        visible_ = box;
        hasVisible_ = true;
    }

    std::vector<RecordedCall> calls;

    // The calls of one kind, in order.
    std::vector<RecordedCall> Of(CallKind kind) const;
    // The state current at each text output: the font and the colour.
    struct TextOutput {
        DevicePoint at;
        std::string bytes;
        LogFont font;
        Color color;
    };
    std::vector<TextOutput> Texts() const;

private:
    RecordedCall& Add(CallKind kind);
    double dpi_;
    DeviceRect visible_;
    bool hasVisible_ = false;
};

}  // namespace tolvani::display
