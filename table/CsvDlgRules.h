// The rules of the table import dialog "エクセル表インポート": the reads of
// its two buttons, what its list shows, the texts it says and what its
// confirm button asks for. The dialog window only shows this.
#pragma once

#include <string>
#include <vector>

#include "table/CCsvDoc.h"
#include "table/ClipboardText.h"

namespace tolvani {

class CsvDlgRules {
public:
    static constexpr const char* kTitle = "エクセル表インポート";
    // The open-file dialog's filter, as pairs of a description and its
    // patterns, each ended by "|".
    static constexpr const char* kFileFilter = "エクセルCSVファイル(*.csv)|*.csv|全てのファイル(*.*)|*.*|";
    static constexpr const char* kDefaultExtension = "csv";
    static constexpr int kColumnWidth = 100;  // pixels, every column of the list

    explicit CsvDlgRules(CCsvDoc& table) : table_(table) {}

    // The button "ファイル読込" once a file was chosen; `path` is the
    // file's name in the file system's own encoding.
    void ReadFile(const std::string& path);
    // The same button when the open-file dialog was cancelled: the table
    // read before is gone, as every read empties the table first.
    void FileNotChosen();
    // The button "クリップボード読込".
    void ReadClipboard(ClipboardText& clipboard);

    // The message box a read asks for (UTF-8); empty when it asks none.
    const std::string& readError() const { return readError_; }
    // The note under the list after the last read (UTF-8); empty when
    // there is nothing to say.
    const std::string& note() const { return note_; }

    // The list: the first row's fields as column headings, and one line
    // per further row with as many texts as the row has fields. UTF-8.
    std::vector<std::string> Headings() const;
    int LineCount() const;
    std::vector<std::string> LineTexts(int line) const;

    // The button "表挿入": the message that keeps the dialog open, or
    // nullptr when it may end with OK.
    const char* Confirm() const;

    // "Shift-JIS で表せない文字 %d 個を「〓」に置き換えました。"
    static std::string ReplacedNote(std::size_t replaced);

private:
    void Took(const TableReadResult& result);

    CCsvDoc& table_;
    std::string readError_;
    std::string note_;
};

}  // namespace tolvani
