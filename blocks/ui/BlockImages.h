// The four images of the block figure dialog, drawn from SVG so that they
// stay sharp at any screen scaling: 0 and 1 a page, 2 and 3 a folder.
#pragma once

#include <QIcon>

namespace tolvani {

// The icon of image index 0 or 2: that image normally, the next one (1 or 3)
// while the item is selected.
QIcon BlockIcon(int image);

// One image (0..3) at `size` device-independent pixels and the given pixel
// ratio.
QPixmap BlockImage(int image, int size, qreal devicePixelRatio);

}  // namespace tolvani
