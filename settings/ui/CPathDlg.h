// The dialog "外部アプリケーションの登録": the program that edits drawings
// and the two permissions of pasted objects.
#pragma once

#include <QDialog>

class QLineEdit;
class QCheckBox;
class QPushButton;

namespace tolvani::settings {

class PathDialogRules;

class CPathDlg : public QDialog {
    Q_OBJECT
public:
    // Shows the values of `rules` and writes them back into it on OK.
    explicit CPathDlg(PathDialogRules& rules, QWidget* parent = nullptr);

    void accept() override;

    QLineEdit* pathEdit() const { return path_; }
    QPushButton* browseButton() const { return browse_; }

private:
    void Browse();

    PathDialogRules& rules_;
    QLineEdit* path_;
    QPushButton* browse_;
    QCheckBox* edit_;
    QCheckBox* outport_;
};

}  // namespace tolvani::settings
