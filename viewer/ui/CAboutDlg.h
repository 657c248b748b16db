// The about box "Tolvani について".
#pragma once

#include <QDialog>

namespace tolvani::viewer {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static const char* const kVersionText;

    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace tolvani::viewer
