// Ends a painter when the scope that painted is left, also when a failure
// (memory running out in the middle of a draw) is on its way up. Ending an
// SVG or PDF painter writes the whole document and can fail in turn; the
// painter's own destructor would then try again while the first failure
// unwinds, and a failure thrown there ends the program. Declared right after
// the painter, so that it runs first.
#pragma once

#include <QPaintEngine>
#include <QPainter>

namespace tolvani::display {

class PainterEnd {
public:
    explicit PainterEnd(QPainter& painter) : painter_(painter) {}
    ~PainterEnd() {
        if (!painter_.isActive()) return;
        try {
            painter_.end();
        } catch (...) {
            // What was half written is dropped with its device.
        }
        if (painter_.isActive() && painter_.paintEngine()) painter_.paintEngine()->setActive(false);
    }
    PainterEnd(const PainterEnd&) = delete;
    PainterEnd& operator=(const PainterEnd&) = delete;

private:
    QPainter& painter_;
};

}  // namespace tolvani::display
