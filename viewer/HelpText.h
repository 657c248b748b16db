// The program's short manuals: where they lie and how they are read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvani::viewer {

inline constexpr const char* kHelpIntroFile = "はじめに.txt";
inline constexpr const char* kHelpToSpreadsheetFile = "エクセルにJWW.txt";
inline constexpr const char* kHelpFromSpreadsheetFile = "エクセルをJWW.txt";

// The folders that may hold the manuals of a program whose file lies in
// `programDir`, in the order they are tried: the program's own folder, then
// the data folder beside it (programDir/../share/tolvani), which is where
// both the build tree and an installation put them.
std::vector<std::string> HelpFolders(const std::string& programDir);

// The path of the manual `name`: in the first folder that holds it, else in
// the first folder (where reading it then fails).
std::string FindHelpFile(const std::vector<std::string>& folders, const std::string& name);

// Reads a manual into `text`: each line without its line end, followed by
// "\n". A file that is valid UTF-8 (with or without a byte order mark) is
// read as UTF-8, any other as Shift-JIS. Returns false, leaving `text` as it
// was, when the file cannot be opened or is not a readable file.
bool LoadHelpText(const std::string& path, std::string& text);

// The text of a manual's bytes, as LoadHelpText makes it.
std::string DecodeHelpText(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

}  // namespace tolvani::viewer
