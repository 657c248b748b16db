// The main function of the GUI tests: a QApplication on the offscreen
// platform, with every per-user folder inside a temporary folder so that no
// test reads or writes the real home folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid()) return 2;
    for (const char* var : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        const QByteArray dir = (home.path() + "/" + var).toLocal8Bit();
        qputenv(var, dir);
    }
    qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
