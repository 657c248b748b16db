#include "display/ViewNavigation.h"

#include <cstdlib>

namespace tolvani::display {

namespace {
bool IsClick(DevicePoint anchor, DevicePoint at) {
    return std::abs(at.x - anchor.x) <= 2 && std::abs(at.y - anchor.y) <= 2;
}
}  // namespace

BandGesture ClassifyBand(DevicePoint anchor, DevicePoint at) {
    if (IsClick(anchor, at)) return BandGesture::Center;
    if (at.x > anchor.x) return at.y > anchor.y ? BandGesture::ZoomIn : BandGesture::WholePaper;
    return at.y > anchor.y ? BandGesture::Previous : BandGesture::ZoomOut;
}

const char* BandLabel(BandGesture gesture) {
    switch (gesture) {
        case BandGesture::ZoomIn: return " 拡　大 ";
        case BandGesture::WholePaper: return " 全　体 ";
        case BandGesture::Previous: return " 前倍率 ";
        case BandGesture::ZoomOut: return " 縮　小 ";
        case BandGesture::Center: break;
    }
    return " 移　動 ";
}

BandGesture EndBand(CJwwScreen& screen, DevicePoint anchor, DevicePoint at) {
    if (IsClick(anchor, at)) {
        const JwwPoint p = screen.ToDrawing(anchor.x, anchor.y);
        screen.CenterOn(p.x, p.y);
        return BandGesture::Center;
    }
    const JwwPoint p1 = screen.ToDrawing(anchor.x, anchor.y);
    const JwwPoint p2 = screen.ToDrawing(at.x, at.y);
    if (p2.x > p1.x) {
        if (p1.y > p2.y) {
            screen.ZoomToRect(p1.x, p1.y, p2.x, p2.y);
            return BandGesture::ZoomIn;
        }
        return BandGesture::WholePaper;
    }
    if (p1.y < p2.y) {
        screen.ZoomToRect(p1.x, p1.y, p2.x, p2.y);
        return BandGesture::ZoomOut;
    }
    screen.ZoomPrevious();
    return BandGesture::Previous;
}

void WheelStep(CJwwScreen& screen, bool shift, bool ctrl, int delta, int zoomUp) {
    if (shift) {
        screen.PanBy(0, delta > 0 ? 1 : -1);
    } else if (ctrl) {
        screen.PanBy(delta > 0 ? 1 : -1, 0);
    } else {
        const bool in = (delta > 0) == (zoomUp == 0);
        screen.ZoomBy(in ? 0.8 : 1.2);
    }
}

void KeyStep(CJwwScreen& screen, NavKey key) {
    switch (key) {
        case NavKey::PageUp: screen.ZoomBy(1.2); break;
        case NavKey::PageDown: screen.ZoomBy(0.8); break;
        case NavKey::Left: screen.PanBy(-1, 0); break;
        case NavKey::Up: screen.PanBy(0, 1); break;
        case NavKey::Right: screen.PanBy(1, 0); break;
        case NavKey::Down: screen.PanBy(0, -1); break;
        case NavKey::Home: break;
    }
}

}  // namespace tolvani::display
