#include "viewer/ui/commands/ConnectCommands.h"

#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/commands/DialogCommands.h"
#include "viewer/ui/commands/EmbeddedCommands.h"
#include "viewer/ui/commands/JwCadEditCommand.h"
#include "viewer/ui/commands/ObjectCopyCommand.h"
#include "viewer/ui/commands/PrintCommands.h"
#include "viewer/ui/commands/TableImportCommands.h"

namespace tolvani::viewer {

EmbeddedCommands* ConnectCommands(CMainFrame& frame, UiPrompts& prompts) {
    // Each is owned by the frame; the order is the menus' order of areas,
    // and the object's window comes last because it replaces the menus.
    new ObjectCopyCommand(frame);
    new PrintCommands(frame);
    new JwCadEditCommand(frame);
    new TableImportCommands(frame, frame.document(), prompts);
    new DialogCommands(frame, prompts);
    if (!frame.document().core().RunningEmbedded()) return nullptr;
    return new EmbeddedCommands(frame, prompts);
}

}  // namespace tolvani::viewer
