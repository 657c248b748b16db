#include "settings/WindowPlacement.h"

#include <algorithm>

namespace tolvani::settings {

bool PlacementOnScreens(const ScreenRect& stored, const std::vector<ScreenRect>& screens) {
    if (stored.right <= stored.left || stored.bottom <= stored.top) return false;
    // The strip a person grabs to move the window.
    const long top = stored.top, bottom = std::min<long>(stored.bottom, long{stored.top} + kTitleHeight);
    for (const ScreenRect& s : screens) {
        const long w = std::min<long>(stored.right, s.right) - std::max<long>(stored.left, s.left);
        const long h = std::min<long>(bottom, s.bottom) - std::max<long>(top, s.top);
        if (w >= std::min<long>(kMinVisible, long{stored.right} - stored.left) && h > 0) return true;
    }
    return false;
}

}  // namespace tolvani::settings
