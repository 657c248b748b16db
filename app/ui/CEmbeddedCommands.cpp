#include "app/ui/CEmbeddedCommands.h"

#include <QApplication>
#include <QLayout>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>
#include <cstdio>

#include "app/CMainFrame.h"
#include "app/Commands.h"
#include "app/object/ObjectPicture.h"
#include "app/ui/BackgroundTask.h"
#include "app/ui/DialogCommands.h"
#include "app/ui/UiPrompts.h"

namespace tolvani {

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

CEmbeddedCommands::CEmbeddedCommands(CMainFrame& frame, CUiPrompts& prompts)
    : QObject(&frame), frame_(frame), prompts_(prompts), object_(frame.document().rules()) {
    setObjectName(QStringLiteral("CEmbeddedCommands"));
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
    object_.SetPictureMaker([this](object::ObjectForm form, const CJwwDoc& doc, const object::NativePrefix& prefix,
                                   const std::vector<uint8_t>& native) {
        return MakePicture(&frame_, form, doc, prefix, native);
    });
}

bool CEmbeddedCommands::ShowOutcome(const CEmbeddedObject::Outcome& outcome) {
    if (!outcome.ok && !outcome.message.empty())
        prompts_.Message(&frame_, CUiPrompts::Icon::Stop, Text(outcome.message), Text(outcome.detail));
    return outcome.ok;
}

bool CEmbeddedCommands::Open(const QString& path) {
    const CEmbeddedObject::Outcome opened = object_.Open(path.toStdString());
    if (!opened.ok) std::fprintf(stderr, "%s\n%s\n", opened.message.c_str(), opened.detail.c_str());
    if (!ShowOutcome(opened)) return false;
    const object::NativePrefix& p = object_.written();
    FitFrameToExtent(frame_, p.extentWidth, p.extentHeight);
    return true;
}

void CEmbeddedCommands::Update() {
    if (!ShowOutcome(object_.Update())) return;
    frame_.statusBar()->showMessage(QStringLiteral("オブジェクトを更新しました。"), 5000);
}

void CEmbeddedCommands::Outport() {
    const QString path = prompts_.SaveFileName(&frame_, QString::fromUtf8(CMainFrame::kSaveFilter), QString());
    if (path.isEmpty()) return;
    ShowOutcome(object_.Outport(path.toStdString()));
}

void CEmbeddedCommands::ShowDisplay() {
    CDialogCommands::ShowDisplayDialog(frame_.document().rules(), &frame_);
    // A new point size is a change of the object.
    frame_.UpdateCommandUi();
}

bool CEmbeddedCommands::AskBeforeClosing() {
    if (!object_.HasUnwrittenChanges()) return true;
    switch (prompts_.AskUpdate(&frame_, Text(object_.path()))) {
        case CUiPrompts::SaveAnswer::Save:
            if (!ShowOutcome(object_.Update())) return false;
            return true;
        case CUiPrompts::SaveAnswer::Discard: return true;
        case CUiPrompts::SaveAnswer::Cancel: break;
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

bool OpenObjectWindow(CMainFrame& frame, CUiPrompts& prompts, const QString& path) {
    auto* commands = new CEmbeddedCommands(frame, prompts);  // owned by the frame
    if (!commands->Open(path)) return false;
    frame.show();
    return true;
}

}  // namespace tolvani
