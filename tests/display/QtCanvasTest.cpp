// The QPainter canvas on the offscreen platform: fonts, glyph placement,
// raster modes, and the picture exports.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include "display/qt/DirectRaster.h"
#include "display/qt/DrawingExport.h"
#include "display/qt/FontMapper.h"
#include "display/qt/QtCanvas.h"
#include "model/Cp932.h"
#include "tests/display/DisplayTestSupport.h"
#include "tests/display/GuiApp.h"

namespace tolvani::display {
namespace {

class QtCanvasTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::EnsureGuiApp(); }
};

QImage White(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The bounding box of every pixel that is not white.
QRect Inked(const QImage& image) {
    int l = image.width(), t = image.height(), r = -1, b = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
    return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

TEST_F(QtCanvasTest, DrawingFaceNamesMapToInstalledJapaneseFonts) {
    struct Case {
        const char* face;
        const char* family;
    };
    const Case cases[] = {
        {"ＭＳ　ゴシック", "IPAGothic"}, {"ＭＳ ゴシック", "IPAGothic"},    {"MS Gothic", "IPAGothic"},
        {"ＭＳ　明朝", "IPAMincho"},     {"MS Mincho", "IPAMincho"},        {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"ＭＳ Ｐ明朝", "IPAPMincho"},   {"どこにもない書体", "IPAGothic"}, {"", "IPAGothic"},
    };
    FontMapper mapper;
    for (const auto& c : cases) EXPECT_EQ(mapper.Family(Utf8ToCp932(c.face)).toStdString(), c.family) << c.face;
}

TEST_F(QtCanvasTest, GlyphsHangFromTheirTopLeftPointOnImagesAndVectorTargets) {
    for (bool direct : {true, false}) {
        QImage image = White(200, 100);
        {
            QPainter painter(&image);
            QtCanvas canvas(painter, 96, 96, direct ? &image : nullptr);
            LogFont f;
            f.height = 40;
            f.faceName = Utf8ToCp932("ＭＳ ゴシック");
            canvas.SetFont(f);
            canvas.SetTextColor(kBlack);
            canvas.TextOut(50, 30, Utf8ToCp932("田"), 0);
        }
        const QRect ink = Inked(image);
        ASSERT_FALSE(ink.isNull()) << direct;
        EXPECT_GE(ink.top(), 30) << direct;
        EXPECT_LE(ink.bottom(), 70) << direct;
        EXPECT_GE(ink.left(), 50) << direct;
        EXPECT_LE(ink.right(), 90) << direct;
        EXPECT_GT(ink.height(), 25) << direct;
    }
}

TEST_F(QtCanvasTest, VerticalFullWidthGlyphsStandInTheColumnLeftOfThePoint) {
    QImage image = White(200, 200);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter, 96, 96, &image);
        LogFont f;
        f.height = 40;
        f.escapement = f.orientation = -900;
        f.faceName = "@" + Utf8ToCp932("ＭＳ ゴシック");
        canvas.SetFont(f);
        canvas.TextOut(100, 50, Utf8ToCp932("田"), 0);
    }
    const QRect ink = Inked(image);
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 60);
    EXPECT_LE(ink.right(), 100);
    EXPECT_GE(ink.top(), 50);
    EXPECT_LE(ink.bottom(), 90);
}

TEST_F(QtCanvasTest, VerticalLongVowelMarkRunsAlongTheColumn) {
    QImage image = White(200, 200);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter, 96, 96, &image);
        LogFont f;
        f.height = 60;
        f.escapement = -900;
        f.faceName = "@" + Utf8ToCp932("ＭＳ ゴシック");
        canvas.SetFont(f);
        canvas.TextOut(100, 50, Utf8ToCp932("ー"), 0);
    }
    const QRect ink = Inked(image);
    ASSERT_FALSE(ink.isNull());
    EXPECT_GT(ink.height(), 3 * ink.width());  // a vertical bar, not a horizontal one
}

