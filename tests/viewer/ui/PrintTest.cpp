// Printing from the main window: the print dialog preset to A4 landscape,
// a page that shows the window's part of the drawing at the window's
// physical size, and a view whose drawing context printing leaves alone.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "display/qt/DrawingExport.h"
#include "model/DrawingGenerator.h"
#include "tests/support/WhenModal.h"
#include "viewer/CommandTable.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/CTolvaniDoc.h"
#include "viewer/ui/commands/ConnectCommands.h"
#include "viewer/ui/commands/PrintCommands.h"

#include "tests/support/ScriptedPrompts.h"

namespace tolvani::viewer {
namespace {

using test::WhenModal;

// The smallest rectangle holding every pixel that is not white.
QRect Ink(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int left = rgb.width(), top = rgb.height(), right = -1, bottom = -1;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if ((line[x] & 0xffffff) == 0xffffff) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

class PrintTest : public testing::Test {
protected:
    PrintTest() : doc_(store_, false), frame_(doc_, prompts_) {
        ConnectCommands(frame_, prompts_);
        doc_.core().ChangeDrawing([](CJwwDoc& d) { GenerateDrawing(d, {4000, 21, 12}); }, false);
        frame_.resize(760, 560);
        frame_.show();
        // A zoomed view, so that the page shows a part of the paper.
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame_));
        doc_.core().FitPaper();
        doc_.core().Screen().ZoomBy(0.5);
        doc_.core().UpdateAllViews();
        EXPECT_TRUE(
            QTest::qWaitFor([this] { return !frame_.view()->picture().isNull() && !frame_.view()->redrawPending(); }));
        print_ = frame_.findChild<PrintCommands*>();
        EXPECT_NE(print_, nullptr);
    }

    settings::MemorySettingsStore store_;
    test::QuietPrompts prompts_;
    CTolvaniDoc doc_;
    CMainFrame frame_;
    PrintCommands* print_ = nullptr;
};

TEST_F(PrintTest, PrintGivesAnA4LandscapePdfAndLeavesTheViewAsItWas) {
    ASSERT_NE(print_, nullptr);
    QPrinter& printer = print_->printer();
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    ASSERT_TRUE(frame_.Action(cmd::kFilePrint)->isEnabled());
    EXPECT_TRUE(frame_.Action(cmd::kFilePrintPreview)->isEnabled());
    EXPECT_TRUE(frame_.Action(cmd::kFilePrintSetup)->isEnabled());

    QTemporaryDir dir;
    const QString pdf = dir.filePath("page.pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    const display::CJwwScreen before = doc_.core().Screen();
    const display::ViewValues valuesBefore = doc_.core().Values();

    bool shown = false;
    WhenModal<QPrintDialog>([&](QPrintDialog* d) {
        shown = true;
        d->accept();
    });
    frame_.Action(cmd::kFilePrint)->trigger();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(prompts_.messages.isEmpty()) << prompts_.messages.join("\n").toStdString();

    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const auto m = box.match(QString::fromLatin1(bytes));
    ASSERT_TRUE(m.hasMatch());
    EXPECT_NEAR(m.captured(1).toDouble(), 841.9, 1);  // A4 across, in points
    EXPECT_NEAR(m.captured(2).toDouble(), 595.3, 1);

    const display::CJwwScreen& after = doc_.core().Screen();
    EXPECT_EQ(after.deviceWidth, before.deviceWidth);
    EXPECT_EQ(after.deviceHeight, before.deviceHeight);
    EXPECT_EQ(after.scaleX, before.scaleX);
    EXPECT_EQ(after.viewWidth, before.viewWidth);
    EXPECT_EQ(after.centerX, before.centerX);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(doc_.core().Values().extent.width, valuesBefore.extent.width);
    EXPECT_EQ(doc_.core().Values().clientSize.width, valuesBefore.clientSize.width);
}

TEST_F(PrintTest, APageShowsTheWindowsPartAtTheWindowsPhysicalSize) {
    const QImage window = frame_.view()->picture();
    const double dpi = frame_.view()->dpiX();
    const QRect inWindow = Ink(window);
    ASSERT_TRUE(inWindow.isValid());
    // A page of twice the window's resolution, larger than the window.
    QImage page(window.size() * 2 + QSize(300, 300), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    display::PaintViewAtPhysicalSize(painter, dpi * 2, dpi * 2, doc_.core().drawing(), doc_.core().Screen(),
                                     doc_.core().Values());
    painter.end();
    const QRect onPage = Ink(page);
    ASSERT_TRUE(onPage.isValid());
    // The same ink at twice the pixels: within a pixel of the window's,
    // and nothing beyond the window's area.
    EXPECT_NEAR(onPage.left(), inWindow.left() * 2, 3);
    EXPECT_NEAR(onPage.top(), inWindow.top() * 2, 3);
    EXPECT_NEAR(onPage.right(), inWindow.right() * 2, 3);
    EXPECT_NEAR(onPage.bottom(), inWindow.bottom() * 2, 3);
    EXPECT_LE(onPage.right(), window.width() * 2);
    EXPECT_LE(onPage.bottom(), window.height() * 2);
}

TEST_F(PrintTest, APrinterThatCannotStartSaysSo) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/nonexistent-folder/page.pdf"));
    EXPECT_FALSE(print_->PrintTo(printer));
    ASSERT_EQ(prompts_.messages.size(), 1);
    EXPECT_EQ(prompts_.messages[0], QString::fromUtf8(PrintCommands::kPrintFailed));
}

}  // namespace
}  // namespace tolvani::viewer
