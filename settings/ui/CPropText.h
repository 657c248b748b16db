// The page "文字種" of the settings sheet: the sizes of text types 1 to 10,
// shown only, and their colour numbers, which can be changed.
#pragma once

#include <QWidget>

class QLineEdit;

namespace tolvani::settings {

class SettingsSheetRules;

class CPropText : public QWidget {
    Q_OBJECT
public:
    explicit CPropText(SettingsSheetRules& rules, QWidget* parent = nullptr);

    QLineEdit* colorNumber(int type) const { return numbers_[type]; }
    QLineEdit* sample(int type) const { return samples_[type]; }

    // Repaints every sample (after a screen colour changed).
    void RefreshSamples();

private:
    void PaintType(int type);

    SettingsSheetRules& rules_;
    QLineEdit* numbers_[11] = {};
    QLineEdit* samples_[11] = {};
};

}  // namespace tolvani::settings