TEST_F(QtCanvasTest, NotXorDrawnTwiceRestoresEveryPixelAndVectorTargetsRefuseIt) {
    QImage image = White(64, 64);
    {
        QPainter painter(&image);
        painter.fillRect(0, 0, 32, 64, Qt::blue);
        const QImage before = image.copy();
        QtCanvas canvas(painter, 96, 96, &image);
        ASSERT_TRUE(canvas.SetRasterMode(RasterMode::NotXorPen));
        canvas.SetPen({PenStyle::Solid, 1, kBlack});
        for (int i = 0; i < 2; ++i) {
            canvas.MoveTo(5, 5);
            canvas.LineTo(60, 40);
        }
        canvas.SetRasterMode(RasterMode::CopyPen);
        painter.end();
        EXPECT_EQ(image, before);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(10, 10));
    QPainter painter(&svg);
    QtCanvas canvas(painter, 96, 96);
    EXPECT_FALSE(canvas.SetRasterMode(RasterMode::NotXorPen));
}

TEST_F(QtCanvasTest, HimetricConversionIsAPureScale) {
    QImage image = White(4, 4);
    QPainter painter(&image);
    QtCanvas canvas(painter, 96, 96, &image);
    const DeviceSize d = canvas.HimetricToDevice({42333, 29915});
    EXPECT_EQ(d.width, 1600);
    EXPECT_EQ(d.height, 1131);
    const DeviceSize h = canvas.DeviceToHimetric({1600, 1131});
    EXPECT_EQ(h.width, 42333);
    EXPECT_EQ(h.height, 29924);
}

std::unique_ptr<CJwwDoc> SmallDrawing() {
    auto doc = test::NewDoc();
    doc->shownPaperSize = 3;
    auto line = std::make_unique<CDataSen>();
    line->lineType = 1;
    line->color = 2;
    line->start = {-200, -140};
    line->end = {200, 140};
    doc->AddElement(std::move(line));
    auto text = std::make_unique<CDataMoji>();
    text->color = 2;
    text->height = text->charWidth = 20;
    text->start = {-150, 50};
    text->fontName = Utf8ToCp932("ＭＳ ゴシック");
    text->text = Utf8ToCp932("図面");
    doc->AddElement(std::move(text));
    return doc;
}

TEST_F(QtCanvasTest, PngSvgAndPdfShowTheSamePicture) {
    auto doc = SmallDrawing();
    ExportOptions o;
    o.width = 420;
    o.height = 297;
    DrawReport report;
    const QImage png = RenderImage(*doc, o, &report);
    EXPECT_EQ(png.size(), QSize(420, 297));
    EXPECT_EQ(png.pixel(0, 0), qRgb(255, 255, 255));
    const QRect ink = Inked(png);
    EXPECT_LE(ink.left(), 12);  // the diagonal reaches near both corners
    EXPECT_GE(ink.right(), 407);

    const QByteArray svg = ExportSvg(*doc, o, &report);
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 420 297\""));
    EXPECT_TRUE(svg.contains("width=\"111.125mm\""));
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    QImage back = White(420, 297);
    {
        QPainter p(&back);
        renderer.render(&p);
    }
    const QRect svgInk = Inked(back);
    EXPECT_NEAR(svgInk.left(), ink.left(), 2);
    EXPECT_NEAR(svgInk.right(), ink.right(), 2);
    EXPECT_NEAR(svgInk.top(), ink.top(), 3);

    const QByteArray pdf = ExportPdf(*doc, o, &report);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    const qsizetype box = pdf.indexOf("/MediaBox [");
    ASSERT_GE(box, 0);
    const QList<QByteArray> numbers = pdf.mid(box + 11, 40).split(']').at(0).simplified().split(' ');
    ASSERT_EQ(numbers.size(), 4);
    EXPECT_NEAR(numbers[2].toDouble(), 841.9, 1);  // A4 landscape, in points
    EXPECT_NEAR(numbers[3].toDouble(), 595.3, 1);
}

}  // namespace
}  // namespace tolvani::display

