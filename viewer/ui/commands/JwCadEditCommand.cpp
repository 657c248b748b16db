#include "viewer/ui/commands/JwCadEditCommand.h"

#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <cerrno>
#include <cstring>

#include "viewer/CommandTable.h"
#include "viewer/ui/BackgroundTask.h"
#include "viewer/ui/CEditWaitDlg.h"
#include "viewer/ui/CMainFrame.h"

namespace tolvani::viewer {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

JwCadEditCommand::JwCadEditCommand(CMainFrame& frame) : QObject(&frame), frame_(frame) {
    setObjectName(QStringLiteral("editWithJwCad"));
    // A drawing still being read would come in while the editor has the
    // one before it, and the edited one would then replace it.
    frame_.SetCommand(
        cmd::kEditWithJwCad, [this] { Run(); }, [this] { return !running_ && !frame_.document().loading(); });
}

JwCadEditCommand::~JwCadEditCommand() { ExternalEditRules::RemoveWorkFolder(folder_); }

void JwCadEditCommand::Message(const std::string& text, const std::string& detail) {
    frame_.prompts().Message(&frame_, UiPrompts::Icon::Stop, Q(text), Q(detail));
}

JwCadEditCommand::Result JwCadEditCommand::RunAndWait(const ProgramRun& run, bool captureOutput) {
    Result result;
    QProcess process;
    process.setProgram(Q(run.program));
    QStringList arguments;
    for (const std::string& a : run.arguments) arguments << Q(a);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(captureOutput ? QProcess::ForwardedErrorChannel : QProcess::ForwardedChannels);
    QEventLoop loop;
    bool done = false;
    connect(&process, &QProcess::finished, &loop, [&](int exitCode, QProcess::ExitStatus) {
        result.started = true;
        result.exitCode = exitCode;
        done = true;
        loop.quit();
    });
    connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;  // a crash still ends in finished
        result.error = process.errorString();
        done = true;
        loop.quit();
    });
    if (wait_ && !wait_->isVisible()) wait_->Begin();
    process.start();
    // The window goes on painting; the waiting window keeps the user's
    // input away from everything else.
    if (!done) loop.exec();
    if (captureOutput) result.output = process.readAllStandardOutput();
    return result;
}

std::string JwCadEditCommand::Convert(const ProgramRun& run) {
    const Result r = RunAndWait(run, true);
    if (!r.started || r.exitCode != 0) return {};
    return ExternalEditRules::ConvertedPath(r.output.toStdString());
}

void JwCadEditCommand::Finish(const ExternalEditRules::Ending& ending) {
    if (wait_) wait_->End();
    DrawingDocument& doc = frame_.document().core();
    doc.SetModified(ending.modified);
    // The editor's window stood in front; the program comes back to the front.
    frame_.raise();
    frame_.activateWindow();
    if (!ending.message.empty()) Message(ending.message, ending.detail);
}

void JwCadEditCommand::Run() {
    if (running_) return;
    running_ = true;
    CEditWaitDlg wait(QString::fromUtf8(ExternalEditRules::kWaiting), &frame_);
    wait_ = &wait;
    struct Reset {
        JwCadEditCommand* self;
        ~Reset() {
            if (self->wait_) self->wait_->End();
            self->wait_ = nullptr;
            self->running_ = false;
            self->frame_.UpdateCommandUi();
        }
    } reset{this};
    frame_.UpdateCommandUi();

    DrawingDocument& doc = frame_.document().core();
    const std::string jwwPath = doc.settings().jwwPath;
    const bool throughWine = ExternalEditRules::ThroughWine(jwwPath);

    // The program must be there (a Windows program through wine).
    std::string program = jwwPath;
    std::string wine, winepath;
    if (throughWine) {
        wine = QStandardPaths::findExecutable(QStringLiteral("wine")).toStdString();
        winepath = QStandardPaths::findExecutable(QStringLiteral("winepath")).toStdString();
        if (wine.empty() || winepath.empty()) {
            Message(ExternalEditRules::WineMissingMessage(jwwPath));
            return;
        }
        if (ExternalEditRules::NeedsConversion(jwwPath) &&
            ExternalEditRules::PathCharacters(jwwPath) < ExternalEditRules::kWindowsPathLimit)
            program = Convert(ExternalEditRules::ToUnixPath(winepath, jwwPath));
    }
    if (!ExternalEditRules::ProgramFound(jwwPath, program)) {
        wait.End();
        Message(ExternalEditRules::NotFoundMessage(jwwPath));
        return;
    }

    // The work file, in the process's own folder.
    if (folder_.empty()) folder_ = ExternalEditRules::CreateWorkFolder(QDir::tempPath().toStdString());
    if (folder_.empty()) {
        const int err = errno;
        wait.End();
        Message(kLocalWriteErrorMessage, std::strerror(err));
        return;
    }
    const std::string work = ExternalEditRules::WorkFilePath(folder_);
    ExternalEditRules edit;
    const bool modifiedBefore = doc.modified();
    const SaveOutcome saved = doc.SaveTo(work);
    if (!saved.ok()) {
        // The editor is not started on whatever file stands there.
        wait.End();
        Message(saved.message, saved.detail);
        return;
    }
    doc.SetModified(modifiedBefore);
    edit.Began(modifiedBefore, FileStamp::Of(work));

    ProgramRun editor = ExternalEditRules::EditorRun(jwwPath, work);
    if (throughWine) {
        const std::string windowsWork = Convert(ExternalEditRules::ToWindowsPath(winepath, work));
        if (windowsWork.empty()) {
            Finish(edit.NotStarted("winepath -w " + work));
            return;
        }
        editor = ExternalEditRules::WineRun(wine, program, windowsWork);
    }
    const Result ran = RunAndWait(editor, false);
    if (!ran.started) {
        Finish(edit.NotStarted(ran.error.toStdString() + "\n" + editor.CommandLine()));
        return;
    }
    if (!edit.NeedsReadBack(FileStamp::Of(work))) {
        Finish(edit.Unchanged());
        return;
    }

    // The changed work file comes back on a worker.
    wait.End();
    LoadOutcome load;
    RunInBackground(&frame_, QString::fromUtf8(ExternalEditRules::kReading), [&] { load = LoadDrawingFile(work); });
    std::string kept;
    if (!load.ok()) kept = ExternalEditRules::KeepWorkFile(folder_);
    const ExternalEditRules::Ending ending = edit.AfterReadBack(load, kept);
    if (ending.kind == ExternalEditRules::Ending::Kind::Replaced)
        frame_.document().TakeEditedDrawing(std::move(load.doc));
    Finish(ending);
}

}  // namespace tolvani::viewer
