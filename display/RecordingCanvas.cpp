#include "display/RecordingCanvas.h"

#include <cmath>

namespace tolvani::display {

RecordedCall& RecordingCanvas::Add(CallKind kind) {
    calls.push_back(RecordedCall{});
    calls.back().kind = kind;
    return calls.back();
}

DeviceSize RecordingCanvas::HimetricToDevice(DeviceSize h) const {
    return {static_cast<int32_t>(std::lround(h.width * dpi_ / 2540.0)),
            static_cast<int32_t>(std::lround(h.height * dpi_ / 2540.0))};
}

DeviceSize RecordingCanvas::DeviceToHimetric(DeviceSize d) const {
    return {static_cast<int32_t>(std::lround(d.width * 2540.0 / dpi_)),
            static_cast<int32_t>(std::lround(d.height * 2540.0 / dpi_))};
}

void RecordingCanvas::SetWindowOrigin(DevicePoint origin) { Add(CallKind::WindowOrigin).points = {origin}; }

void RecordingCanvas::SetWindowExtents(DeviceSize window, DeviceSize viewport) {
    Add(CallKind::WindowExtents).points = {{window.width, window.height}, {viewport.width, viewport.height}};
}

void RecordingCanvas::SetPen(const Pen& pen) { Add(CallKind::Pen).pen = pen; }
void RecordingCanvas::SetBrush(const Brush& brush) { Add(CallKind::Brush).brush = brush; }
void RecordingCanvas::MoveTo(int32_t x, int32_t y) { Add(CallKind::MoveTo).points = {{x, y}}; }
void RecordingCanvas::LineTo(int32_t x, int32_t y) { Add(CallKind::LineTo).points = {{x, y}}; }

void RecordingCanvas::Polyline(const DevicePoint* points, std::size_t count) {
    Add(CallKind::Polyline).points.assign(points, points + count);
}

void RecordingCanvas::Polygon(const DevicePoint* points, std::size_t count) {
    Add(CallKind::Polygon).points.assign(points, points + count);
}

void RecordingCanvas::Ellipse(const DeviceRect& box) { Add(CallKind::Ellipse).box = box; }

void RecordingCanvas::Chord(const DeviceRect& box, DevicePoint radial1, DevicePoint radial2) {
    RecordedCall& c = Add(CallKind::Chord);
    c.box = box;
    c.points = {radial1, radial2};
}

void RecordingCanvas::Rectangle(const DeviceRect& box) { Add(CallKind::Rectangle).box = box; }

void RecordingCanvas::SetPixel(int32_t x, int32_t y, Color color) {
    RecordedCall& c = Add(CallKind::Pixel);
    c.points = {{x, y}};
    c.color = color;
}

void RecordingCanvas::SetTextColor(Color color) { Add(CallKind::TextColor).color = color; }
void RecordingCanvas::SetBackgroundColor(Color color) { Add(CallKind::BackgroundColor).color = color; }
void RecordingCanvas::SetBackgroundMode(BackgroundMode mode) {
    Add(CallKind::BackgroundMode).color = mode == BackgroundMode::Opaque ? 1 : 0;
}
void RecordingCanvas::SetFont(const LogFont& font) { Add(CallKind::Font).font = font; }

void RecordingCanvas::TextOut(int32_t x, int32_t y, std::string_view bytes, char32_t original) {
    RecordedCall& c = Add(CallKind::Text);
    c.points = {{x, y}};
    c.bytes.assign(bytes);
    c.original = original;
}

bool RecordingCanvas::SetRasterMode(RasterMode mode) {
    Add(CallKind::RasterMode).color = mode == RasterMode::NotXorPen ? 1 : 0;
    return true;
}

bool RecordingCanvas::VisibleBox(DeviceRect& box) const {
    if (!hasVisible_) return false;
    box = visible_;
    return true;
}

std::vector<RecordedCall> RecordingCanvas::Of(CallKind kind) const {
    std::vector<RecordedCall> out;
    for (const auto& c : calls)
        if (c.kind == kind) out.push_back(c);
    return out;
}

std::vector<RecordingCanvas::TextOutput> RecordingCanvas::Texts() const {
    std::vector<TextOutput> out;
    LogFont font;
    Color color = 0;
    for (const auto& c : calls) {
        if (c.kind == CallKind::Font) font = c.font;
        if (c.kind == CallKind::TextColor) color = c.color;
        if (c.kind == CallKind::Text) out.push_back({c.points[0], c.bytes, font, color});
    }
    return out;
}

}  // namespace tolvani::display
