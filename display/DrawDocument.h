// The document's drawing operations: draw the whole drawing onto a canvas,
// show the whole paper, show the drawing at a given scale. The values they
// need from the document (extent, client size, DotSize) are passed in.
#pragma once

#include <cstdint>
#include <vector>

#include "display/CJwwScreen.h"
#include "display/Canvas.h"
#include "model/CJwwDoc.h"

namespace tolvani::display {

// The document's view values.
struct ViewValues {
    DeviceSize extent;           // target area, HIMETRIC (0.01 mm)
    DeviceSize clientSize;       // view's client area, device units
    DeviceSize clientHimetric;   // the client area in HIMETRIC
    int32_t dotSize = 16;        // radius of plain points, 0.1 mm
};

// What one draw has to tell whoever asked for it.
struct DrawReport {
    // Numbers of block definitions that were placed but not found (or that
    // place themselves), ascending, each once.
    std::vector<int32_t> missingDefinitions;
};

// Paper width and height in millimetres for a paper size index; an index
// outside 0..14 gives the 420 × 297 paper of index 3.
void PaperSize(int index, double& width, double& height);

// Sets up the drawing context for the canvas from the extent and the view
// width, then draws the main element list. Draws nothing when the extent or
// the view is empty.
DrawReport DrawDrawing(Canvas& canvas, CJwwDoc& doc, CJwwScreen& screen, const ViewValues& values);

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

}  // namespace tolvani::display
