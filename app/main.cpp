// tolvani: the desktop program that shows JWW drawings.
#include <string>
#include <vector>

#include "app/CTolvaniApp.h"

int main(int argc, char** argv) {
    tolvani::CTolvaniApp app(argc, argv);
    std::vector<std::string> args;
    const QStringList list = app.arguments();
    for (int i = 1; i < list.size(); ++i) args.push_back(list[i].toStdString());
    const int status = app.InitInstance(tolvani::ParseCommandLine(args));
    if (status >= 0) return status;
    const int result = app.exec();
    app.ExitInstance();
    return result;
}
