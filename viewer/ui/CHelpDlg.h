// The help dialog "10分で分かるTolvani": shows the program's short manuals.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace tolvani::viewer {

class CHelpDlg : public QDialog {
    Q_OBJECT
public:
    // Looks for the manuals in `folders` (by default those of the running
    // program) and shows "はじめに.txt".
    explicit CHelpDlg(QWidget* parent = nullptr);
    CHelpDlg(std::vector<std::string> folders, QWidget* parent);

    QPlainTextEdit* text() const { return text_; }

    // Shows the manual `name`; a manual that cannot be read leaves the text
    // as it is. Returns whether it was read.
    bool Load(const char* name);

    // The folders of the running program's manuals.
    static std::vector<std::string> ProgramFolders();

private:
    std::vector<std::string> folders_;
    QPlainTextEdit* text_;
};

}  // namespace tolvani::viewer
