// The drawing surface every picture goes through: pens, brushes, fonts and
// the primitives the renderers need, in integer device units. The screen
// transform and the element and text renderers talk only to this interface;
// backends draw onto images, vector files, printers or record the calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolvani::display {

// 0x00BBGGRR.
using Color = uint32_t;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kRed = 0x0000FF;
inline constexpr Color Rgb(int r, int g, int b) {
    return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

enum class PenStyle : uint8_t { Solid, Dash, Dot, DashDot, DashDotDot };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    Color color = kBlack;
    friend bool operator==(const Pen& a, const Pen& b) {
        return a.style == b.style && a.width == b.width && a.color == b.color;
    }
    friend bool operator!=(const Pen& a, const Pen& b) { return !(a == b); }
};

// A solid brush of a colour, or the empty brush that leaves interiors alone.
struct Brush {
    bool solid = false;
    Color color = kBlack;
    static Brush Solid(Color c) { return {true, c}; }
    static Brush Empty() { return {false, kBlack}; }
    friend bool operator==(const Brush& a, const Brush& b) {
        return a.solid == b.solid && (!a.solid || a.color == b.color);
    }
    friend bool operator!=(const Brush& a, const Brush& b) { return !(a == b); }
};

// The font record: height in device units, width 0 (the face's own proportions),
// escapement and orientation in tenths of a degree counter-clockwise, weight
// 0 or 700, the three flags, character set and face name (code page 932
// bytes; a leading "@" asks for vertical writing).
struct LogFont {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = 128;
    std::string faceName;
    friend bool operator==(const LogFont& a, const LogFont& b) {
        return a.height == b.height && a.width == b.width && a.escapement == b.escapement &&
               a.orientation == b.orientation && a.weight == b.weight && a.italic == b.italic &&
               a.underline == b.underline && a.strikeOut == b.strikeOut && a.charSet == b.charSet &&
               a.faceName == b.faceName;
    }
    friend bool operator!=(const LogFont& a, const LogFont& b) { return !(a == b); }
};

struct DevicePoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const DevicePoint& a, const DevicePoint& b) { return a.x == b.x && a.y == b.y; }
};

struct DeviceSize {
    int32_t width = 0;
    int32_t height = 0;
};

// Inclusive device rectangle.
struct DeviceRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

enum class BackgroundMode : uint8_t { Transparent, Opaque };
enum class RasterMode : uint8_t { CopyPen, NotXorPen };

class Canvas {
public:
    virtual ~Canvas() = default;

    // Pure size conversions between HIMETRIC (0.01 mm) and device units.
    virtual DeviceSize HimetricToDevice(DeviceSize himetric) const = 0;
    virtual DeviceSize DeviceToHimetric(DeviceSize device) const = 0;

    // Logical units: window origin and extents mapped onto the viewport
    // extents (both in device units of the target).
    virtual void SetWindowOrigin(DevicePoint origin) = 0;
    virtual void SetWindowExtents(DeviceSize window, DeviceSize viewport) = 0;

    virtual void SetPen(const Pen& pen) = 0;
    virtual void SetBrush(const Brush& brush) = 0;

    virtual void MoveTo(int32_t x, int32_t y) = 0;
    virtual void LineTo(int32_t x, int32_t y) = 0;
    virtual void Polyline(const DevicePoint* points, std::size_t count) = 0;
    // Filled with the brush by the even-odd rule, outlined with the pen.
    virtual void Polygon(const DevicePoint* points, std::size_t count) = 0;
    // Inside the bounding box; filled with the brush, outlined with the pen.
    virtual void Ellipse(const DeviceRect& box) = 0;
    // The part of the ellipse cut off by the line between the points where
    // the two radials meet it; equal radials give the whole ellipse.
    virtual void Chord(const DeviceRect& box, DevicePoint radial1, DevicePoint radial2) = 0;
    virtual void Rectangle(const DeviceRect& box) = 0;
    virtual void SetPixel(int32_t x, int32_t y, Color color) = 0;

    virtual void SetTextColor(Color color) = 0;
    virtual void SetBackgroundColor(Color color) = 0;
    virtual void SetBackgroundMode(BackgroundMode mode) = 0;
    virtual void SetFont(const LogFont& font) = 0;
    // Draws code page 932 bytes with the selected font; (x, y) is the top-left
    // corner of the text cell, turned with the escapement. `original` is the
    // character the bytes stand for when the drawing kept one that has no
    // code page 932 form (0 otherwise).
    virtual void TextOut(int32_t x, int32_t y, std::string_view bytes, char32_t original) = 0;

    // Returns false when the backend cannot draw in the mode (vector
    // backends cannot invert what lies beneath).
    virtual bool SetRasterMode(RasterMode mode) = 0;

    // The device rectangle outside which nothing drawn can be seen, or false
    // when the backend does not know one. Renderers may skip what lies
    // wholly outside it.
    virtual bool VisibleBox(DeviceRect& box) const = 0;
};

}  // namespace tolvani::display
