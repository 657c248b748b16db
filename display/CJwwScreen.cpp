#include "display/CJwwScreen.h"

#include "display/DeviceMath.h"

namespace tolvani::display {

DevicePoint CJwwScreen::ToDevice(double x, double y) const {
    return {Round((x - left) * scaleX), Round((top - y) * scaleY)};
}

JwwPoint CJwwScreen::ToDrawing(double X, double Y) const { return {X / scaleX + left, top - Y / scaleY}; }

void CJwwScreen::UpdateVisibleRect() {
    left = centerX - viewWidth / 2;
    bottom = centerY - viewHeight / 2;
    right = left + viewWidth;
    top = bottom + viewHeight;
}

void CJwwScreen::UpdateScales() {
    scaleX = deviceWidth / viewWidth;
    scaleY = deviceHeight / viewHeight;
}

namespace {

bool UsableSize(double w, double h) { return Finite(w) && Finite(h) && w > 0 && h > 0; }

}  // namespace

void CJwwScreen::ZoomToRect(double x1, double y1, double x2, double y2) {
    const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
    double dx = x2 - x1, dy = y1 - y2;
    if (!UsableSize(viewWidth, viewHeight) || !Finite(cx) || !Finite(cy)) return;
    const double r = viewWidth / viewHeight;
    double w, h;
    if (dx > 0 && dy > 0) {
        if (r > dx / dy) {
            w = dy * r;
            h = dy;
        } else {
            h = dx / r;
            w = dx;
        }
    } else {
        dx = -dx;
        dy = -dy;
        if (!(dx > 0) || !(dy > 0)) return;  // a line or a point: no area to fit into
        const double m = r > dx / dy ? viewHeight / dy : viewWidth / dx;
        w = viewWidth * m;
        h = viewHeight * m;
    }
    if (!UsableSize(w, h)) return;
    centerX = cx;
    centerY = cy;
    viewWidth = w;
    viewHeight = h;
    UpdateVisibleRect();
    UpdateScales();
    previousZoom = lastZoom;
    lastZoom = {left, top, right, bottom};
}

void CJwwScreen::ZoomPrevious() {
    const ZoomRect p = previousZoom;
    ZoomToRect(p.left, p.top, p.right, p.bottom);
}

void CJwwScreen::ZoomBy(double factor) {
    const double w = viewWidth * factor, h = viewHeight * factor;
    if (!UsableSize(w, h)) return;
    viewWidth = w;
    viewHeight = h;
    UpdateVisibleRect();
    UpdateScales();
}

void CJwwScreen::PanBy(int dx, int dy) {
    dx = dx > 0 ? 1 : dx < 0 ? -1 : 0;
    dy = dy > 0 ? 1 : dy < 0 ? -1 : 0;
    const double cx = centerX + dx * viewWidth / 20, cy = centerY + dy * viewHeight / 20;
    if (!Finite(cx) || !Finite(cy)) return;
    centerX = cx;
    centerY = cy;
    UpdateVisibleRect();
}

void CJwwScreen::CenterOn(double x, double y) {
    if (!Finite(x) || !Finite(y)) return;
    centerX = x;
    centerY = y;
    UpdateVisibleRect();
    if (UsableSize(viewWidth, viewHeight)) UpdateScales();
}

}  // namespace tolvani::display
