// The one place where the window's commands are created. The application
// calls it once, after the frame: every command is a QObject owned by the
// frame that connects itself to its command numbers through
// CMainFrame::SetCommand. The frame knows only its own file and bar
// commands and includes none of these.
#pragma once

namespace tolvani::viewer {

class CMainFrame;
class EmbeddedCommands;
class UiPrompts;

// The commands of the main window: the object copy, printing, editing with
// Jw_cad, the table import and the dialogs; for a document that runs
// embedded also the object's window, which is returned (null otherwise).
EmbeddedCommands* ConnectCommands(CMainFrame& frame, UiPrompts& prompts);

}  // namespace tolvani::viewer
