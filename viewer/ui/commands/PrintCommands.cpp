#include "viewer/ui/commands/PrintCommands.h"

#include <QApplication>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "display/qt/DrawingExport.h"
#include "viewer/CommandTable.h"
#include "viewer/ui/BackgroundTask.h"
#include "viewer/ui/CMainFrame.h"

namespace tolvani::viewer {

const char* const PrintCommands::kPrintFailed = "印刷を開始できませんでした。";

// The printer works at the screen's resolution: a page is the window's
// picture at the window's physical size, so a thin line is as wide on paper
// as one pixel of the window and the broken line types keep the dashes the
// window shows (at a printer's own 1200 dots per inch they would shrink to
// a fiftieth of a millimetre). Lines and texts stay vector shapes.
PrintCommands::PrintCommands(CMainFrame& frame)
    : QObject(&frame), frame_(frame), printer_(std::make_unique<QPrinter>(QPrinter::ScreenResolution)) {
    PresetPage(*printer_);
    frame.SetCommand(cmd::kFilePrint, [this] { Print(); });
    frame.SetCommand(cmd::kFilePrintPreview, [this] { Preview(); });
    frame.SetCommand(cmd::kFilePrintSetup, [this] { PageSetup(); });
}

PrintCommands::~PrintCommands() = default;

void PrintCommands::PresetPage(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
}

void PrintCommands::Print() {
    QPrintDialog dialog(printer_.get(), &frame_);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    if (dialog.exec() != QDialog::Accepted) return;
    PrintTo(*printer_);
}

void PrintCommands::Preview() {
    QPrintPreviewDialog dialog(printer_.get(), &frame_);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        // The preview draws its pages here, on the user-interface thread:
        // the dialog asks for them while it lays itself out.
        QApplication::setOverrideCursor(Qt::BusyCursor);
        QPainter painter(printer);
        PaintPage(TakePage(), *printer, painter);
        QApplication::restoreOverrideCursor();
    });
    dialog.exec();
}

void PrintCommands::PageSetup() {
    QPageSetupDialog dialog(printer_.get(), &frame_);
    dialog.setWindowTitle(QStringLiteral("プリンタの設定"));
    dialog.exec();
}

PrintCommands::Page PrintCommands::TakePage() const {
    // Copies, taken on the user-interface thread: the page is drawn at the
    // printer's resolution, which changes a drawing context's device size
    // and scales, and the view goes on drawing meanwhile.
    DrawingDocument& doc = frame_.document().core();
    return {doc.Drawing(), doc.Screen(), doc.Values()};
}

void PrintCommands::PaintPage(const Page& page, QPrinter& printer, QPainter& painter) {
    if (!page.drawing) return;
    const double dpi = printer.resolution();
    display::PaintViewAtPhysicalSize(painter, dpi, dpi, *page.drawing, page.screen, page.values);
}

bool PrintCommands::PrintTo(QPrinter& printer) {
    bool started = false;
    const Page page = TakePage();
    // The window goes on painting while the page is drawn; every other
    // command waits.
    RunInBackground(&frame_, QStringLiteral("印刷しています…"), [&] {
        QPainter painter;
        if (!painter.begin(&printer)) return;
        started = true;
        PaintPage(page, printer, painter);
        painter.end();
    });
    if (!started) frame_.prompts().Message(&frame_, UiPrompts::Icon::Stop, QString::fromUtf8(kPrintFailed));
    return started;
}

}  // namespace tolvani::viewer
