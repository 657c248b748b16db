// The toolbar's pictures: the desktop icon theme's standard icon where one
// fits the command, else (and on a desktop without an icon theme) the
// program's own drawings.
#pragma once

#include <QIcon>
#include <QString>

namespace tolvani::viewer {

// The icon of a toolbar command; a null icon for a number without one.
QIcon ToolbarIcon(int command);
// The theme name tried first ("" for the program's own commands) and the
// program's own picture, for a command of the toolbar.
QString ToolbarThemeName(int command);
QString ToolbarOwnIcon(int command);

}  // namespace tolvani::viewer
