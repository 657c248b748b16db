// A mode that takes the view's mouse for a while and draws over its
// picture: the table placement arms one. The view keeps its own zoom drag
// working beside it.
#pragma once

#include <QPainter>
#include <QPoint>

#include "display/CJwwScreen.h"

namespace tolvani::display {

class ViewMouseMode {
public:
    virtual ~ViewMouseMode() = default;

    // The placement steps: every left press without Alt, every move and
    // every left release, with the point in drawing millimetres (as the
    // view's ToDrawing gives it) and in device units.
    virtual void Press(const JwwPoint& at, QPoint device) = 0;
    virtual void Move(const JwwPoint& at, QPoint device) = 0;
    virtual void Release(const JwwPoint& at, QPoint device) = 0;
    // Draws over the view's picture, after the picture and before the zoom
    // band.
    virtual void Paint(QPainter& painter, const CJwwScreen& screen) = 0;
    // A key pressed in the view; returns true when the mode took it (Esc
    // ends a placement). Keys not taken go on to the view's own keys.
    virtual bool Key(int qtKey) {
        (void)qtKey;
        return false;
    }
};

}  // namespace tolvani::display
