// The drawing context: which part of the drawing is visible, at what size,
// and the mapping between drawing millimetres (y up, origin at the paper
// centre) and device units (y down). Zoom and pan change only this state.
#pragma once

#include <array>
#include <cstdint>

#include "display/Canvas.h"
#include "model/CData.h"

namespace tolvani::display {

struct ZoomRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

class CJwwScreen {
public:
    static constexpr int kScratchSize = 1000;

    // Device point of a drawing point: trunc((x − L)·Sx + 0.5), trunc((T − y)·Sy + 0.5).
    DevicePoint ToDevice(double x, double y) const;
    // Drawing point of a device point.
    JwwPoint ToDrawing(double X, double Y) const;

    // Zooms into the rectangle when point 1 is its upper left corner, else
    // shrinks the visible area into it. Requests that would leave the view
    // empty or not finite are ignored (and do not change the zoom history).
    void ZoomToRect(double x1, double y1, double x2, double y2);
    // The previous rectangle zoom again; repeating it toggles between the
    // last two.
    void ZoomPrevious();
    void ZoomBy(double factor);
    // Moves the centre by a twentieth of the view per step (−1, 0, +1).
    void PanBy(int dx, int dy);
    void CenterOn(double x, double y);

    // L, B, R, T from the centre and the view size.
    void UpdateVisibleRect();
    // Sx, Sy from the device size and the view size.
    void UpdateScales();

    // View state, drawing millimetres unless said otherwise.
    double viewWidth = 0;
    double viewHeight = 0;
    double centerX = 0;
    double centerY = 0;
    double scaleX = 0;  // device units per millimetre
    double scaleY = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;
    double deviceWidth = 0;
    double deviceHeight = 0;

    int32_t dotRadius = 0;  // device units

    // Table placement, armed by the table import and used by the view.
    int32_t placementArmed = 0;
    int32_t placementTracking = 0;
    double outlineX = 0;
    double outlineY = 0;
    double mouseX = 0;
    double mouseY = 0;
    double tableWidth = 0;
    double tableHeight = 0;

    ZoomRect lastZoom;
    ZoomRect previousZoom;

    // Scratch buffers of the filled shapes.
    std::array<JwwPoint, kScratchSize> drawingPoints{};
    std::array<DevicePoint, kScratchSize> devicePoints{};
};

}  // namespace tolvani::display
