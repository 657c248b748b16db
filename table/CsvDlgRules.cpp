#include "table/CsvDlgRules.h"

#include "model/Cp932.h"
#include "table/TableMessages.h"

namespace tolvani {

std::string CsvDlgRules::ReplacedNote(std::size_t replaced) {
    return "Shift-JIS で表せない文字 " + std::to_string(replaced) + " 個を「〓」に置き換えました。";
}

void CsvDlgRules::Took(const TableReadResult& result) {
    readError_ = result.ok() ? std::string() : result.message;
    note_ = result.ok() && result.replaced != 0 ? ReplacedNote(result.replaced) : std::string();
}

void CsvDlgRules::ReadFile(const std::string& path) { Took(table_.ReadCsvFile(path)); }

void CsvDlgRules::FileNotChosen() {
    table_.Clear();
    Took(TableReadResult());
}

void CsvDlgRules::ReadClipboard(ClipboardText& clipboard) { Took(table_.ReadClipboardTable(clipboard)); }

std::vector<std::string> CsvDlgRules::Headings() const {
    std::vector<std::string> out;
    if (table_.rows.empty()) return out;
    for (const std::string& field : table_.rows.front()) out.push_back(Cp932ToUtf8(field));
    return out;
}

int CsvDlgRules::LineCount() const { return table_.rows.empty() ? 0 : static_cast<int>(table_.rows.size()) - 1; }

std::vector<std::string> CsvDlgRules::LineTexts(int line) const {
    std::vector<std::string> out;
    if (line < 0 || line >= LineCount()) return out;
    for (const std::string& field : table_.rows[static_cast<std::size_t>(line) + 1]) out.push_back(Cp932ToUtf8(field));
    return out;
}

const char* CsvDlgRules::Confirm() const { return table_.rows.empty() ? kTableNotReadMessage : nullptr; }

}  // namespace tolvani
