#include "viewer/ui/CTolvaniApp.h"

#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "settings/qt/QtSettingsStore.h"
#include "viewer/DesktopRegistration.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/CTolvaniDoc.h"
#include "viewer/ui/CrashRecovery.h"
#include "viewer/ui/commands/ConnectCommands.h"
#include "viewer/ui/commands/EmbeddedCommands.h"

namespace tolvani::viewer {

const char* const CTolvaniApp::kFrameFailedMessage = "空のドキュメントの作成に失敗しました。";
const char* const CTolvaniApp::kEmbeddingMessage =
    "埋め込みオブジェクトとしての起動には、オブジェクトのファイルの指定が必要です。";

CTolvaniApp::CTolvaniApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Tolvani"));
    setOrganizationName(QStringLiteral("Morlen"));
    setApplicationDisplayName(QStringLiteral("Tolvani"));
    setDesktopFileName(QString::fromUtf8(kDesktopId));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("tolvani"), QIcon(QStringLiteral(":/icons/tolvani.svg"))));
}

CTolvaniApp::~CTolvaniApp() { ExitInstance(); }

int CTolvaniApp::InitInstance(const CommandLine& line, std::unique_ptr<settings::SettingsStore> store,
                              UiPrompts* prompts) {
    using Action = CommandLine::Action;
    const std::string programDir = applicationDirPath().toStdString();
    const std::string dataHome = UserDataHome(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (line.action == Action::Register || line.action == Action::Unregister)
        return RunRegistrationSwitch(line.action == Action::Register, programDir, dataHome);
    const bool embedded = line.action == Action::Embedding || line.action == Action::Automation;
    if (embedded && line.path.empty()) {
        std::fprintf(stderr, "%s\n", kEmbeddingMessage);
        return 2;
    }
    runningEmbedded_ = embedded;
    store_ = store ? std::move(store) : std::make_unique<settings::QtSettingsStore>();
    prompts_ = prompts ? prompts : &dialogPrompts_;
    EmbeddedCommands* objectWindow = nullptr;
    try {
        doc_ = std::make_unique<CTolvaniDoc>(*store_, runningEmbedded_);
        frame_ = std::make_unique<CMainFrame>(*doc_, *prompts_);
        objectWindow = ConnectCommands(*frame_, *prompts_);
    } catch (const std::exception&) {
        frame_.reset();
        doc_.reset();
        QMessageBox::critical(nullptr, QStringLiteral("Tolvani"), QString::fromUtf8(kFrameFailedMessage));
        return 1;
    }
    if (objectWindow) {
        // The object opens in its own window; a refused one ends the run.
        if (!objectWindow->Open(QString::fromStdString(line.path))) return 2;
        frame_->show();
        return -1;
    }
    RenewRegistrationIfDue(programDir, dataHome);
    frame_->RestorePlacement();
    frame_->show();
    // A drawing left unsaved by a crashed run comes first; once restored,
    // the file of the command line is not opened over it.
    auto* recovery = new CrashRecovery(*frame_, *prompts_);  // owned by the frame
    const bool restoring = recovery->OfferLeftOver();
    if (line.action == Action::OpenFile && !restoring) frame_->OpenPath(QString::fromStdString(line.path));
    return -1;
}

void CTolvaniApp::ExitInstance() {
    frame_.reset();
    doc_.reset();
    if (auto* qt = dynamic_cast<settings::QtSettingsStore*>(store_.get())) qt->Sync();
    store_.reset();
}

}  // namespace tolvani::viewer
