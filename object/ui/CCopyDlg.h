// "オブジェクトのコピー": shows the size of the pasted picture, the part of
// the drawing it shows and their ratio, lets the user set the ratio, and
// takes the two permissions.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;

namespace tolvani::object {

class CopyDialogRules;

class CCopyDlg : public QDialog {
    Q_OBJECT
public:
    // `redraw` is called after "縮尺再設定" changed the view.
    CCopyDlg(object::CopyDialogRules& rules, std::function<void()> redraw, QWidget* parent = nullptr);

private:
    void Fill();
    void ApplyScale();
    void Copy();

    object::CopyDialogRules& rules_;
    std::function<void()> redraw_;
    QLineEdit* pasteSize_ = nullptr;    // 1000
    QLineEdit* drawingSize_ = nullptr;  // 1004
    QLineEdit* scale_ = nullptr;        // 1005
    QCheckBox* edit_ = nullptr;         // 1002
    QCheckBox* outport_ = nullptr;      // 1003
};

}  // namespace tolvani::object
