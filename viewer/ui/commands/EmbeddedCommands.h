// The window of an object opened on its own (tolvani -Embedding PATH): the
// object's menu ("編集(&E)" with "オブジェクトの編集・印刷", "アウトポート"
// and "オブジェクト更新"; "表示(&V)" with the bar toggles and "設定";
// "ヘルプ(&H)"), its keys (Ctrl+S writes the object back), and the question
// before closing with changes not yet written back. What is written and
// when is EmbeddedObject's; this only asks and shows.
#pragma once

#include <QObject>
#include <QString>

#include "viewer/EmbeddedObject.h"

namespace tolvani::viewer {

class CMainFrame;
class UiPrompts;

class EmbeddedCommands : public QObject {
    Q_OBJECT
public:
    // Gives the frame the object's menu, keys and close question; the
    // frame owns it.
    EmbeddedCommands(CMainFrame& frame, UiPrompts& prompts);

    // Reads the object into the document and sizes the window to its
    // extent. A refused object is told in a message; false then.
    bool Open(const QString& path);

    void Update();       // "オブジェクト更新", and Ctrl+S
    void Outport();      // "アウトポート"
    void ShowDisplay();  // "設定"
    // Before the window closes: asks whether to write back changes not
    // yet written; false when the window is to stay.
    bool AskBeforeClosing();

    EmbeddedObject& object() { return object_; }

private:
    bool ShowOutcome(const EmbeddedObject::Outcome& outcome);

    CMainFrame& frame_;
    UiPrompts& prompts_;
    EmbeddedObject object_;
};

// Resizes the frame so that its view shows an extent of cx × cy HIMETRIC
// (0.01 mm), as far as the screen has room.
void FitFrameToExtent(CMainFrame& frame, int cx, int cy);

}  // namespace tolvani::viewer
