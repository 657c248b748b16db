#include "viewer/ui/commands/DialogCommands.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "blocks/ui/CBlockDlg.h"
#include "display/ui/CJwwLayer.h"
#include "settings/PathDialogRules.h"
#include "settings/SettingsSheetRules.h"
#include "settings/ui/CApryDisp.h"
#include "settings/ui/CPathDlg.h"
#include "settings/ui/CPropSheet.h"
#include "viewer/CommandTable.h"
#include "viewer/ui/CAboutDlg.h"
#include "viewer/ui/CHelpDlg.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/UiPrompts.h"

namespace tolvani::viewer {

namespace {

// The platform's own choosers (colour, file) speak the program's language.
void InstallPlatformTranslation() {
    static QTranslator* translator = nullptr;
    if (translator) return;
    translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

}  // namespace

DialogCommands::DialogCommands(CMainFrame& frame, UiPrompts& prompts)
    : QObject(&frame), frame_(frame), prompts_(prompts) {
    InstallPlatformTranslation();
    frame_.SetCommand(cmd::kLayerSettings, [this] { ShowLayers(); });
    frame_.SetCommand(cmd::kBlockFigures, [this] { ShowBlocks(); });
    frame_.SetCommand(cmd::kSettingsSheet, [this] { ShowSettingsSheet(); });
    frame_.SetCommand(cmd::kJwwPath, [this] { ShowPath(); });
    frame_.SetCommand(cmd::kHelp, [this] { ShowHelp(); });
    frame_.SetCommand(cmd::kAppAbout, [this] { ShowAbout(); });
}

DrawingDocument& DialogCommands::Document() const { return frame_.document().core(); }

void DialogCommands::ShowLayers() {
    DrawingDocument& doc = Document();
    layerRules_.CopyIn(doc.drawing());
    display::CJwwLayer dlg(layerRules_, &frame_);
    if (dlg.exec() != QDialog::Accepted) return;
    bool changed = false;
    doc.ChangeDrawing([&](CJwwDoc& d) { changed = layerRules_.CopyOut(d); }, false);
    if (changed) doc.SetModified(true);
}

void DialogCommands::ShowBlocks() {
    DrawingDocument& doc = Document();
    CBlockDlg::Hooks hooks;
    // Neither the tree identifiers nor the selection are part of the file:
    // the document does not become modified by them.
    hooks.change = [&doc](const CBlockDlg::Change& change) { doc.ChangeDrawing(change, false); };
    hooks.message = [this](QWidget* parent, const QString& text) {
        prompts_.Message(parent, UiPrompts::Icon::Warning, text);
    };
    CBlockDlg dlg(doc.drawing(), std::move(hooks), &frame_);
    dlg.exec();
}

void DialogCommands::ShowSettingsSheet() {
    DrawingDocument& doc = Document();
    settings::AppSettings& s = doc.settings();
    settings::SettingsSheetRules rules;
    rules.CopyIn(doc.drawing().header, s.zoomUp, s.dotSize);
    settings::CPropSheet sheet(rules, &frame_);
    if (sheet.exec() != QDialog::Accepted) return;
    settings::SettingsSheetRules::Changes changes;
    doc.ChangeDrawing(
        [&](CJwwDoc& d) {
            int zoomUp = s.zoomUp;
            int dotSize = s.dotSize;
            changes = rules.CopyOut(d.header, zoomUp, dotSize);
            s.zoomUp = zoomUp;
            s.dotSize = dotSize;
            doc.Values().dotSize = dotSize;
        },
        false);
    if (changes.drawing) doc.SetModified(true);
}

void DialogCommands::ShowDisplayDialog(DrawingDocument& doc, QWidget* parent) {
    settings::CApryDisp dlg(doc.Values().dotSize, parent);
    if (dlg.exec() != QDialog::Accepted) return;
    const int value = dlg.value();
    doc.ChangeDrawing(
        [&](CJwwDoc&) {
            doc.Values().dotSize = value;
            if (!doc.RunningEmbedded()) doc.settings().dotSize = value;
        },
        false);
}

void DialogCommands::ShowPath() {
    settings::AppSettings& s = Document().settings();
    settings::PathDialogRules rules;
    rules.CopyIn(s.jwwPath, s.objEdit, s.objOutp);
    settings::CPathDlg dlg(rules, &frame_);
    if (dlg.exec() != QDialog::Accepted) return;
    int objEdit = s.objEdit, objOutp = s.objOutp;
    rules.CopyOut(s.jwwPath, objEdit, objOutp);
    s.objEdit = objEdit;
    s.objOutp = objOutp;
}

void DialogCommands::ShowHelp() {
    CHelpDlg dlg(&frame_);
    dlg.exec();
}

void DialogCommands::ShowAbout() {
    CAboutDlg dlg(&frame_);
    dlg.exec();
}

}  // namespace tolvani::viewer
