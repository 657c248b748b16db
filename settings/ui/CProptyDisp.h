// The page "表示" of the settings sheet: wheel direction and point size.
#pragma once

#include <QWidget>

class QCheckBox;

namespace tolvani::settings {

class SettingsSheetRules;
class DotSizeSpin;

class CProptyDisp : public QWidget {
    Q_OBJECT
public:
    explicit CProptyDisp(SettingsSheetRules& rules, QWidget* parent = nullptr);

    QCheckBox* zoomUp() const { return zoomUp_; }
    DotSizeSpin* dotSize() const { return dotSize_; }

private:
    QCheckBox* zoomUp_;
    DotSizeSpin* dotSize_;
};

}  // namespace tolvani::settings
