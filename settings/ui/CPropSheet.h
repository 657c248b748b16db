// The settings sheet "Tolvani 設定" with the pages "線色", "表示" and
// "文字種". It changes the copies held by a SettingsSheetRules; the caller
// copies them in before and back after OK.
#pragma once

#include <QDialog>

class QTabWidget;

namespace tolvani::settings {

class SettingsSheetRules;
class CPropColor;
class CProptyDisp;
class CPropText;

class CPropSheet : public QDialog {
    Q_OBJECT
public:
    explicit CPropSheet(SettingsSheetRules& rules, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    CPropColor* colorPage() const { return color_; }
    CProptyDisp* displayPage() const { return display_; }
    CPropText* textPage() const { return text_; }

private:
    QTabWidget* tabs_;
    CPropColor* color_;
    CProptyDisp* display_;
    CPropText* text_;
};

}  // namespace tolvani::settings
