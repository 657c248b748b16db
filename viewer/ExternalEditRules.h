// Editing the drawing in the external CAD program: where the work file
// lies, how the program is started (as it is, or a Windows program through
// wine), the work file's modification stamp, and what the end of the
// editing does to the document. No user interface and no process here; the
// command that runs the program asks these rules at every step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/JwwFile.h"

namespace tolvani::viewer {

// A file's last-write time at full resolution together with its size. A
// file that cannot be found has the empty stamp.
struct FileStamp {
    bool found = false;
    int64_t seconds = 0;
    int64_t nanoseconds = 0;
    int64_t size = 0;

    static FileStamp Of(const std::string& path);
    bool operator==(const FileStamp& o) const {
        return found == o.found && seconds == o.seconds && nanoseconds == o.nanoseconds && size == o.size;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

// One program to run: the program and its arguments, each handed over as
// it is (no shell reads them).
struct ProgramRun {
    std::string program;
    std::vector<std::string> arguments;
    // The command line as a person reads it: every item in double quotes,
    // separated by one space.
    std::string CommandLine() const;
};

class ExternalEditRules {
public:
    static constexpr const char* kWorkFileName = "$OLE作業ファイル.jww";
    static constexpr const char* kNotFoundSuffix = " のアプリケーションが見つからなかったので、処理を中止します。";
    static constexpr const char* kWineNeeded = "Windows のプログラム (.exe) を起動するには wine が必要です。";
    static constexpr const char* kStartFailed = "起動できませんでした";
    static constexpr const char* kWaiting = "Jw_cad で編集中です…";
    static constexpr const char* kReading = "編集された図面を読み込んでいます…";
    // A Windows program path of this many characters or more is not looked for.
    static constexpr std::size_t kWindowsPathLimit = 260;

    // --- the program
    // A program whose name ends in ".exe" (in any case) is a Windows
    // program and runs through wine.
    static bool ThroughWine(const std::string& jwwPath);
    // A Windows program given in Windows form (a drive letter or a
    // backslash) is turned into this side's form before it is looked for;
    // a path in this side's form ("/…") is taken as it is.
    static bool NeedsConversion(const std::string& jwwPath);
    // The characters of a UTF-8 path (not its bytes).
    static std::size_t PathCharacters(const std::string& path);
    // The step that looks for the program: true when `path` names
    // something that exists. A Windows program's path as the settings give
    // it must also stay below the Windows limit.
    static bool ProgramFound(const std::string& jwwPath, const std::string& lookedAt);
    static std::string NotFoundMessage(const std::string& jwwPath);
    // The same, with the second line that says wine is needed.
    static std::string WineMissingMessage(const std::string& jwwPath);

    // winepath -u (Windows form to this side's) and -w (the other way).
    static ProgramRun ToUnixPath(const std::string& winepath, const std::string& windowsPath);
    static ProgramRun ToWindowsPath(const std::string& winepath, const std::string& unixPath);
    // winepath's answer: its first line without the line end; empty when
    // there is none.
    static std::string ConvertedPath(const std::string& output);

    // A native editor: the program with the work file as its one argument.
    static ProgramRun EditorRun(const std::string& jwwPath, const std::string& workFile);
    // A Windows editor: wine, the program, the work file in Windows form.
    static ProgramRun WineRun(const std::string& wine, const std::string& program, const std::string& workFileWindows);

    // --- the work file
    // Creates a folder of this process's own, readable by the user alone,
    // inside `parent`; "" when it cannot be created.
    static std::string CreateWorkFolder(const std::string& parent);
    static std::string WorkFilePath(const std::string& folder);
    // The work file of an edit that could not be read back is put aside
    // under a name of its own in the folder, so that neither the next edit
    // nor the end of the program removes it. Returns where it is now (the
    // work file's own path when it could not be renamed), "" when there is
    // no work file.
    static std::string KeepWorkFile(const std::string& folder);
    // Removes the work file, and the folder when nothing else is in it.
    static void RemoveWorkFolder(const std::string& folder);

    // --- the edit's outcome
    // The work file was written and the editor is about to run. The
    // document's modified flag from before is what an edit that changes
    // nothing leaves.
    void Began(bool modifiedBefore, const FileStamp& written);
    bool modifiedBefore() const { return modifiedBefore_; }
    // The editor ended: the work file is read back only when its stamp
    // changed.
    bool NeedsReadBack(const FileStamp& now) const { return now != written_; }

    struct Ending {
        enum class Kind {
            Unchanged,   // nothing read back
            Replaced,    // the drawing is the edited one
            ReadFailed,  // the edited file could not be read: the drawing is as it was
        };
        Kind kind = Kind::Unchanged;
        bool modified = false;  // the document's modified flag afterwards
        std::string message;    // for the user, when not empty
        std::string detail;
    };
    // Neither written nor started, or the work file unchanged.
    Ending Unchanged() const;
    // The editor could not be started.
    Ending NotStarted(const std::string& reason) const;
    // After reading the changed work file back; `keptAt` is where the file
    // was put aside when it could not be read.
    Ending AfterReadBack(const LoadOutcome& load, const std::string& keptAt) const;

private:
    bool modifiedBefore_ = false;
    FileStamp written_;
};

}  // namespace tolvani::viewer
