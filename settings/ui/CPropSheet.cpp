#include "settings/ui/CPropSheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "settings/ui/CPropColor.h"
#include "settings/ui/CPropText.h"
#include "settings/ui/CProptyDisp.h"

namespace tolvani::settings {

CPropSheet::CPropSheet(SettingsSheetRules& rules, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Tolvani 設定");
    tabs_ = new QTabWidget(this);
    color_ = new CPropColor(rules, tabs_);
    display_ = new CProptyDisp(rules, tabs_);
    text_ = new CPropText(rules, tabs_);
    tabs_->addTab(color_, "線色");
    tabs_->addTab(display_, "表示");
    tabs_->addTab(text_, "文字種");
    tabs_->setCurrentIndex(0);
    // A text type painted in one of the line colours follows its change.
    connect(color_, &CPropColor::colorChanged, text_, &CPropText::RefreshSamples);

    auto* box = new QDialogButtonBox(this);
    box->addButton("OK", QDialogButtonBox::AcceptRole)->setObjectName("okButton");
    box->addButton("キャンセル", QDialogButtonBox::RejectRole)->setObjectName("cancelButton");
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(box);
}

}  // namespace tolvani::settings
