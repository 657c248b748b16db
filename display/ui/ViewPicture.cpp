#include "display/ui/ViewPicture.h"

#include <cmath>

#include "display/ViewDocument.h"
#include "display/RecordingCanvas.h"
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
    out.image = QImage(job.size, QImage::Format_RGB32);
    out.image.fill(Qt::white);
    out.image.setDotsPerMeterX(static_cast<int>(std::lround(job.dpiX / 0.0254)));
    out.image.setDotsPerMeterY(static_cast<int>(std::lround(job.dpiY / 0.0254)));
    if (!job.drawing) return out;
    out.drawing = job.drawing.get();
    DrawControl control;
    control.threads = 0;
    control.cancel = cancel;
    control.dpiX = job.dpiX;
    control.dpiY = job.dpiY;
    out.report = DrawDrawingToImage(out.image, *job.drawing, job.screen, job.values, control);
    out.cancelled = out.report.cancelled || (cancel && cancel->load());
    return out;
}

}  // namespace tolvani::display
