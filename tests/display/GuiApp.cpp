#include "tests/display/GuiApp.h"

#include <QGuiApplication>
#include <cstdlib>

namespace tolvani::test {

void EnsureGuiApp() {
    if (QGuiApplication::instance()) return;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "display_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

}  // namespace tolvani::test
