#include "settings/ui/DotSizeSpin.h"

#include <QLineEdit>

#include "settings/SettingsSheetRules.h"

namespace tolvani::settings {

const char* const DotSizeSpin::kLabel = "表示点の半径（ × 0.1 mm ）";

DotSizeSpin::DotSizeSpin(int value, int& target, QWidget* parent) : QSpinBox(parent) {
    setObjectName("dotSizeSpin");
    setRange(SettingsSheetRules::kDotSizeMin, SettingsSheetRules::kDotSizeMax);
    setValue(SettingsSheetRules::ShownDotSize(value));
    setAlignment(Qt::AlignRight);
    // A number that the arrows change, not typed.
    lineEdit()->setReadOnly(true);
    connect(this, qOverload<int>(&QSpinBox::valueChanged), this, [&target](int v) { target = v; });
}

}  // namespace tolvani::settings
