// The values of the dialog "外部アプリケーションの登録": the path of the
// external editor and the two permissions of pasted objects.
#pragma once

#include <string>
#include <vector>

namespace tolvani::settings {

class PathDialogRules {
public:
    static constexpr const char* kDefaultPath = "c:\\JWW\\Jw_win.exe";

    // The file chooser's filters, the first one chosen at the start. A
    // native program has no ".exe", so the second filter shows every file.
    static std::vector<std::string> ChooserFilters();
    // The folder the chooser starts in: the folder of `path` when it exists,
    // else empty (the chooser's own choice).
    static std::string ChooserFolder(const std::string& path);

    void CopyIn(const std::string& jwwPath, int objEdit, int objOutp);
    // Takes the values; returns true when any of them changed. The path is
    // taken as typed.
    bool CopyOut(std::string& jwwPath, int& objEdit, int& objOutp) const;

    std::string path;
    bool allowEdit = true;
    bool allowOutport = true;
};

}  // namespace tolvani::settings
