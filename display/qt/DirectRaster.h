// Thin lines and glyph masks written straight into the pixels of an RGB32
// image. Pens one unit wide, lines and polylines, solid or dashed, are by
// far the most common primitives of a drawing; Bresenham's walk over the
// clipped segment costs a fraction of a general stroker.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "display/Canvas.h"

namespace tolvani::display {

class DirectRaster {
public:
    explicit DirectRaster(QImage& image);

    // Dash pattern in pixels (on, off, on, off, …); empty for solid.
    void SetDashes(const std::vector<int>& pattern);
    void SetColor(QRgb color) { color_ = color; }

    // Writes only rows top..bottom (inclusive; the whole image by default).
    // Every primitive is still worked out over the whole image, lines
    // clipped to it and walked from there, so that the pixels written in
    // the rows are those a draw of the whole image writes there.
    void SetRows(int top, int bottom);

    // Starts a new run of segments: the dash pattern starts again.
    void StartRun() { phase_ = phaseInPattern_ = 0; }
    // A segment with both ends drawn; the dash pattern continues from the
    // previous segment of the run.
    void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

    // The inside of a polygon by the even-odd rule (pixel centres), in the
    // given colour; the outline is left to the caller.
    void FillPolygon(const DevicePoint* points, std::size_t count, QRgb fill);
    // The inside of the ellipse with centre (cx, cy) and radii (rx, ry).
    void FillEllipse(double cx, double cy, double rx, double ry, QRgb fill);

    // Runs of ink of an unturned glyph: row and first column from the
    // point, and length.
    // Glyph cells are at most a few hundred pixels: offsets fit in 16 bits.
    struct Run {
        int16_t dy, dx, length;
    };
    void Runs(const std::vector<Run>& runs, int32_t x, int32_t y);

    // A glyph mask: rows of bytes (non-zero = ink), `width` × `height`,
    // whose pixel (0, 0) lies at (ox, oy) from the point in the glyph's own
    // frame; the frame is turned by `degrees` counter-clockwise (device y
    // down) about the point (x, y).
    void Mask(const std::vector<uint8_t>& bits, int width, int height, double ox, double oy, int32_t x, int32_t y,
              double degrees);

private:
    void Span(int64_t y, int64_t x0, int64_t x1, QRgb fill);

    // Scratch of the polygon fill, kept between polygons.
    struct Edge {
        double yTop, yBottom, x, slope;  // x at yTop
    };
    std::vector<Edge> edges_;
    std::vector<const Edge*> active_;
    std::vector<double> xs_;

    uchar* bits_;
    qsizetype stride_;
    int w_, h_;
    int top_ = 0, bottom_;  // rows written
    QRgb color_ = 0xFF000000u;
    std::vector<int> dashes_;
    int dashTotal_ = 0;
    bool dashesPositive_ = true;
    int64_t phase_ = 0;
    int64_t phaseInPattern_ = 0;  // phase_ modulo the pattern's length
};

}  // namespace tolvani::display
