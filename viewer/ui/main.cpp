// tolvani: the desktop program that shows JWW drawings.
#include <cstring>
#include <string>
#include <vector>

#include "object/ui/ClipboardKeeper.h"
#include "viewer/ui/CTolvaniApp.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], tolvani::object::kKeepClipboardSwitch) == 0)
        return tolvani::object::RunClipboardKeeper(argc, argv, QString::fromLocal8Bit(argv[2]));
    tolvani::viewer::CTolvaniApp app(argc, argv);
    std::vector<std::string> args;
    const QStringList list = app.arguments();
    for (int i = 1; i < list.size(); ++i) args.push_back(list[i].toStdString());
    const int status = app.InitInstance(tolvani::viewer::ParseCommandLine(args));
    if (status >= 0) return status;
    const int result = app.exec();
    // An object copy stays pasteable after the window has gone.
    tolvani::object::HandOverClipboard(QCoreApplication::applicationFilePath());
    app.ExitInstance();
    return result;
}
