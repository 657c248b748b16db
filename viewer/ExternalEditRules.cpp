#include "viewer/ExternalEditRules.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace tolvani::viewer {

FileStamp FileStamp::Of(const std::string& path) {
    FileStamp stamp;
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return stamp;
    stamp.found = true;
    stamp.seconds = static_cast<int64_t>(st.st_mtim.tv_sec);
    stamp.nanoseconds = static_cast<int64_t>(st.st_mtim.tv_nsec);
    stamp.size = static_cast<int64_t>(st.st_size);
    return stamp;
}

std::string ProgramRun::CommandLine() const {
    std::string line = "\"" + program + "\"";
    for (const std::string& a : arguments) line += " \"" + a + "\"";
    return line;
}

bool ExternalEditRules::ThroughWine(const std::string& jwwPath) {
    if (jwwPath.size() < 4) return false;
    std::string end = jwwPath.substr(jwwPath.size() - 4);
    for (char& c : end)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return end == ".exe";
}

bool ExternalEditRules::NeedsConversion(const std::string& jwwPath) {
    if (jwwPath.empty() || jwwPath[0] == '/') return false;
    const bool drive = jwwPath.size() >= 2 && jwwPath[1] == ':' &&
                       ((jwwPath[0] >= 'a' && jwwPath[0] <= 'z') || (jwwPath[0] >= 'A' && jwwPath[0] <= 'Z'));
    return drive || jwwPath.find('\\') != std::string::npos;
}

std::size_t ExternalEditRules::PathCharacters(const std::string& path) {
    std::size_t n = 0;
    for (const char c : path)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

bool ExternalEditRules::ProgramFound(const std::string& jwwPath, const std::string& lookedAt) {
    if (jwwPath.empty() || lookedAt.empty()) return false;
    if (ThroughWine(jwwPath) && PathCharacters(jwwPath) >= kWindowsPathLimit) return false;
    struct stat st {};
    return ::stat(lookedAt.c_str(), &st) == 0;
}

std::string ExternalEditRules::NotFoundMessage(const std::string& jwwPath) { return jwwPath + kNotFoundSuffix; }

std::string ExternalEditRules::WineMissingMessage(const std::string& jwwPath) {
    return NotFoundMessage(jwwPath) + "\n" + kWineNeeded;
}

ProgramRun ExternalEditRules::ToUnixPath(const std::string& winepath, const std::string& windowsPath) {
    return {winepath, {"-u", windowsPath}};
}

ProgramRun ExternalEditRules::ToWindowsPath(const std::string& winepath, const std::string& unixPath) {
    return {winepath, {"-w", unixPath}};
}

std::string ExternalEditRules::ConvertedPath(const std::string& output) {
    const std::size_t end = output.find_first_of("\r\n");
    return end == std::string::npos ? output : output.substr(0, end);
}

ProgramRun ExternalEditRules::EditorRun(const std::string& jwwPath, const std::string& workFile) {
    return {jwwPath, {workFile}};
}

ProgramRun ExternalEditRules::WineRun(const std::string& wine, const std::string& program,
                                      const std::string& workFileWindows) {
    return {wine, {program, workFileWindows}};
}

std::string ExternalEditRules::CreateWorkFolder(const std::string& parent) {
    std::string pattern = (parent.empty() ? std::string("/tmp") : parent) + "/tolvani-" +
                          std::to_string(static_cast<long>(::getpid())) + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) return {};  // mode 0700
    return std::string(buffer.data());
}

std::string ExternalEditRules::WorkFilePath(const std::string& folder) { return folder + "/" + kWorkFileName; }

std::string ExternalEditRules::KeepWorkFile(const std::string& folder) {
    const std::string work = WorkFilePath(folder);
    struct stat st {};
    if (::stat(work.c_str(), &st) != 0) return {};
    for (int n = 1; n < 1000; ++n) {
        const std::string kept = folder + "/$OLE作業ファイル (" + std::to_string(n) + ").jww";
        if (::lstat(kept.c_str(), &st) == 0) continue;
        if (::rename(work.c_str(), kept.c_str()) == 0) return kept;
        break;
    }
    return work;
}

void ExternalEditRules::RemoveWorkFolder(const std::string& folder) {
    if (folder.empty()) return;
    ::unlink(WorkFilePath(folder).c_str());
    ::rmdir(folder.c_str());  // stays when a kept file is in it
}

void ExternalEditRules::Began(bool modifiedBefore, const FileStamp& written) {
    modifiedBefore_ = modifiedBefore;
    written_ = written;
}

ExternalEditRules::Ending ExternalEditRules::Unchanged() const {
    Ending e;
    e.kind = Ending::Kind::Unchanged;
    e.modified = modifiedBefore_;
    return e;
}

ExternalEditRules::Ending ExternalEditRules::NotStarted(const std::string& reason) const {
    Ending e = Unchanged();
    e.message = kStartFailed;
    e.detail = reason;
    return e;
}

ExternalEditRules::Ending ExternalEditRules::AfterReadBack(const LoadOutcome& load, const std::string& keptAt) const {
    Ending e;
    if (load.ok()) {
        e.kind = Ending::Kind::Replaced;
        e.modified = true;
        return e;
    }
    e.kind = Ending::Kind::ReadFailed;
    e.modified = modifiedBefore_;
    e.message = load.message.empty() ? kLocalReadErrorMessage : load.message;
    e.detail = load.detail;
    if (!keptAt.empty()) {
        if (!e.detail.empty()) e.detail += "\n";
        e.detail += "図面は変更していません。編集されたファイルは " + keptAt + " に残してあります。";
    }
    return e;
}

}  // namespace tolvani::viewer
