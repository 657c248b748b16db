#include "settings/PathDialogRules.h"

#include <sys/stat.h>

namespace tolvani::settings {

std::vector<std::string> PathDialogRules::ChooserFilters() {
    return {"アプリケーションファイル(*.exe)", "全てのファイル(*)"};
}

std::string PathDialogRules::ChooserFolder(const std::string& p) {
    const auto slash = p.find_last_of('/');
    if (slash == std::string::npos) return {};
    std::string folder = p.substr(0, slash == 0 ? 1 : slash);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
    return folder;
}

void PathDialogRules::CopyIn(const std::string& jwwPath, int objEdit, int objOutp) {
    path = jwwPath;
    allowEdit = objEdit != 0;
    allowOutport = objOutp != 0;
}

bool PathDialogRules::CopyOut(std::string& jwwPath, int& objEdit, int& objOutp) const {
    const int edit = allowEdit ? 1 : 0;
    const int outp = allowOutport ? 1 : 0;
    const bool changed = jwwPath != path || (objEdit != 0) != allowEdit || (objOutp != 0) != allowOutport;
    jwwPath = path;
    // A stored value other than 0 or 1 that the check box showed as set
    // stays as it was unless the box changed.
    if ((objEdit != 0) != allowEdit) objEdit = edit;
    if ((objOutp != 0) != allowOutport) objOutp = outp;
    return changed;
}

}  // namespace tolvani::settings
