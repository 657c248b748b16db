// The application: decides from the command line whether the program runs
// stand-alone or for a container, creates the settings store, the document
// and the main window, and opens the drawing it was given.
#pragma once

#include <QApplication>
#include <memory>

#include "settings/SettingsStore.h"
#include "viewer/CommandLine.h"
#include "viewer/ui/UiPrompts.h"

namespace tolvani::viewer {

class CMainFrame;
class CTolvaniDoc;

class CTolvaniApp : public QApplication {
    Q_OBJECT
public:
    CTolvaniApp(int& argc, char** argv);
    ~CTolvaniApp() override;

    // The start-up. Returns the exit status when the program is to end at
    // once, or -1 when the event loop is to run. `store` and `prompts`
    // replace the user's settings file and the real dialogs (tests).
    int InitInstance(const CommandLine& line, std::unique_ptr<settings::SettingsStore> store = nullptr,
                     UiPrompts* prompts = nullptr);
    // Ends the run: the window and the document go (placement and settings
    // are written), then the store is written out.
    void ExitInstance();

    bool runningEmbedded() const { return runningEmbedded_; }
    CMainFrame* mainFrame() const { return frame_.get(); }
    CTolvaniDoc* document() const { return doc_.get(); }
    settings::SettingsStore* store() const { return store_.get(); }

    static const char* const kFrameFailedMessage;
    static const char* const kEmbeddingMessage;

private:
    bool runningEmbedded_ = false;
    std::unique_ptr<settings::SettingsStore> store_;
    DialogPrompts dialogPrompts_;
    UiPrompts* prompts_ = nullptr;
    std::unique_ptr<CTolvaniDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace tolvani::viewer
