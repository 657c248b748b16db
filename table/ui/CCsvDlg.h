// The table import dialog "エクセル表インポート": reads a table from a CSV
// file or from the clipboard into the table source and shows it, the first
// row as the column headings.
#pragma once

#include <QDialog>

#include "table/CsvDlgRules.h"
#include "table/ui/TableDialogPrompts.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace tolvani {

class CCsvDlg : public QDialog {
    Q_OBJECT
public:
    // The dialog reads into `table`, and the clipboard through `clipboard`;
    // both outlive it.
    CCsvDlg(CCsvDoc& table, ClipboardText& clipboard, TableDialogPrompts prompts, QWidget* parent = nullptr);

    // Shows the table source as it is and runs the dialog.
    int Open();

    QTableWidget* list() const { return list_; }
    QPushButton* fileButton() const { return fileButton_; }
    QPushButton* clipboardButton() const { return clipboardButton_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QLabel* noteLabel() const { return note_; }

    void accept() override;

private:
    void ReadFile();
    void ReadClipboard();
    void AfterRead();
    void ShowTable();

    CsvDlgRules rules_;
    ClipboardText& clipboard_;
    TableDialogPrompts prompts_;
    QTableWidget* list_ = nullptr;
    QLabel* note_ = nullptr;
    QPushButton* fileButton_ = nullptr;
    QPushButton* clipboardButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace tolvani
