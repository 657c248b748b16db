// The point size with its spin control, shared by the page "表示" and the
// dialog "表示設定": the label "表示点の半径（ × 0.1 mm ）" and a number kept
// inside 2..50 that changes only by the arrows or the arrow keys.
#pragma once

#include <QSpinBox>

namespace tolvani::settings {

class DotSizeSpin : public QSpinBox {
    Q_OBJECT
public:
    // Shows `value` (kept inside the range); every step writes the new
    // value into `target`.
    DotSizeSpin(int value, int& target, QWidget* parent = nullptr);

    static const char* const kLabel;
};

}  // namespace tolvani::settings
