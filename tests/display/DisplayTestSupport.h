// Small fixtures for the display tests: a drawing with the new-drawing
// defaults, a drawing context with chosen scales, drawing a list onto a
// recording canvas.
#pragma once

#include <memory>

#include "display/CJwwScreen.h"
#include "display/ElementRenderer.h"
#include "display/RecordingCanvas.h"
#include "model/CJwwDoc.h"

namespace tolvani::test {

std::unique_ptr<CJwwDoc> NewDoc();

// A context whose visible rectangle has its top-left corner at (left, top)
// with the given device units per millimetre.
display::CJwwScreen ScreenAt(double left, double top, double sx, double sy);

// Draws the list (or the main list) through a fresh render state.
void Draw(display::RecordingCanvas& canvas, CJwwDoc& doc, display::CJwwScreen& screen,
          const ElementList* list = nullptr, int dotSize = 16);

}  // namespace tolvani::test
