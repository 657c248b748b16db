#include "display/ui/ViewPicture.h"

#include <cmath>

#include "display/RecordingCanvas.h"
#include "display/ViewDocument.h"
#include "display/qt/ImageDraw.h"

namespace tolvani::display {

namespace {

// A target that only converts sizes, at the view's resolution.
class ResolutionCanvas : public RecordingCanvas {
public:
    explicit ResolutionCanvas(DeviceResolution r) : resolution_(r) {}
    DeviceSize HimetricToDevice(DeviceSize himetric) const override { return resolution_.ToDevice(himetric); }
    DeviceSize DeviceToHimetric(DeviceSize device) const override { return resolution_.ToHimetric(device); }

private:
    DeviceResolution resolution_;
};

}  // namespace

void SetUpScreen(CJwwScreen& screen, const ViewValues& values, double dpiX, double dpiY) {
    SetUpDrawingContext(ResolutionCanvas({dpiX, dpiY}), screen, values);
}

ViewPicture DrawViewPicture(ViewPictureJob& job, const std::atomic<bool>* cancel) {
    ViewPicture out;
    if (job.size.isEmpty()) return out;
    const double ratio =
        std::isfinite(job.pixelRatio) && job.pixelRatio >= 1 && job.pixelRatio <= 8 ? job.pixelRatio : 1;
    const QSize pixels(static_cast<int>(std::lround(job.size.width() * ratio)),
                       static_cast<int>(std::lround(job.size.height() * ratio)));
    // Drawn at the screen's own pixels: the drawing context is set up for
    // that resolution on the job's copy, so the same part of the drawing
    // fills the picture.
    const double dpiX = job.dpiX * ratio, dpiY = job.dpiY * ratio;
    out.image = QImage(pixels, QImage::Format_RGB32);
    out.image.fill(Qt::white);
    out.image.setDotsPerMeterX(static_cast<int>(std::lround(dpiX / 0.0254)));
    out.image.setDotsPerMeterY(static_cast<int>(std::lround(dpiY / 0.0254)));
    if (job.drawing) {
        out.drawing = job.drawing.get();
        DrawControl control;
        control.threads = 0;
        control.cancel = cancel;
        control.dpiX = dpiX;
        control.dpiY = dpiY;
        ViewValues values = job.values;
        values.clientSize = {pixels.width(), pixels.height()};
        out.report = DrawDrawingToImage(out.image, *job.drawing, job.screen, values, control);
    }
    // The ratio goes on only now: the draw works in the image's pixels.
    out.image.setDevicePixelRatio(ratio);
    if (!job.drawing) return out;
    out.cancelled = out.report.cancelled || (cancel && cancel->load());
    return out;
}

}  // namespace tolvani::display
