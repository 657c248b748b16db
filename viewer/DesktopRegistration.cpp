#include "viewer/DesktopRegistration.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "model/AtomicFile.h"

namespace fs = std::filesystem;

namespace tolvani::viewer {

const char* const DesktopRegistration::kRegisteredMessage = "デスクトップに登録しました。";
const char* const DesktopRegistration::kUnregisteredMessage = "デスクトップへの登録を解除しました。";
const char* const DesktopRegistration::kNoDataHomeMessage =
    "登録先のフォルダがわかりません。XDG_DATA_HOME または HOME を設定してください。";
const char* const DesktopRegistration::kSourceMissingMessage = "登録に使うファイルが見つかりません: ";
const char* const DesktopRegistration::kWriteFailedMessage = "ファイルを書き込めませんでした: ";
const char* const DesktopRegistration::kRemoveFailedMessage = "ファイルを削除できませんでした: ";

namespace {

std::string Join(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    return a.back() == '/' ? a + b : a + "/" + b;
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// An argument of an Exec line, quoted when it holds a reserved character.
std::string ExecArgument(const std::string& arg) {
    if (arg.find_first_of(" \t\n\"'\\><~|&;$*?#()`") == std::string::npos) return arg;
    std::string quoted = "\"";
    for (const char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// A desktop file's string value: backslashes and line ends escaped.
std::string EscapeValue(const std::string& value) {
    std::string out;
    for (const char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

bool FolderHasEntries(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir, ec) && !fs::is_empty(dir, ec);
}

bool FolderHasDesktopEntries(const fs::path& dir) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".desktop") return true;
    return false;
}

// Removes `dir` and its empty parents while they are empty, up to (not
// including) `stop`.
void RemoveEmptyFolders(fs::path dir, const fs::path& stop) {
    std::error_code ec;
    while (!dir.empty() && dir != stop && dir.string().size() > stop.string().size()) {
        if (!fs::is_directory(dir, ec) || !fs::is_empty(dir, ec)) return;
        if (!fs::remove(dir, ec)) return;
        dir = dir.parent_path();
    }
}

bool ExecutableInPath(const std::string& name) {
    if (name.find('/') != std::string::npos) return ::access(name.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::stringstream dirs(path);
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && ::access(Join(dir, name).c_str(), X_OK) == 0) return true;
    return false;
}

}  // namespace

InstallKind InstallKindOf(const std::string& programDir) {
    const fs::path dir = fs::path(programDir).lexically_normal();
    std::error_code ec;
    if (fs::exists(dir.parent_path() / "CMakeCache.txt", ec)) return InstallKind::BuildTree;
    const std::string d = dir.string();
    if (d == "/usr/bin" || d == "/usr/bin/" || d == "/bin" || d == "/bin/") return InstallKind::SystemPackage;
    return InstallKind::Prefix;
}

std::string UserDataHome(const char* xdgDataHome, const char* home) {
    if (xdgDataHome && xdgDataHome[0] == '/') return xdgDataHome;
    if (home && home[0] == '/') return Join(home, ".local/share");
    return {};
}

std::string PointLineAtPrograms(const std::string& line, const std::string& programDir) {
    for (const char* key : {"Exec=", "TryExec="}) {
        const std::string k(key);
        if (line.compare(0, k.size(), k) != 0) continue;
        const std::string value = line.substr(k.size());
        const auto end = value.find(' ');
        const std::string program = value.substr(0, end);
        if (program != kViewerProgram && program != kCliProgram) return line;
        const std::string full = Join(programDir, program);
        const std::string rest = end == std::string::npos ? std::string() : value.substr(end);
        // TryExec takes a plain path; Exec a command line.
        return k + EscapeValue(k == "TryExec=" ? full : ExecArgument(full)) + rest;
    }
    return line;
}

DesktopRegistration::DesktopRegistration(std::string programDir, std::string dataHome, ToolRunner runTool)
    : programDir_(std::move(programDir)), dataHome_(std::move(dataHome)), runTool_(std::move(runTool)) {}

std::vector<RegistrationFile> DesktopRegistration::Files() const {
    const std::string share = Join(programDir_, "../share");
    const std::string desktop = std::string(kDesktopId) + ".desktop";
    const std::string icon = std::string("icons/hicolor/scalable/apps/") + kViewerProgram + ".svg";
    const std::string mime = std::string("mime/packages/") + kViewerProgram + ".xml";
    const std::string thumbnailer = std::string("thumbnailers/") + kViewerProgram + ".thumbnailer";
    return {
        {Join(share, "applications/" + desktop), Join(dataHome_, "applications/" + desktop), true},
        {Join(share, mime), Join(dataHome_, mime), false},
        {Join(share, icon), Join(dataHome_, icon), false},
        {Join(share, thumbnailer), Join(dataHome_, thumbnailer), true},
    };
}

bool DesktopRegistration::IsRegistered() const { return !dataHome_.empty() && IsFile(Files().front().target); }

bool DesktopRegistration::NeedsRenewal(InstallKind kind) const {
    if (kind != InstallKind::Prefix || !IsRegistered()) return false;
    std::error_code ec1, ec2;
    const auto entryTime = fs::last_write_time(Files().front().target, ec1);
    const auto programTime = fs::last_write_time(Join(programDir_, kViewerProgram), ec2);
    return !ec1 && !ec2 && entryTime < programTime;
}

bool DesktopRegistration::Register(std::string& error) const {
    if (dataHome_.empty()) {
        error = kNoDataHomeMessage;
        return false;
    }
    const auto files = Files();
    for (const auto& f : files) {
        if (!IsFile(f.source)) {
            error = kSourceMissingMessage + f.source;
            return false;
        }
    }
    for (const auto& f : files) {
        std::ifstream in(f.source, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            error = kSourceMissingMessage + f.source;
            return false;
        }
        if (f.pointAtPrograms) {
            std::istringstream lines(text);
            std::string line, pointed;
            while (std::getline(lines, line)) pointed += PointLineAtPrograms(line, programDir_) + "\n";
            text = pointed;
        }
        try {
            std::error_code ec;
            fs::create_directories(fs::path(f.target).parent_path(), ec);
            WriteBytesAtomically(f.target, text.data(), text.size());
        } catch (const std::exception&) {
            error = kWriteFailedMessage + f.target;
            return false;
        }
    }
    runTool_({"update-mime-database", Join(dataHome_, "mime")});
    runTool_({"update-desktop-database", "-q", Join(dataHome_, "applications")});
    return true;
}

bool DesktopRegistration::Unregister(std::string& error) const {
    if (dataHome_.empty()) {
        error = kNoDataHomeMessage;
        return false;
    }
    const fs::path home(dataHome_);
    std::error_code ec;
    for (const auto& f : Files()) {
        fs::remove(f.target, ec);
        if (ec) {
            error = kRemoveFailedMessage + f.target;
            return false;
        }
    }
    // Everything in a MIME folder but its packages is made from them; without
    // packages nothing in it says anything.
    const fs::path mime = home / "mime";
    if (FolderHasEntries(mime / "packages"))
        runTool_({"update-mime-database", mime.string()});
    else
        fs::remove_all(mime, ec);
    const fs::path applications = home / "applications";
    if (FolderHasDesktopEntries(applications))
        runTool_({"update-desktop-database", "-q", applications.string()});
    else
        fs::remove(applications / "mimeinfo.cache", ec);
    for (const auto& f : Files()) RemoveEmptyFolders(fs::path(f.target).parent_path(), home);
    return true;
}

void DesktopRegistration::RunToolIfInstalled(const std::vector<std::string>& argv) {
    if (argv.empty() || !ExecutableInPath(argv[0])) return;
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return;
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

int RunRegistrationSwitch(bool registering, const std::string& programDir, const std::string& dataHome) {
    const DesktopRegistration registration(programDir, dataHome);
    std::string error;
    const bool ok = registering ? registration.Register(error) : registration.Unregister(error);
    if (ok)
        std::printf("%s\n",
                    registering ? DesktopRegistration::kRegisteredMessage : DesktopRegistration::kUnregisteredMessage);
    else
        std::fprintf(stderr, "%s\n", error.c_str());
    return ok ? 0 : 1;
}

void RenewRegistrationIfDue(const std::string& programDir, const std::string& dataHome) {
    const DesktopRegistration registration(programDir, dataHome);
    if (!registration.NeedsRenewal(InstallKindOf(programDir))) return;
    std::string ignored;
    registration.Register(ignored);
}

}  // namespace tolvani::viewer
