#include "app/ui/ObjectCopyCommand.h"

#include <QApplication>
#include <QClipboard>
#include <memory>

#include "app/CMainFrame.h"
#include "app/Commands.h"
#include "app/object/CopyDialogRules.h"
#include "app/object/NativeData.h"
#include "app/object/ObjectPicture.h"
#include "app/ui/BackgroundTask.h"
#include "app/ui/CCopyDlg.h"
#include "app/ui/ObjectClipboard.h"

namespace tolvani {

namespace {

const char* const kCopyDone =
    "オブジェクトのコピーが完了しました。クリップボード経由で他アプリケーションにオブジェクトを貼り付けることが出来ます。"
    "貼り付ける前にこのアプリケーションを閉じて下さい。";

}  // namespace

bool CopyObject(CMainFrame& frame) {
    CDrawingDocument& doc = frame.document().rules();
    CAppSettings& settings = doc.settings();
    object::CopyDialogRules rules(doc.Screen(), doc.Values(), settings.objEdit != 0, settings.objOutp != 0);
    CCopyDlg dialog(rules, [&doc] { doc.UpdateAllViews(); }, &frame);
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
    frame.prompts().Message(&frame, CUiPrompts::Icon::Information, kCopyDone);
    return true;
}

void ConnectObjectCopy(CMainFrame& frame) {
    frame.SetCommand(cmd::kEditCopy, [&frame] { CopyObject(frame); });
}

}  // namespace tolvani