namespace tolvani::display {
namespace {

// Values no real drawing holds: the draw must still end, quickly, with
// nothing read or written out of bounds.
TEST_F(QtCanvasTest, HostileValuesDrawWithoutFailing) {
    auto doc = test::NewDoc();
    const double odd[] = {NAN, INFINITY, -INFINITY, 1e300, -1e300, 1e12, 0, -0.0, 5e-324};
    for (double v : odd) {
        auto line = std::make_unique<CDataSen>();
        line->lineType = 12;
        line->start = {v, 1};
        line->end = {1, v};
        doc->AddElement(std::move(line));
        auto arc = std::make_unique<CDataEnko>();
        arc->radius = v;
        arc->flatness = v;
        arc->arcAngle = v;
        arc->fullCircle = 1;
        arc->lineType = 40;
        doc->AddElement(std::move(arc));
        auto text = std::make_unique<CDataMoji>();
        text->height = text->charWidth = v;
        text->spacing = v;
        text->angle = v;
        text->flag = 0x20;
        text->text = JwwString("^u^o\x82\xa0^");
        doc->AddElement(std::move(text));
        auto point = std::make_unique<CDataTen>();
        point->lineType = CDataTen::kLongForm;
        point->pointCode = 8;
        point->scale = v;
        point->angle = v;
        doc->AddElement(std::move(point));
        for (int type : {1, 101, 105, 106, 111}) {
            auto solid = std::make_unique<CDataSolid>();
            solid->lineType = static_cast<uint8_t>(type);
            for (auto& c : solid->corner) c = {v, v};
            doc->AddElement(std::move(solid));
        }
        auto ins = std::make_unique<CDataBlock>();
        ins->scaleX = v;
        ins->scaleY = -v;
        ins->angle = v;
        ins->definitionNumber = 1;
        doc->AddElement(std::move(ins));
    }
    auto def = std::make_unique<CDataList>();
    def->number = 1;
    auto inner = std::make_unique<CDataMoji>();
    inner->height = inner->charWidth = 3;
    inner->text = JwwString("A");
    def->elements.push_back(std::move(inner));
    doc->AddDefinition(std::move(def));
    doc->header.linePitch[12] = 0;
    for (int size : {0, 3, 99}) {
        doc->shownPaperSize = size;
        ExportOptions o;
        o.width = 300;
        o.height = 200;
        o.dotSize = 1 << 30;
        DrawReport report;
        const QImage image = RenderImage(*doc, o, &report);
        EXPECT_EQ(image.size(), QSize(300, 200));
        EXPECT_FALSE(ExportSvg(*doc, o, &report).isEmpty());
    }
}

// The pixels of a run of segments walked one pixel at a time: every pixel
// of the walk is visited, drawn when the dash pattern is in an "on" part.
std::vector<QPoint> WalkedPixels(const std::vector<int>& dashes, const std::vector<QPoint>& run) {
    std::vector<QPoint> out;
    int total = 0;
    for (int d : dashes) total += d;
    long phase = 0;
    for (std::size_t s = 1; s < run.size(); ++s) {
        const QPoint a = run[s - 1], b = run[s];
        const int dx = std::abs(b.x() - a.x()), dy = std::abs(b.y() - a.y());
        const int sx = b.x() >= a.x() ? 1 : -1, sy = b.y() >= a.y() ? 1 : -1;
        const bool xMajor = dx >= dy;
        const int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
        int err = 2 * minor - major, x = a.x(), y = a.y();
        // Each segment starts where the pattern stood at the end of the
        // previous one: the shared corner pixel has one place in it.
        for (int i = 0; i <= major; ++i) {
            bool on = true;
            if (total > 0) {
                long pos = (phase + i) % total;
                std::size_t k = 0;
                while (pos >= dashes[k]) pos -= dashes[k++];
                on = k % 2 == 0;
            }
            if (on) out.push_back({x, y});
            if (i == major) break;
            if (err > 0) {
                if (xMajor)
                    y += sy;
                else
                    x += sx;
                err -= 2 * major;
            }
            err += 2 * minor;
            if (xMajor)
                x += sx;
            else
                y += sy;
        }
        phase += major;
    }
    return out;
}

TEST_F(QtCanvasTest, ThinLinesDrawEveryPixelOfTheWalkInTheDashPattern) {
    const std::vector<std::vector<int>> patterns = {{},     {18, 6},  {3, 3}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3},
                                                    {1, 1}, {2, 5, 1}};
    const std::vector<std::vector<QPoint>> runs = {
        {{100, 100}, {180, 100}},                              // level
        {{100, 100}, {100, 20}},                               // upright
        {{100, 100}, {163, 131}},                              // shallow
        {{100, 100}, {71, 185}},                               // steep
        {{100, 100}, {30, 30}},                                // diagonal
        {{100, 100}, {100, 100}},                              // a point
        {{20, 20}, {90, 41}, {95, 170}, {10, 120}, {20, 20}},  // a closed run
        {{5, 190}, {194, 3}},                                  // corner to corner
    };
    for (const auto& dashes : patterns) {
        for (const auto& run : runs) {
            SCOPED_TRACE(::testing::Message() << "dashes " << dashes.size() << ", run of " << run.size());
            QImage image = White(200, 200);
            DirectRaster raster(image);
            raster.SetDashes(dashes);
            raster.SetColor(qRgb(0, 0, 0));
            raster.StartRun();
            for (std::size_t s = 1; s < run.size(); ++s)
                raster.Line(run[s - 1].x(), run[s - 1].y(), run[s].x(), run[s].y());
            QImage expected = White(200, 200);
            for (const QPoint& p : WalkedPixels(dashes, run)) expected.setPixel(p, qRgb(0, 0, 0));
            EXPECT_TRUE(image == expected);
        }
    }
}

// A picture drawn in bands of rows, each band walking every primitive over
// the whole image and writing only its own rows, is the picture drawn at
// once: lines that leave the image, dash patterns, fills and glyph masks.
TEST_F(QtCanvasTest, PixelWalksDrawnInBandsOfRowsGiveTheWholePicture) {
    const std::vector<std::vector<int>> patterns = {{}, {3, 3}, {9, 6, 3, 6}, {2, 5, 1}};
    const std::vector<std::vector<QPoint>> runs = {
        {{100, 100}, {180, 100}}, {{100, 100}, {100, 20}},
        {{100, 100}, {163, 131}}, {{100, 100}, {71, 185}},
        {{100, 100}, {30, 30}},   {{5, 190}, {194, 3}},
        {{-50, 30}, {260, 170}},  {{190, -40}, {10, 250}},
        {{-300, 199}, {500, 0}},  {{20, 20}, {90, 41}, {95, 170}, {10, 120}, {20, 20}},
    };
    const std::vector<uint8_t> glyph = {1, 0, 1, 1, 0, 1, 1, 1, 0, 1, 0, 1, 1, 1, 1, 0, 0, 1, 0, 1};  // 5 × 4
    auto draw = [&](DirectRaster& raster, const std::vector<int>& dashes) {
        raster.SetColor(qRgb(0, 0, 0));
        raster.SetDashes(dashes);
        for (const auto& run : runs) {
            raster.StartRun();
            for (std::size_t s = 1; s < run.size(); ++s)
                raster.Line(run[s - 1].x(), run[s - 1].y(), run[s].x(), run[s].y());
        }
        const DevicePoint star[] = {{30, 10}, {60, 170}, {5, 60}, {190, 80}, {20, 150}};
        raster.FillPolygon(star, 5, qRgb(0, 0, 255));
        raster.FillEllipse(120.5, 90, 40, 70.5, qRgb(0, 160, 0));
        raster.Mask(glyph, 5, 4, -1, -2, 140, 101, 0);
        raster.Mask(glyph, 5, 4, 0.5, -1, 60, 98, 33);
    };
    for (const auto& dashes : patterns) {
        QImage whole = White(200, 200);
        DirectRaster all(whole);
        draw(all, dashes);
        for (const std::vector<int>& cuts : std::vector<std::vector<int>>{{1}, {37, 100, 101}, {99}, {150, 199}}) {
            SCOPED_TRACE(::testing::Message() << "dashes " << dashes.size() << ", first cut " << cuts[0]);
            // Each band on an image of its own: its rows are those of the
            // whole picture, and nothing lands outside them.
            int top = 0;
            for (std::size_t i = 0; i <= cuts.size(); ++i) {
                const int bottom = i < cuts.size() ? cuts[i] - 1 : 199;
                QImage banded = White(200, 200);
                DirectRaster band(banded);
                band.SetRows(top, bottom);
                draw(band, dashes);
                QImage expected = White(200, 200);
                for (int y = top; y <= bottom; ++y)
                    std::copy_n(whole.constScanLine(y), whole.bytesPerLine(), expected.scanLine(y));
                EXPECT_TRUE(banded == expected) << "rows " << top << " to " << bottom;
                top = bottom + 1;
            }
        }
    }
}

// Where the painter is moved, scaled, clipped or the image has a device
// pixel ratio, what the canvas writes straight into the image must land
// where QPainter itself puts it: the picture equals the one drawn through
// the painter alone.
TEST_F(QtCanvasTest, TransformedPaintersAndPixelRatiosGiveThePaintersOwnPicture) {
    struct Case {
        const char* name;
        double ratio;
        QTransform transform;
        bool clip;
    };
    const Case cases[] = {
        {"translated", 1, QTransform::fromTranslate(17, -9), false},
        {"scaled", 1, QTransform::fromScale(1.5, 1.5), false},
        {"ratio 2", 2, QTransform(), false},
        {"clipped", 1, QTransform(), true},
    };
    auto draw = [](const Case& c, bool withImage) {
        QImage image = White(240, 160);
        image.setDevicePixelRatio(c.ratio);
        QPainter painter(&image);
        painter.setTransform(c.transform);
        if (c.clip) painter.setClipRect(QRect(20, 10, 150, 90));
        QtCanvas canvas(painter, 96, 96, withImage ? &image : nullptr);
        canvas.SetPen({PenStyle::Solid, 1, kBlack});
        canvas.MoveTo(5, 5);
        canvas.LineTo(110, 70);
        canvas.SetPen({PenStyle::Dot, 1, kRed});
        const DevicePoint run[] = {{10, 60}, {60, 20}, {100, 60}};
        canvas.Polyline(run, 3);
        canvas.SetBrush(Brush::Solid(Rgb(0, 0, 255)));
        canvas.SetPen({PenStyle::Solid, 1, Rgb(0, 128, 0)});
        const DevicePoint quad[] = {{20, 30}, {50, 30}, {50, 45}, {20, 45}};
        canvas.Polygon(quad, 4);
        canvas.SetBrush(Brush::Empty());
        canvas.Ellipse({60, 10, 90, 40});
        LogFont f;
        f.height = 16;
        f.faceName = Utf8ToCp932("ＭＳ ゴシック");
        canvas.SetFont(f);
        canvas.SetTextColor(kBlack);
        canvas.TextOut(30, 50, Utf8ToCp932("田"), 0);
        painter.end();
        return image;
    };
    for (const Case& c : cases) {
        const QImage withImage = draw(c, true), painterOnly = draw(c, false);
        EXPECT_EQ(Inked(painterOnly).isNull(), false) << c.name;
        EXPECT_TRUE(withImage == painterOnly) << c.name;
    }
}

}  // namespace
}  // namespace tolvani::display
