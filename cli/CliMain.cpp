#include "cli/CliMain.h"

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "cli/CliSupport.h"
#include "model/AtomicFile.h"
#include "model/JwwErrors.h"

namespace tolvani::cli {

namespace {

void PrintHelp(const Command& c) { std::printf("使い方: %s\n\n%s", c.usage, c.help); }

const Command& FindCommand(const std::vector<Command>& commands, const char* name) {
    for (const auto& c : commands)
        if (std::strcmp(c.name, name) == 0) return c;
    UsageError(std::string("不明なコマンドです: ") + name);
}

// Ended by a signal in the middle of a save: the named temporary file goes
// first, then the signal takes its usual course.
extern "C" void RemoveTemporaryFilesAndEnd(int signal) {
    RemovePendingTemporaryFiles();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void CleanUpOnSignals() {
    for (const int s : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction action {};
        action.sa_handler = RemoveTemporaryFilesAndEnd;
        sigemptyset(&action.sa_mask);
        sigaction(s, &action, nullptr);
    }
}

// Whatever a command printed must have reached its standard output; a
// full disk or a closed pipe is a failed write, not a success.
int CheckStandardOutput(int code) {
    const int err = StandardOutputError();
    if (err == 0) return code;
    std::fprintf(stderr, "標準出力に書き込めませんでした。\n%s\n", std::strerror(err));
    return kExitWriteFailed;
}

void PrintOverview(const std::vector<Command>& commands) {
    std::printf("使い方: tolvani-cli COMMAND [ARGS]\n\nコマンド:\n");
    for (const auto& c : commands) std::printf("  %s\n", c.usage);
    std::printf("\n各コマンドの説明は tolvani-cli COMMAND --help で表示します。\n");
}

}  // namespace

int RunCommandLine(int argc, char** argv, const std::vector<Command>& commands) {
    std::setlocale(LC_ALL, "C");
    CleanUpOnSignals();
    if (argc < 2) {
        PrintOverview(commands);
        return CheckStandardOutput(kExitUsage);
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "help") == 0) {
        PrintOverview(commands);
        return CheckStandardOutput(kExitOk);
    }
    const Command* command = nullptr;
    try {
        command = &FindCommand(commands, argv[1]);
        return CheckStandardOutput(command->run(std::vector<std::string>(argv + 2, argv + argc)));
    } catch (const HelpRequested&) {
        PrintHelp(*command);
        return CheckStandardOutput(kExitOk);
    } catch (const CliError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", e.message.c_str());
        return e.code;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s\n", kOutOfMemoryMessage);
        return kExitRefused;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "エラー: %s\n", e.what());
        return kExitRefused;
    }
}

}  // namespace tolvani::cli
