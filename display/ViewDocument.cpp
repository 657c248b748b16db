#include "display/ViewDocument.h"

#include <cmath>

namespace tolvani::display {

DeviceSize DeviceResolution::ToHimetric(DeviceSize d) const {
    return {static_cast<int32_t>(std::lround(d.width * 2540.0 / dpiX)),
            static_cast<int32_t>(std::lround(d.height * 2540.0 / dpiY))};
}

DeviceSize DeviceResolution::ToDevice(DeviceSize h) const {
    return {static_cast<int32_t>(std::lround(h.width * dpiX / 2540.0)),
            static_cast<int32_t>(std::lround(h.height * dpiY / 2540.0))};
}

}  // namespace tolvani::display
