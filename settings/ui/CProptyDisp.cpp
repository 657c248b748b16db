#include "settings/ui/CProptyDisp.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "settings/SettingsSheetRules.h"
#include "settings/ui/DotSizeSpin.h"

namespace tolvani::settings {

CProptyDisp::CProptyDisp(SettingsSheetRules& rules, QWidget* parent) : QWidget(parent) {
    zoomUp_ = new QCheckBox("マウスホイール手前でズームアップ", this);
    zoomUp_->setObjectName("zoomUpCheck");
    zoomUp_->setChecked(rules.zoomUp != 0);
    connect(zoomUp_, &QCheckBox::toggled, this, [&rules](bool on) {
        // A stored value other than 0 or 1 stays as it was until the box changes.
        if (on != (rules.zoomUp != 0)) rules.zoomUp = on ? 1 : 0;
    });
    dotSize_ = new DotSizeSpin(rules.dotSize, rules.dotSize, this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromUtf8(DotSizeSpin::kLabel), this));
    row->addWidget(dotSize_);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(zoomUp_);
    layout->addSpacing(12);
    layout->addLayout(row);
    layout->addStretch(1);
}

}  // namespace tolvani::settings
