// The document's drawing operations: draw the whole drawing onto a canvas,
// show the whole paper, show the drawing at a given scale. The values they
// need from the document (extent, client size, DotSize) are passed in.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "display/CJwwScreen.h"
#include "display/Canvas.h"
#include "model/CJwwDoc.h"

namespace tolvani::display {

// The document's view values.
struct ViewValues {
    DeviceSize extent;          // target area, HIMETRIC (0.01 mm)
    DeviceSize clientSize;      // view's client area, device units
    DeviceSize clientHimetric;  // the client area in HIMETRIC
    int32_t dotSize = 16;       // radius of plain points, 0.1 mm
};

// How a draw is to be done: on how many threads (0: one per core), and a
// flag that, once set by the caller, stops the draw at the next element.
struct DrawControl {
    int threads = 1;
    const std::atomic<bool>* cancel = nullptr;
    // Device units per inch of an image target; 0 takes the image's own
    // dots per metre.
    double dpiX = 0;
    double dpiY = 0;
};

// What one draw has to tell whoever asked for it.
struct DrawReport {
    // Numbers of block definitions that were placed but not found (or that
    // place themselves), ascending, each once.
    std::vector<int32_t> missingDefinitions;
    // The cancel flag stopped the draw: the picture is unfinished.
    bool cancelled = false;
    // Block insertions placed more elements than one draw allows; the
    // insertions after the limit were not drawn.
    bool budgetExhausted = false;
};

// Paper width and height in millimetres for a paper size index; an index
// outside 0..14 gives the 420 × 297 paper of index 3.
void PaperSize(int index, double& width, double& height);

// Sets up the drawing context for the canvas from the extent and the view
// width: deviceWidth, deviceHeight, viewHeight, scaleX, scaleY, the visible
// rectangle (left, bottom, right, top) and dotRadius. Returns false, and
// changes nothing, when the extent or the view is empty or not finite.
bool SetUpDrawingContext(const Canvas& canvas, CJwwScreen& screen, const ViewValues& values);

// Draws the main element list with a drawing context already set up. Of the
// context it writes only the scratch point buffers. `cancel`, when given and
// set, stops the draw at the next element.
DrawReport DrawMainList(Canvas& canvas, const CJwwDoc& doc, CJwwScreen& screen, const ViewValues& values,
                        const std::atomic<bool>* cancel = nullptr);

// SetUpDrawingContext, then DrawMainList. Draws nothing when the extent or
// the view is empty. The drawing is only read, so that several draws of one
// drawing may run at once, each with its own drawing context (a copy of
// the view's, for printing, pictures or a draw in the background).
DrawReport DrawDrawing(Canvas& canvas, const CJwwDoc& doc, CJwwScreen& screen, const ViewValues& values,
                       const std::atomic<bool>* cancel = nullptr);

// Records the client size and sets the extent to it in HIMETRIC.
void SetClientSize(const Canvas& canvas, ViewValues& values, int32_t cx, int32_t cy);

// Shows the whole paper, centred, with margins on one axis. Returns true
// when the views are to be redrawn (always; an empty extent changes nothing).
bool FitPaper(const CJwwDoc& doc, CJwwScreen& screen, const ViewValues& values);

// Shows the drawing at 1 : s of screen millimetres. Returns false (no
// redraw) for s = 0.
bool SetViewScale(CJwwScreen& screen, const ViewValues& values, double s);

// The message of a missing block definition.
extern const char* const kBlockMissingMessage;
// The message of a draw whose insertions placed more elements than allowed.
extern const char* const kPlacementBudgetMessage;

}  // namespace tolvani::display
