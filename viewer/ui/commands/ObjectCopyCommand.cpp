#include "viewer/ui/commands/ObjectCopyCommand.h"

#include <QApplication>
#include <QClipboard>
#include <memory>

#include "object/CopyDialogRules.h"
#include "object/NativeData.h"
#include "object/qt/ObjectPicture.h"
#include "object/ui/CCopyDlg.h"
#include "object/ui/ObjectClipboard.h"
#include "viewer/CommandTable.h"
#include "viewer/ui/BackgroundTask.h"
#include "viewer/ui/CMainFrame.h"

namespace tolvani::viewer {

namespace {

const char* const kCopyDone =
    "オブジェクトのコピーが完了しました。クリップボード経由で他アプリケーションにオブジェクトを貼り付けることが出来ます"
    "。"
    "貼り付ける前にこのアプリケーションを閉じて下さい。";

}  // namespace

ObjectCopyCommand::ObjectCopyCommand(CMainFrame& frame) : QObject(&frame), frame_(frame) {
    frame_.SetCommand(cmd::kEditCopy, [this] { Copy(); });
}

bool ObjectCopyCommand::Copy() {
    CMainFrame& frame = frame_;
    DrawingDocument& doc = frame.document().core();
    settings::AppSettings& settings = doc.settings();
    object::CopyDialogRules rules(doc.Screen(), doc.Values(), settings.objEdit != 0, settings.objOutp != 0);
    object::CCopyDlg dialog(
        rules, [&doc] { doc.UpdateAllViews(); }, &frame);
    if (dialog.exec() != QDialog::Accepted) return false;
    settings.objEdit = rules.objEdit() ? 1 : 0;
    settings.objOutp = rules.objOutp() ? 1 : 0;

    // The object's size is the view's size now; it shows the view's window.
    object::NativePrefix prefix;
    prefix.zubVersion = settings.zubVersion;
    prefix.extentWidth = doc.Values().extent.width;
    prefix.extentHeight = doc.Values().extent.height;
    prefix.viewWidth = doc.Screen().viewWidth;
    prefix.viewHeight = doc.Screen().viewHeight;
    prefix.centerX = doc.Screen().centerX;
    prefix.centerY = doc.Screen().centerY;
    prefix.dotSize = settings.dotSize;
    std::vector<uint8_t> native;
    // Saving counts the layers again, so it goes through the document.
    doc.ChangeDrawing([&](CJwwDoc& d) { native = object::WriteNativeData(prefix, d); }, false);

    const std::shared_ptr<const CJwwDoc> drawing = doc.Drawing();
    QByteArray png, svg;
    if (object::CheckPrefix(prefix).empty()) {
        RunInBackground(&frame, "オブジェクトの画像を作っています…", [&] {
            png = object::MakeObjectPng(*drawing, prefix, native);
            svg = object::MakeObjectSvg(*drawing, prefix, native);
        });
    }
    QApplication::clipboard()->setMimeData(object::MakeObjectMimeData(prefix, native, png, svg));
    frame.prompts().Message(&frame, UiPrompts::Icon::Information, kCopyDone);
    return true;
}

}  // namespace tolvani::viewer
