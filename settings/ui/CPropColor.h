// The page "線色" of the settings sheet: the screen colours of line colours
// 1 to 8 with their components and widths, each chosen with the colour
// chooser.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace tolvani::settings {

class SettingsSheetRules;

class CPropColor : public QWidget {
    Q_OBJECT
public:
    explicit CPropColor(SettingsSheetRules& rules, QWidget* parent = nullptr);

    QPushButton* colorButton(int n) const { return buttons_[n]; }
    QLineEdit* sample(int n) const { return samples_[n]; }

signals:
    // Colour n was changed.
    void colorChanged(int n);

private:
    void Choose(int n);
    void ShowColor(int n);

    SettingsSheetRules& rules_;
    QPushButton* buttons_[9] = {};
    QLineEdit* red_[9] = {};
    QLineEdit* green_[9] = {};
    QLineEdit* blue_[9] = {};
    QLineEdit* samples_[9] = {};
};

}  // namespace tolvani::settings
