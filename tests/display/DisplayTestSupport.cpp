#include "tests/display/DisplayTestSupport.h"

namespace tolvani::test {

std::unique_ptr<CJwwDoc> NewDoc() {
    auto doc = std::make_unique<CJwwDoc>();
    doc->header.SetNewDrawingDefaults();
    return doc;
}

display::CJwwScreen ScreenAt(double left, double top, double sx, double sy) {
    display::CJwwScreen s;
    s.left = left;
    s.top = top;
    s.scaleX = sx;
    s.scaleY = sy;
    s.viewWidth = 800 / sx;
    s.viewHeight = 600 / sy;
    s.right = left + s.viewWidth;
    s.bottom = top - s.viewHeight;
    s.centerX = left + s.viewWidth / 2;
    s.centerY = s.bottom + s.viewHeight / 2;
    s.deviceWidth = 800;
    s.deviceHeight = 600;
    return s;
}

void Draw(display::RecordingCanvas& canvas, CJwwDoc& doc, display::CJwwScreen& screen, const ElementList* list,
          int dotSize) {
    display::RenderState rs(canvas, doc, screen, dotSize);
    display::DrawElements(rs, list ? *list : doc.mainList, nullptr);
}

}  // namespace tolvani::test
