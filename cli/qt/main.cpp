// tolvani-cli: inspect, convert, draw and generate JWW drawings from the shell.
#include "cli/CliMain.h"
#include "cli/qt/CommandList.h"
#include "cli/qt/ObjectPictures.h"

int main(int argc, char** argv) {
    tolvani::cli::SetObjectPictureMaker(&tolvani::cli::MakeObjectPicture);
    return tolvani::cli::RunCommandLine(argc, argv, tolvani::cli::AllCommands());
}
