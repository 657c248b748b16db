// "オブジェクトの編集・印刷" (cmd::kEditWithJwCad): the drawing is written to the work
// file, the external editor is started on it and waited for while the
// program goes on painting, and the work file is read back when the editor
// changed it. The editor is the program the settings name, started as it
// is, or through wine when it is a Windows program.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <string>

#include "viewer/ExternalEditRules.h"

namespace tolvani::viewer {

class CMainFrame;
class CEditWaitDlg;

class JwCadEditCommand : public QObject {
    Q_OBJECT
public:
    // Connects itself to the frame's command; the frame owns it.
    explicit JwCadEditCommand(CMainFrame& frame);
    // Removes the work file and its folder (a work file put aside after a
    // failed read-back stays).
    ~JwCadEditCommand() override;

    void Run();
    bool running() const { return running_; }
    // The folder of the work file; empty until the first edit.
    const std::string& workFolder() const { return folder_; }
    // The window shown while the editor runs; null when none is.
    CEditWaitDlg* waitWindow() const { return wait_; }

private:
    struct Result {
        bool started = false;
        int exitCode = 0;
        QString error;
        QByteArray output;
    };
    // Runs one program and waits for its end without blocking the event
    // loop; the waiting window is up meanwhile.
    Result RunAndWait(const ProgramRun& run, bool captureOutput);
    // A path through winepath; empty when winepath gives none.
    std::string Convert(const ProgramRun& run);
    void Finish(const ExternalEditRules::Ending& ending);
    void Message(const std::string& text, const std::string& detail = {});

    CMainFrame& frame_;
    std::string folder_;
    bool running_ = false;
    CEditWaitDlg* wait_ = nullptr;
};

}  // namespace tolvani::viewer
