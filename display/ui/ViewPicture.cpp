#include "display/ui/ViewPicture.h"

#include <QPainter>
#include <cmath>

#include "display/ViewDocument.h"
#include "display/qt/QtCanvas.h"

namespace tolvani::display {

void SetUpScreen(CJwwScreen& screen, const ViewValues& values, double dpiX, double dpiY) {
    const DeviceSize ext = values.extent;
    if (ext.width <= 0 || ext.height <= 0) return;
    const DeviceSize lp = DeviceResolution{dpiX, dpiY}.ToDevice(ext);
    const double lpw = lp.width, lph = lp.height;
    const double w = screen.viewWidth;
    const double h = w / (static_cast<double>(ext.width) / ext.height);
    const double sx = lpw / w, sy = lph / h;
    if (!(w > 0) || !std::isfinite(w) || !(h > 0) || !std::isfinite(h) || !(sx > 0) || !std::isfinite(sx) ||
        !(sy > 0) || !std::isfinite(sy))
        return;
    screen.deviceWidth = lpw;
    screen.deviceHeight = lph;
    screen.viewHeight = h;
    screen.scaleX = sx;
    screen.scaleY = sy;
    screen.UpdateVisibleRect();
    screen.dotRadius = static_cast<int32_t>(values.dotSize * sx * 0.1);
}

ViewPicture DrawViewPicture(ViewPictureJob& job, const std::atomic<bool>* cancel) {
    ViewPicture out;
    if (job.size.isEmpty()) return out;
    out.image = QImage(job.size, QImage::Format_RGB32);
    out.image.fill(Qt::white);
    out.image.setDotsPerMeterX(static_cast<int>(std::lround(job.dpiX / 0.0254)));
    out.image.setDotsPerMeterY(static_cast<int>(std::lround(job.dpiY / 0.0254)));
    if (!job.drawing) return out;
    out.drawing = job.drawing.get();
    QPainter painter(&out.image);
    QtCanvas canvas(painter, job.dpiX, job.dpiY, &out.image);
    // The draw path does not change the drawing; it takes it as changeable
    // only until its signature says so.
    out.report = DrawDrawing(canvas, const_cast<CJwwDoc&>(*job.drawing), job.screen, job.values);
    painter.end();
    out.cancelled = cancel && cancel->load();
    return out;
}

}  // namespace tolvani::display
