// Stands in for a program that crashes after writing its recovery file:
//   recovery_crash_child FOLDER DRAWING SOURCE
// writes the bytes of the file DRAWING as this process's recovery file in
// FOLDER, with SOURCE as the file it came from, and is then killed, so that
// its lock file stays behind with the number of a process that is gone.
#include <QByteArray>
#include <QFile>
#include <csignal>
#include <cstdio>
#include <vector>

#include "viewer/ui/RecoveryFiles.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: recovery_crash_child FOLDER DRAWING SOURCE\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[2]));
    if (!in.open(QIODevice::ReadOnly)) return 2;
    const QByteArray bytes = in.readAll();
    auto* files = new tolvani::viewer::RecoveryFiles(QString::fromLocal8Bit(argv[1]));  // never removed: a crash
    files->Write(std::vector<uint8_t>(bytes.begin(), bytes.end()), argv[3]);
    std::raise(SIGKILL);
    return 3;
}
