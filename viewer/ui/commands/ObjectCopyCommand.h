// "オブジェクトのコピー" (Ctrl+C): the copy dialog, then the drawing as an
// object on the clipboard, then the completion message.
#pragma once

#include <QObject>

namespace tolvani::viewer {

class CMainFrame;

class ObjectCopyCommand : public QObject {
    Q_OBJECT
public:
    // Connects itself to the frame's command; the frame owns it.
    explicit ObjectCopyCommand(CMainFrame& frame);

    // The command itself; false when the dialog was cancelled.
    bool Copy();

private:
    CMainFrame& frame_;
};

}  // namespace tolvani::viewer
