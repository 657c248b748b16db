#include "tests/cli/CliRunner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>

#include "tests/support/TestSupport.h"

namespace tolvani::test {

CliResult RunCli(const std::vector<std::string>& args, const CliOptions& options) {
    CliResult result;
    char outPath[] = "/tmp/tolvani-cli-out-XXXXXX";
    char errPath[] = "/tmp/tolvani-cli-err-XXXXXX";
    const int outFd = mkstemp(outPath);
    const int errFd = mkstemp(errPath);
    if (outFd < 0 || errFd < 0) return result;
    // Everything the child needs is made before the fork: between fork and
    // exec it only opens, duplicates and executes, which is safe even when
    // this process has other threads.
    std::string program = options.program.empty() ? std::string(TOLVANI_CLI) : options.program;
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    argv.push_back(program.data());
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment(options.environment);
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (!options.stdoutPath.empty()) {
            const int fd = open(options.stdoutPath.c_str(), O_WRONLY | O_CREAT | (options.append ? O_APPEND : 0), 0644);
            if (fd < 0) _exit(126);
            dup2(fd, 1);
        } else {
            dup2(outFd, 1);
        }
        dup2(errFd, 2);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    close(outFd);
    close(errFd);
    const Bytes out = ReadFileBytes(outPath), err = ReadFileBytes(errPath);
    result.out.assign(out.begin(), out.end());
    result.err.assign(err.begin(), err.end());
    unlink(outPath);
    unlink(errPath);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

}  // namespace tolvani::test
