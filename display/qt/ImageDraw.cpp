#include "display/qt/ImageDraw.h"

#include <QPainter>
#include <algorithm>
#include <vector>

#include "display/WorkerPool.h"
#include "display/qt/QtCanvas.h"

namespace tolvani::display {

namespace {

// Bands lower than this are not worth a thread of their own.
constexpr int kMinBandRows = 16;
constexpr int kMaxThreads = 64;

// The image's own pixels, one per device unit whatever its pixel ratio: an
// image of the same memory, so that each band has a painter of its own.
QImage SameBits(QImage& image, uchar* bits) {
    QImage pixels(bits, image.width(), image.height(), image.bytesPerLine(), image.format());
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
        image.format() == QImage::Format_MonoLSB)
        pixels.setColorTable(image.colorTable());
    return pixels;
}

void Merge(DrawReport& into, const DrawReport& band) {
    into.missingDefinitions.insert(into.missingDefinitions.end(), band.missingDefinitions.begin(),
                                   band.missingDefinitions.end());
    into.cancelled = into.cancelled || band.cancelled;
    into.budgetExhausted = into.budgetExhausted || band.budgetExhausted;
}

}  // namespace

DrawReport DrawDrawingToImage(QImage& image, const CJwwDoc& doc, CJwwScreen& screen, const ViewValues& values,
                              const DrawControl& control) {
    if (image.isNull()) return {};
    const double dpiX = control.dpiX > 0 ? control.dpiX : image.dotsPerMeterX() * 0.0254;
    const double dpiY = control.dpiY > 0 ? control.dpiY : image.dotsPerMeterY() * 0.0254;
    uchar* const bits = image.bits();  // detaches a shared image here, on the caller's thread
    const int height = image.height();
    int bands = control.threads <= 0 ? WorkerPool::Cores() : control.threads;
    bands = std::clamp(std::min(bands, height / kMinBandRows), 1, kMaxThreads);

    // The drawing context is set up once, as a draw of the whole image sets
    // it up; every band draws with a copy of it.
    {
        QImage pixels = SameBits(image, bits);
        QPainter painter(&pixels);
        QtCanvas canvas(painter, dpiX, dpiY, &pixels);
        if (!SetUpDrawingContext(canvas, screen, values)) return {};
        if (bands == 1) return DrawMainList(canvas, doc, screen, values, control.cancel);
    }
    std::vector<DrawReport> reports(static_cast<std::size_t>(bands));
    WorkerPool::Shared().Run(bands, [&](int band) {
        const int top = static_cast<int>(static_cast<long long>(height) * band / bands);
        const int bottom = static_cast<int>(static_cast<long long>(height) * (band + 1) / bands) - 1;
        CJwwScreen own = screen;
        QImage pixels = SameBits(image, bits);
        QPainter painter(&pixels);
        QtCanvas canvas(painter, dpiX, dpiY, &pixels);
        canvas.SetBand(top, bottom);
        reports[static_cast<std::size_t>(band)] = DrawMainList(canvas, doc, own, values, control.cancel);
    });
    DrawReport report;
    for (const DrawReport& r : reports) Merge(report, r);
    auto& missing = report.missingDefinitions;
    std::sort(missing.begin(), missing.end());
    missing.erase(std::unique(missing.begin(), missing.end()), missing.end());
    return report;
}

}  // namespace tolvani::display
