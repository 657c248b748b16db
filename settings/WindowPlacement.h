// Whether a stored window rectangle can be used on the screens there are
// now: a window whose place was on a monitor that is gone, or beyond the
// edge after a change of resolution, would open where nobody can see or
// grab it.
#pragma once

#include <vector>

namespace tolvani::settings {

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

// True when `stored` is not empty and a piece of its title strip (the top
// kTitleHeight pixels), at least kMinVisible pixels wide, lies on one of the
// screens' available areas, so the window can be seen and dragged.
bool PlacementOnScreens(const ScreenRect& stored, const std::vector<ScreenRect>& screens);

inline constexpr int kTitleHeight = 24;
inline constexpr int kMinVisible = 64;

}  // namespace tolvani::settings
