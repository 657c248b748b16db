#include "viewer/ui/ToolbarIcons.h"

#include "viewer/CommandTable.h"

// The pictures are compiled into the library; a static library has to
// register them once.
static void RegisterIcons() { Q_INIT_RESOURCE(icons); }

namespace tolvani::viewer {

namespace {

struct IconEntry {
    int command;
    const char* themeName;
    const char* ownName;
};

const IconEntry kIcons[] = {
    {cmd::kFileNew, "document-new", "document-new"},
    {cmd::kOpen, "document-open", "document-open"},
    {cmd::kSaveAs, "document-save-as", "document-save-as"},
    {cmd::kTableImport, "", "tolvani-table-import"},
    {cmd::kEditCopy, "edit-copy", "edit-copy"},
    {cmd::kEditWithJwCad, "", "tolvani-edit-jwcad"},
    {cmd::kLayerSettings, "", "tolvani-layers"},
    {cmd::kSettingsSheet, "preferences-system", "preferences-system"},
    {cmd::kAppAbout, "help-about", "help-about"},
};

const IconEntry* Find(int command) {
    for (const IconEntry& e : kIcons)
        if (e.command == command) return &e;
    return nullptr;
}

}  // namespace

QString ToolbarThemeName(int command) {
    const IconEntry* e = Find(command);
    return e ? QString::fromLatin1(e->themeName) : QString();
}

QString ToolbarOwnIcon(int command) {
    const IconEntry* e = Find(command);
    return e ? QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(e->ownName)) : QString();
}

QIcon ToolbarIcon(int command) {
    static const bool registered = (RegisterIcons(), true);
    (void)registered;
    const IconEntry* e = Find(command);
    if (!e) return QIcon();
    const QIcon own(ToolbarOwnIcon(command));
    if (!*e->themeName) return own;
    return QIcon::fromTheme(QString::fromLatin1(e->themeName), own);
}

}  // namespace tolvani::viewer
