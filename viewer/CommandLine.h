// The program's command line: switches "/" or "-" followed by a keyword in
// any case, or a drawing's path.
#pragma once

#include <string>
#include <vector>

namespace tolvani::viewer {

struct CommandLine {
    enum class Action {
        NewDocument,  // no argument
        OpenFile,     // a path
        Embedding,    // started by a container
        Automation,
        Register,    // "Register" or "Regserver"
        Unregister,  // "Unregister" or "Unregserver"
    };
    Action action = Action::NewDocument;
    // The first path given (also with Embedding and Automation); others
    // are ignored.
    std::string path;
    // Switch-like arguments that name no keyword and were ignored.
    std::vector<std::string> ignored;
};

// Parses the arguments after the program's name. An argument starting with
// "/" is a switch only when a keyword follows, so an absolute path stays a
// path; one starting with "-" that names no keyword is ignored. The last
// switch given decides the action.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace tolvani::viewer
