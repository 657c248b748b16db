// How the view's wheel, keys and two-button zoom drag change the drawing
// context. The view turns its events into these calls and then redraws.
#pragma once

#include "display/CJwwScreen.h"

namespace tolvani::display {

// The zoom drag, classified by where the pointer is against the anchor
// (device units, y down). Within 2 units either way it is a click.
enum class BandGesture { Center, ZoomIn, WholePaper, Previous, ZoomOut };
BandGesture ClassifyBand(DevicePoint anchor, DevicePoint at);
// " 拡　大 ", " 全　体 ", " 前倍率 ", " 縮　小 ", " 移　動 " (UTF-8).
const char* BandLabel(BandGesture gesture);

// Ends the zoom drag released at `at`: centres on the anchor after a click,
// zooms into or out to the rectangle, or goes back to the previous
// rectangle zoom. Returns WholePaper when the caller is to fit the paper
// (which needs the document); otherwise the screen has been changed.
BandGesture EndBand(CJwwScreen& screen, DevicePoint anchor, DevicePoint at);

// One wheel step: Shift pans up or down, Ctrl right or left, otherwise a
// zoom by 0.8 or 1.2, whose direction ZoomUp reverses. delta > 0 is the
// wheel turned away from the user.
void WheelStep(CJwwScreen& screen, bool shift, bool ctrl, int delta, int zoomUp);

enum class NavKey { PageUp, PageDown, Home, Left, Up, Right, Down };
// Applies a key other than Home (which fits the paper through the
// document).
void KeyStep(CJwwScreen& screen, NavKey key);

}  // namespace tolvani::display
