// The Qt application that the QPainter tests need.
#pragma once

namespace tolvani::test {

// Creates the Qt application once (offscreen when there is no display).
void EnsureGuiApp();

}  // namespace tolvani::test
