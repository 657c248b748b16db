// Drawing the view's picture: the drawing context set up for the view's
// target on the user-interface thread, then the drawing drawn into an
// image, which may run on a worker with copies of the context and values.
#pragma once

#include <QImage>
#include <QSize>
#include <atomic>
#include <memory>

#include "display/CJwwScreen.h"
#include "display/DrawDocument.h"
#include "model/CJwwDoc.h"

namespace tolvani::display {

// Everything one draw of the view needs, by value.
struct ViewPictureJob {
    std::shared_ptr<const CJwwDoc> drawing;
    CJwwScreen screen;
    ViewValues values;
    QSize size;  // device units
    double dpiX = 96;
    double dpiY = 96;
    // Pixels of the screen per device unit (2 on a 200 % screen): the
    // picture has that many more pixels each way, shows the same part of
    // the drawing and carries the ratio, so lines and texts stay sharp.
    double pixelRatio = 1;
};

struct ViewPicture {
    QImage image;
    DrawReport report;
    bool cancelled = false;
    // The drawing it shows, for telling pictures of different drawings
    // apart (never dereferenced).
    const CJwwDoc* drawing = nullptr;
};

// What the draw sets in the drawing context before it draws: the device
// size from the extent, the visible height from the view width and the
// extent's aspect, the scales, the visible rectangle and the dot radius.
// Done on the document's own context, so that the pointer maps to the
// drawing exactly as the picture being drawn shows it.
void SetUpScreen(CJwwScreen& screen, const ViewValues& values, double dpiX, double dpiY);

// Draws the picture: a white image of the job's size (times the pixel
// ratio) with the drawing on it, exactly as the picture exports draw it. Stops early when `cancel` is
// set (the picture is then incomplete and marked cancelled).
ViewPicture DrawViewPicture(ViewPictureJob& job, const std::atomic<bool>* cancel);

}  // namespace tolvani::display
