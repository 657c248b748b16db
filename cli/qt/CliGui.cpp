#include "cli/qt/CliGui.h"

#include <cstdio>
#include <cstdlib>

namespace tolvani::cli {
namespace {

// Qt's own notices (platform and run-time folder remarks) are not for the
// user of a command-line tool; fatal messages still end the program.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

std::unique_ptr<QGuiApplication> StartGui() {
    if (QGuiApplication::instance()) return nullptr;
    qInstallMessageHandler(QuietQt);
    // An empty variable counts as none, as Qt itself takes it.
    const auto unset = [](const char* name) {
        const char* value = std::getenv(name);
        return !value || !*value;
    };
    if (unset("DISPLAY") && unset("WAYLAND_DISPLAY") && unset("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tolvani-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace tolvani::cli
