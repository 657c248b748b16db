// "印刷" (Ctrl+P), "印刷プレビュー" and "プリンタの設定" (cmd::kFilePrint,
// cmd::kFilePrintPreview, cmd::kFilePrintSetup). A page shows the part of the drawing that the window shows, at
// the window's physical size, from the top-left corner of the printable
// area; the printer starts on A4 landscape. Printing draws on a copy of the
// view's drawing context, on a worker, while the window stays live.
#pragma once

#include <QObject>
#include <memory>

#include "display/CJwwScreen.h"
#include "display/DrawDocument.h"
#include "model/CJwwDoc.h"

class QPainter;
class QPrinter;

namespace tolvani::viewer {

class CMainFrame;

class PrintCommands : public QObject {
    Q_OBJECT
public:
    // Connects the three commands of the window; the window owns the object.
    explicit PrintCommands(CMainFrame& frame);
    ~PrintCommands() override;

    // The printer the three commands share, so a choice made in the set-up
    // holds for the next print.
    QPrinter& printer() { return *printer_; }

    // Print: the print dialog, then the page.
    void Print();
    void Preview();
    void PageSetup();
    // Prints the page onto `printer` without a dialog; false (after the
    // message) when the printer could not be started.
    bool PrintTo(QPrinter& printer);

    // A4, landscape.
    static void PresetPage(QPrinter& printer);

    static const char* const kPrintFailed;

private:
    // What a page shows, by value.
    struct Page {
        std::shared_ptr<const CJwwDoc> drawing;
        display::CJwwScreen screen;
        display::ViewValues values;
    };
    Page TakePage() const;
    // Draws the page on the painter, which is active on `printer`.
    static void PaintPage(const Page& page, QPrinter& printer, QPainter& painter);

    CMainFrame& frame_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace tolvani::viewer
