// The program's registration with the current user's desktop: the desktop
// entry, the file type, the icon and the thumbnailer, written under the
// user's data folder from the program's own data, renewed by a start when
// they are older than the program, and removed again.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tolvani::viewer {

inline constexpr const char* kDesktopId = "jp.morlen.Tolvani";
inline constexpr const char* kViewerProgram = "tolvani";
inline constexpr const char* kCliProgram = "tolvani-cli";

// How the running program was installed, told from its folder.
enum class InstallKind {
    BuildTree,      // the programs' folder of a build (CMakeCache.txt beside it)
    SystemPackage,  // /usr/bin or /bin: the package system registers it
    Prefix,         // any other prefix (/usr/local, /opt/…, a home folder)
};
InstallKind InstallKindOf(const std::string& programDir);

// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else
// $HOME/.local/share; empty when neither is known.
std::string UserDataHome(const char* xdgDataHome, const char* home);

// The line of a desktop entry or thumbnailer file with its Exec or TryExec
// program given by its full path in `programDir`, when the line names one
// of the two programs by name; any other line as it is.
std::string PointLineAtPrograms(const std::string& line, const std::string& programDir);

// One file of the registration.
struct RegistrationFile {
    std::string source;            // in the program's data folder
    std::string target;            // under the user's data folder
    bool pointAtPrograms = false;  // Exec and TryExec get full paths
};

class DesktopRegistration {
public:
    // Runs a database tool (argv[0] looked up in PATH) when it is installed.
    using ToolRunner = std::function<void(const std::vector<std::string>& argv)>;

    // `programDir` is the folder of the running program; its data lie in
    // programDir/../share. `dataHome` is the user's data folder.
    DesktopRegistration(std::string programDir, std::string dataHome, ToolRunner runTool = RunToolIfInstalled);

    // The files, the desktop entry first.
    std::vector<RegistrationFile> Files() const;

    // The desktop entry of the registration exists.
    bool IsRegistered() const;

    // A stand-alone start of a program installed as `kind` renews an
    // existing registration whose desktop entry is older than the program.
    bool NeedsRenewal(InstallKind kind) const;

    // Writes every file (each through a temporary file), then updates the
    // MIME and desktop databases. On failure `error` gets the message; the
    // files written so far stay.
    bool Register(std::string& error) const;

    // Removes every file Register writes, updates the databases, and
    // removes the folders and database files left without purpose: a MIME
    // database without packages, a desktop database without entries, and
    // empty folders up to the data folder.
    bool Unregister(std::string& error) const;

    static void RunToolIfInstalled(const std::vector<std::string>& argv);

    static const char* const kRegisteredMessage;
    static const char* const kUnregisteredMessage;
    static const char* const kNoDataHomeMessage;
    static const char* const kSourceMissingMessage;
    static const char* const kWriteFailedMessage;
    static const char* const kRemoveFailedMessage;

private:
    std::string programDir_;
    std::string dataHome_;
    ToolRunner runTool_;
};

// The command-line switches: Register or Unregister for the program in
// `programDir`, with a message on stdout (success) or stderr. Returns the
// exit status (0 or 1).
int RunRegistrationSwitch(bool registering, const std::string& programDir, const std::string& dataHome);

// A stand-alone start: renews the registration quietly when it is due.
void RenewRegistrationIfDue(const std::string& programDir, const std::string& dataHome);

}  // namespace tolvani::viewer
