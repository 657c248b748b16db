// A canvas in front of another that passes everything on and counts the
// shapes drawn (lines, outlines, fills, texts, points). Past the limit it
// draws nothing more and raises the cancel flag, so the draw stops: a vector
// output (SVG, PDF) grows with every shape and is better refused than
// allowed to fill the memory or the disk.
#pragma once

#include <atomic>
#include <cstddef>

#include "display/Canvas.h"

namespace tolvani::display {

class ShapeLimitCanvas final : public Canvas {
public:
    ShapeLimitCanvas(Canvas& target, std::size_t limit, std::atomic<bool>& cancel)
        : target_(target), limit_(limit), cancel_(cancel) {}

    bool LimitReached() const { return reached_; }

    DeviceSize HimetricToDevice(DeviceSize himetric) const override { return target_.HimetricToDevice(himetric); }
    DeviceSize DeviceToHimetric(DeviceSize device) const override { return target_.DeviceToHimetric(device); }
    void SetWindowOrigin(DevicePoint origin) override { target_.SetWindowOrigin(origin); }
    void SetWindowExtents(DeviceSize window, DeviceSize viewport) override {
        target_.SetWindowExtents(window, viewport);
    }
    void SetPen(const Pen& pen) override { target_.SetPen(pen); }
    void SetBrush(const Brush& brush) override { target_.SetBrush(brush); }
    void MoveTo(int32_t x, int32_t y) override { target_.MoveTo(x, y); }
    void LineTo(int32_t x, int32_t y) override {
        if (Count()) target_.LineTo(x, y);
    }
    void Polyline(const DevicePoint* points, std::size_t count) override {
        if (Count()) target_.Polyline(points, count);
    }
    void Polygon(const DevicePoint* points, std::size_t count) override {
        if (Count()) target_.Polygon(points, count);
    }
    void Ellipse(const DeviceRect& box) override {
        if (Count()) target_.Ellipse(box);
    }
    void Chord(const DeviceRect& box, DevicePoint radial1, DevicePoint radial2) override {
        if (Count()) target_.Chord(box, radial1, radial2);
    }
    void Rectangle(const DeviceRect& box) override {
        if (Count()) target_.Rectangle(box);
    }
    void SetPixel(int32_t x, int32_t y, Color color) override {
        if (Count()) target_.SetPixel(x, y, color);
    }
    void SetTextColor(Color color) override { target_.SetTextColor(color); }
    void SetBackgroundColor(Color color) override { target_.SetBackgroundColor(color); }
    void SetBackgroundMode(BackgroundMode mode) override { target_.SetBackgroundMode(mode); }
    void SetFont(const LogFont& font) override { target_.SetFont(font); }
    void TextOut(int32_t x, int32_t y, std::string_view bytes, char32_t original) override {
        if (Count()) target_.TextOut(x, y, bytes, original);
    }
    bool SetRasterMode(RasterMode mode) override { return target_.SetRasterMode(mode); }
    bool VisibleBox(DeviceRect& box) const override { return target_.VisibleBox(box); }

private:
    bool Count() {
        if (reached_) return false;
        if (++drawn_ <= limit_) return true;
        reached_ = true;
        cancel_.store(true, std::memory_order_relaxed);
        return false;
    }

    Canvas& target_;
    std::size_t limit_;
    std::atomic<bool>& cancel_;
    std::size_t drawn_ = 0;
    bool reached_ = false;
};

}  // namespace tolvani::display
