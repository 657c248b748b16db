#include "settings/ui/CApryDisp.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/ui/DotSizeSpin.h"

namespace tolvani::settings {

CApryDisp::CApryDisp(int dotSize, QWidget* parent) : QDialog(parent), value_(dotSize) {
    setWindowTitle("表示設定");
    spin_ = new DotSizeSpin(dotSize, value_, this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromUtf8(DotSizeSpin::kLabel), this));
    row->addWidget(spin_);
    auto* box = new QDialogButtonBox(this);
    box->addButton("OK", QDialogButtonBox::AcceptRole)->setObjectName("okButton");
    box->addButton("キャンセル", QDialogButtonBox::RejectRole)->setObjectName("cancelButton");
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(box);
}

}  // namespace tolvani::settings
