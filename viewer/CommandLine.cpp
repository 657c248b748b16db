#include "viewer/CommandLine.h"

#include "settings/SettingsStore.h"

namespace tolvani::viewer {

namespace {

struct Keyword {
    const char* folded;
    CommandLine::Action action;
};

const Keyword kKeywords[] = {
    {"embedding", CommandLine::Action::Embedding},   {"automation", CommandLine::Action::Automation},
    {"register", CommandLine::Action::Register},     {"regserver", CommandLine::Action::Register},
    {"unregister", CommandLine::Action::Unregister}, {"unregserver", CommandLine::Action::Unregister},
};

const Keyword* FindKeyword(const std::string& arg) {
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return nullptr;
    const std::string word = settings::FoldName(arg.substr(1));
    for (const Keyword& k : kKeywords)
        if (word == k.folded) return &k;
    return nullptr;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    bool haveSwitch = false;
    for (const std::string& arg : args) {
        if (arg.empty()) continue;
        if (const Keyword* k = FindKeyword(arg)) {
            line.action = k->action;
            haveSwitch = true;
            continue;
        }
        if (arg[0] == '-') {
            line.ignored.push_back(arg);
            continue;
        }
        if (line.path.empty()) line.path = arg;
    }
    if (!haveSwitch && !line.path.empty()) line.action = CommandLine::Action::OpenFile;
    return line;
}

}  // namespace tolvani::viewer
