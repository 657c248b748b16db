// The real drawings of the samples folder drawn whole: every one shows
// lines and texts where its elements lie.
#include <gtest/gtest.h>

#include <QImage>

#include "display/RecordingCanvas.h"
#include "display/qt/DrawingExport.h"
#include "model/JwwFile.h"
#include "tests/display/DisplayTestSupport.h"
#include "tests/display/GuiApp.h"
#include "tests/support/TestSupport.h"

namespace tolvani::display {
namespace {

int InkedPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour) ++n;
    return n;
}

TEST(SampleRendering, EverySampleDrawsWithoutMissingDefinitions) {
    const auto paths = test::SamplePaths();
    if (paths.empty()) GTEST_SKIP() << "no sample drawings";
    test::EnsureGuiApp();
    for (const auto& path : paths) {
        const LoadOutcome loaded = LoadDrawingFile(path);
        ASSERT_TRUE(loaded.ok()) << path;
        CJwwDoc& doc = *loaded.doc;
        ExportOptions o;
        o.width = 800;
        o.height = 566;
        DrawReport report;
        const QImage image = RenderImage(doc, o, &report);
        EXPECT_TRUE(report.missingDefinitions.empty()) << path;
        const int white = InkedPixels(image, qRgb(255, 255, 255));
        EXPECT_LT(white, o.width * o.height - 200) << path;  // something is drawn
    }
}

TEST(SampleRendering, TextsOfTheFirstSampleAppearInTheirColour) {
    const auto paths = test::SamplePaths();
    std::string test1;
    for (const auto& p : paths)
        if (p.size() >= 9 && p.compare(p.size() - 9, 9, "Test1.jww") == 0) test1 = p;
    if (test1.empty()) GTEST_SKIP() << "no sample drawings";
    test::EnsureGuiApp();
    const LoadOutcome loaded = LoadDrawingFile(test1);
    ASSERT_TRUE(loaded.ok());
    CJwwDoc& doc = *loaded.doc;
    // Its headings are texts of colour 5; nothing else uses that colour.
    const uint32_t c5 = doc.header.color[5];
    const QRgb colour = qRgb(c5 & 0xFF, (c5 >> 8) & 0xFF, (c5 >> 16) & 0xFF);
    const QImage image = RenderImage(doc, ExportOptions{}, nullptr);
    EXPECT_GT(InkedPixels(image, colour), 2000);
}

// The setback lines of the second sample are dotted, and so are the arcs
// that join them: the arcs are drawn with the dotted pen too.
TEST(SampleRendering, DottedArcsOfTheSecondSampleAreDrawnDotted) {
    std::string test2;
    for (const auto& p : test::SamplePaths())
        if (p.size() >= 9 && p.compare(p.size() - 9, 9, "Test2.jww") == 0) test2 = p;
    if (test2.empty()) GTEST_SKIP() << "no sample drawings";
    CJwwDoc doc;
    ASSERT_EQ(LoadJwwFile(test2, doc), CJwwDoc::LoadResult::Loaded);
    std::size_t dottedArcs = 0;
    for (const auto& e : doc.mainList)
        if (e->Kind() == ElementKind::Enko && e->lineType == 2) ++dottedArcs;
    ASSERT_GT(dottedArcs, 0u);
    RecordingCanvas canvas(96);
    ViewValues values;
    values.clientSize = {1600, 1131};
    values.extent = canvas.DeviceToHimetric(values.clientSize);
    CJwwScreen screen;
    FitPaper(doc, screen, values);
    DrawDrawing(canvas, doc, screen, values);
    std::size_t dottedCurves = 0;
    Pen pen;
    for (const auto& call : canvas.calls) {
        if (call.kind == CallKind::Pen) pen = call.pen;
        if ((call.kind == CallKind::Polyline || call.kind == CallKind::Ellipse) && pen.style == PenStyle::Dot)
            ++dottedCurves;
    }
    EXPECT_GE(dottedCurves, dottedArcs);
}

}  // namespace
}  // namespace tolvani::display
