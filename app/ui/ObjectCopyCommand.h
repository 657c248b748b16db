// "オブジェクトのコピー" (Ctrl+C): the copy dialog, then the drawing as an
// object on the clipboard, then the completion message.
#pragma once

namespace tolvani {

class CMainFrame;

void ConnectObjectCopy(CMainFrame& frame);
// The command itself; false when the dialog was cancelled.
bool CopyObject(CMainFrame& frame);

}  // namespace tolvani
