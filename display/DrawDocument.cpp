#include "display/DrawDocument.h"

#include <algorithm>

#include "display/DeviceMath.h"
#include "display/ElementRenderer.h"

namespace tolvani::display {

const char* const kBlockMissingMessage = "ブロックが見つかりません！";
const char* const kPlacementBudgetMessage = "ブロック図形の配置が多すぎるため、一部のブロック図形を描画していません。";

namespace {

struct Paper {
    double width, height;
};

const Paper kPapers[15] = {
    {1189, 841},  {841, 594},   {594, 420},    {420, 297},     {297, 210},
    {1682, 1189}, {2378, 1682}, {3364, 2378},  {1682, 1189},   {2378, 1682},
    {3364, 2378}, {4756, 3364}, {10000, 7070}, {50000, 35400}, {100000, 70700},
};

}  // namespace

void PaperSize(int index, double& width, double& height) {
    const Paper& p = index >= 0 && index <= 14 ? kPapers[index] : kPapers[3];
    width = p.width;
    height = p.height;
}

bool SetUpDrawingContext(const Canvas& canvas, CJwwScreen& screen, const ViewValues& values) {
    const DeviceSize ext = values.extent;
    if (ext.width <= 0 || ext.height <= 0) return false;
    const DeviceSize lp = canvas.HimetricToDevice(ext);
    const double w = screen.viewWidth;
    const double h = w / (static_cast<double>(ext.width) / ext.height);
    const double sx = lp.width / w, sy = lp.height / h;
    if (!(w > 0) || !Finite(w) || !Finite(h) || !(h > 0) || !Finite(sx) || !Finite(sy) || !(sx > 0) || !(sy > 0))
        return false;
    screen.deviceWidth = lp.width;
    screen.deviceHeight = lp.height;
    screen.viewHeight = h;
    screen.scaleX = sx;
    screen.scaleY = sy;
    screen.UpdateVisibleRect();
    screen.dotRadius = Trunc(values.dotSize * sx * 0.1);
    return true;
}

DrawReport DrawMainList(Canvas& canvas, const CJwwDoc& doc, CJwwScreen& screen, const ViewValues& values,
                        const std::atomic<bool>* cancel) {
    DrawReport report;
    RenderState state(canvas, doc, screen, values.dotSize);
    state.cancel = cancel;
    DrawElements(state, doc.mainList, nullptr);
    report.missingDefinitions.assign(state.missing.begin(), state.missing.end());
    std::sort(report.missingDefinitions.begin(), report.missingDefinitions.end());
    report.cancelled = state.cancelled;
    report.budgetExhausted = state.budgetExhausted;
    return report;
}

DrawReport DrawDrawing(Canvas& canvas, const CJwwDoc& doc, CJwwScreen& screen, const ViewValues& values,
                       const std::atomic<bool>* cancel) {
    if (!SetUpDrawingContext(canvas, screen, values)) return {};
    return DrawMainList(canvas, doc, screen, values, cancel);
}

void SetClientSize(const Canvas& canvas, ViewValues& values, int32_t cx, int32_t cy) {
    values.clientSize = {cx, cy};
    values.extent = canvas.DeviceToHimetric({cx, cy});
}

bool FitPaper(const CJwwDoc& doc, CJwwScreen& screen, const ViewValues& values) {
    double pw, ph;
    PaperSize(doc.shownPaperSize, pw, ph);
    if (values.extent.width <= 0 || values.extent.height <= 0) return true;
    const double r = static_cast<double>(values.extent.width) / values.extent.height;
    if (r > pw / ph)
        pw = r * ph;
    else
        ph = pw / r;
    if (pw != 0 && ph != 0 && Finite(pw) && Finite(ph)) {
        screen.deviceWidth = values.clientSize.width;
        screen.deviceHeight = values.clientSize.height;
        screen.centerX = screen.centerY = 0;
        screen.viewWidth = pw;
        screen.viewHeight = ph;
        screen.scaleX = screen.deviceWidth / pw;
        screen.scaleY = screen.deviceHeight / ph;
        screen.UpdateVisibleRect();
    }
    return true;
}

bool SetViewScale(CJwwScreen& screen, const ViewValues& values, double s) {
    if (s == 0 || !Finite(s)) return false;
    const double w = values.clientHimetric.width * 0.01 / s;
    const double h = values.clientHimetric.height * 0.01 / s;
    if (w != 0 && h != 0 && Finite(w) && Finite(h)) {
        screen.viewWidth = w;
        screen.viewHeight = h;
        screen.UpdateVisibleRect();
        screen.UpdateScales();
    }
    return true;
}

}  // namespace tolvani::display
