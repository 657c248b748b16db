#include "viewer/ui/commands/EmbeddedCommands.h"

#include <QApplication>
#include <QLayout>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>
#include <cstdio>

#include "object/qt/ObjectPicture.h"
#include "viewer/CommandTable.h"
#include "viewer/ui/BackgroundTask.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/UiPrompts.h"
#include "viewer/ui/commands/DialogCommands.h"

namespace tolvani::viewer {

namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

std::vector<uint8_t> MakePicture(QWidget* parent, object::ObjectForm form, const CJwwDoc& doc,
                                 const object::NativePrefix& prefix, const std::vector<uint8_t>& native) {
    QByteArray bytes;
    RunInBackground(parent, "オブジェクトの画像を作っています…", [&] {
        bytes = form == object::ObjectForm::Png ? object::MakeObjectPng(doc, prefix, native)
                                                : object::MakeObjectSvg(doc, prefix, native);
    });
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

EmbeddedCommands::EmbeddedCommands(CMainFrame& frame, UiPrompts& prompts)
    : QObject(&frame), frame_(frame), prompts_(prompts), object_(frame.document().core()) {
    setObjectName(QStringLiteral("EmbeddedCommands"));
    frame_.SetMenus(ObjectMenu());
    // The object's window has its own keys; the main window's are not there.
    std::vector<CommandInfo> all = MainCommands();
    all.insert(all.end(), ObjectCommands().begin(), ObjectCommands().end());
    for (const CommandInfo& info : all)
        if (QAction* a = frame_.Action(info.id)) a->setShortcuts({});
    for (const CommandKey& key : ObjectKeys())
        if (QAction* a = frame_.Action(key.id))
            a->setShortcut(QKeySequence(QString::fromUtf8(key.keys), QKeySequence::PortableText));

    frame_.SetCommand(cmd::kUpdateObject, [this] { Update(); });
    frame_.SetCommand(cmd::kFileUpdate, [this] { Update(); });
    frame_.SetCommand(cmd::kOutport, [this] { Outport(); });
    frame_.SetCommand(cmd::kDisplaySettings, [this] { ShowDisplay(); });
    frame_.SetSaveModifiedRule([this] { return AskBeforeClosing(); });
    connect(&frame_.document(), &CTolvaniDoc::drawingReplaced, this, [this] { object_.DrawingReplaced(); });
    object_.SetPictureMaker(
        [this](object::ObjectForm form, const CJwwDoc& doc, const object::NativePrefix& prefix,
               const std::vector<uint8_t>& native) { return MakePicture(&frame_, form, doc, prefix, native); });
}

bool EmbeddedCommands::ShowOutcome(const EmbeddedObject::Outcome& outcome) {
    if (!outcome.ok && !outcome.message.empty())
        prompts_.Message(&frame_, UiPrompts::Icon::Stop, Text(outcome.message), Text(outcome.detail));
    return outcome.ok;
}

bool EmbeddedCommands::Open(const QString& path) {
    const EmbeddedObject::Outcome opened = object_.Open(path.toStdString());
    if (!opened.ok) std::fprintf(stderr, "%s\n%s\n", opened.message.c_str(), opened.detail.c_str());
    if (!ShowOutcome(opened)) return false;
    const object::NativePrefix& p = object_.written();
    FitFrameToExtent(frame_, p.extentWidth, p.extentHeight);
    return true;
}

void EmbeddedCommands::Update() {
    if (!ShowOutcome(object_.Update())) return;
    frame_.statusBar()->showMessage(QStringLiteral("オブジェクトを更新しました。"), 5000);
}

void EmbeddedCommands::Outport() {
    const QString path = prompts_.SaveFileName(&frame_, QString::fromUtf8(CMainFrame::kSaveFilter), QString());
    if (path.isEmpty()) return;
    ShowOutcome(object_.Outport(path.toStdString()));
}

void EmbeddedCommands::ShowDisplay() {
    DialogCommands::ShowDisplayDialog(frame_.document().core(), &frame_);
    // A new point size is a change of the object.
    frame_.UpdateCommandUi();
}

bool EmbeddedCommands::AskBeforeClosing() {
    if (!object_.HasUnwrittenChanges()) return true;
    switch (prompts_.AskUpdate(&frame_, Text(object_.path()))) {
        case UiPrompts::SaveAnswer::Save:
            if (!ShowOutcome(object_.Update())) return false;
            return true;
        case UiPrompts::SaveAnswer::Discard: return true;
        case UiPrompts::SaveAnswer::Cancel: break;
    }
    return false;
}

void FitFrameToExtent(CMainFrame& frame, int cx, int cy) {
    if (cx <= 0 || cy <= 0) return;
    display::CTolvaniView* view = frame.view();
    const display::DeviceSize px = display::DeviceResolution{view->dpiX(), view->dpiY()}.ToDevice({cx, cy});
    frame.ensurePolished();
    if (QLayout* layout = frame.layout()) layout->activate();
    const QSize around = frame.size() - view->size();
    QSize want = QSize(std::max(1, px.width), std::max(1, px.height)) + around;
    // A window larger than the screen would be cut by it.
    if (const QScreen* screen = frame.screen() ? frame.screen() : QApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size();
        want = want.boundedTo(room);
    }
    frame.resize(want);
    if (QLayout* layout = frame.layout()) layout->activate();
}

}  // namespace tolvani::viewer
