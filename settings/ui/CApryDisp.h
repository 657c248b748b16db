// The display dialog "表示設定": the point size alone.
#pragma once

#include <QDialog>

namespace tolvani::settings {

class DotSizeSpin;

class CApryDisp : public QDialog {
    Q_OBJECT
public:
    // Shows `dotSize`; value() is what OK hands back.
    explicit CApryDisp(int dotSize, QWidget* parent = nullptr);

    int value() const { return value_; }
    DotSizeSpin* spin() const { return spin_; }

private:
    int value_;
    DotSizeSpin* spin_;
};

}  // namespace tolvani::settings
