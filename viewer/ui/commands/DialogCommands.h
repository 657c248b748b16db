// Connects the dialogs to the main window: layer settings, block figures,
// the settings sheet, the external program path, the help and the about
// box (cmd::kLayerSettings … cmd::kAppAbout). Each dialog works on
// copies; OK hands them to the document, which stops the running draw,
// takes them, marks itself modified when the drawing changed and redraws.
#pragma once

#include <QObject>

#include "display/LayerRules.h"

namespace tolvani::viewer {

class CMainFrame;
class UiPrompts;
class DrawingDocument;

class DialogCommands : public QObject {
    Q_OBJECT
public:
    DialogCommands(CMainFrame& frame, UiPrompts& prompts);

    void ShowLayers();
    void ShowBlocks();
    void ShowSettingsSheet();
    void ShowPath();
    void ShowHelp();
    void ShowAbout();

    // The display dialog "表示設定" (cmd::kDisplaySettings) of an object opened in its own
    // window: the point size alone.
    static void ShowDisplayDialog(DrawingDocument& doc, QWidget* parent);

private:
    DrawingDocument& Document() const;

    CMainFrame& frame_;
    UiPrompts& prompts_;
    // Kept from one opening of the layer dialog to the next.
    display::LayerRules layerRules_;
};

}  // namespace tolvani::viewer
