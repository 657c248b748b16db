// The table placement in the view: once a measured table is armed, the
// left press shows the table's outline with its top-left corner at the
// pointer, the outline follows the pointer, and the release places the
// table there. Esc ends the placement without placing anything.
#pragma once

#include <functional>

#include "display/ui/ViewMouseMode.h"

namespace tolvani::viewer {

class TablePlacementMode : public display::ViewMouseMode {
public:
    // Waits for a table of the given size (millimetres) to be placed.
    void Arm(double width, double height);
    // Ends the placement; nothing is placed.
    void Disarm();
    bool armed() const { return armed_; }
    bool tracking() const { return tracking_; }
    // The outline's top-left corner in drawing millimetres.
    JwwPoint corner() const { return corner_; }

    // Called with the release point; returns true when the table was
    // placed, which ends the placement. A refusal keeps it armed.
    std::function<bool(const JwwPoint& at)> onPlace;
    // Called when Esc ended the placement.
    std::function<void()> onCancel;

    void Press(const JwwPoint& at, QPoint device) override;
    void Move(const JwwPoint& at, QPoint device) override;
    void Release(const JwwPoint& at, QPoint device) override;
    void Paint(QPainter& painter, const display::CJwwScreen& screen) override;
    bool Key(int qtKey) override;

private:
    bool armed_ = false;
    bool tracking_ = false;
    double width_ = 0;
    double height_ = 0;
    JwwPoint corner_;
};

}  // namespace tolvani::viewer
