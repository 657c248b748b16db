// The messages of the table import, as the user sees them (UTF-8).
#pragma once

#include <string>

namespace tolvani {

inline constexpr const char* kTableReadErrorMessage = "ファイルの読込でエラーが発生しました。";
inline constexpr const char* kTableFileTooLargeMessage = "表のファイルが大きすぎます（256 MiB まで）。";
inline constexpr const char* kTableNotAFileMessage =
    "表のファイルとして読めません。フォルダー、名前付きパイプ（FIFO）、デバイスは読み込みません。";
inline constexpr const char* kTableIsDrawingMessage =
    "このファイルは図面（JWW）です。表（CSV）のファイルを指定してください。";
inline constexpr const char* kTableNotReadMessage = "表が読み込まれていません！";
inline constexpr const char* kBlockNameTakenMessage = "ブロック名がすでに登録済です、名前を変えてやり直して下さい！";
inline constexpr const char* kBlockNameNeededMessage = "ブロック挿入するためには、名前が必要です！";

// "表が大きすぎます（%d セル）。" with the cell count.
std::string TableTooLargeMessage(long long cells);

}  // namespace tolvani
