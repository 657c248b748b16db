#include "object/ui/CCopyDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "object/CopyDialogRules.h"

namespace tolvani::object {

CCopyDlg::CCopyDlg(object::CopyDialogRules& rules, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), rules_(rules), redraw_(std::move(redraw)) {
    setWindowTitle("オブジェクトのコピー");
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 22);
        return e;
    };
    pasteSize_ = edit("pasteSizeEdit");
    drawingSize_ = edit("drawingSizeEdit");
    scale_ = edit("scaleEdit");
    edit_ = new QCheckBox("貼付けたオブジェクトの編集を許可する", this);
    edit_->setObjectName("allowEditCheck");
    outport_ = new QCheckBox("貼付けたオブジェクトのアウトポートを許可する", this);
    outport_->setObjectName("allowOutportCheck");
    auto* rescale = new QPushButton("縮尺再設定", this);
    rescale->setObjectName("rescaleButton");
    rescale->setAutoDefault(false);
    auto* copy = new QPushButton("コピー", this);
    copy->setObjectName("copyButton");
    copy->setDefault(true);
    auto* cancel = new QPushButton("中止", this);
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("貼付けサイズ", this), 0, 0);
    grid->addWidget(pasteSize_, 0, 1);
    grid->addWidget(new QLabel("図面サイズ", this), 1, 0);
    grid->addWidget(drawingSize_, 1, 1);
    grid->addWidget(new QLabel("貼付けスケール", this), 2, 0);
    grid->addWidget(scale_, 2, 1);
    grid->addWidget(rescale, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(edit_);
    layout->addWidget(outport_);
    layout->addLayout(buttons);

    connect(rescale, &QPushButton::clicked, this, &CCopyDlg::ApplyScale);
    connect(copy, &QPushButton::clicked, this, &CCopyDlg::Copy);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    edit_->setChecked(rules_.objEdit());
    outport_->setChecked(rules_.objOutp());
    Fill();
    scale_->setFocus();
    scale_->selectAll();
}

void CCopyDlg::Fill() {
    pasteSize_->setText(QString::fromStdString(rules_.PasteSizeText()));
    drawingSize_->setText(QString::fromStdString(rules_.DrawingSizeText()));
    scale_->setText(QString::fromStdString(rules_.ScaleText()));
}

void CCopyDlg::ApplyScale() {
    if (!rules_.ApplyScale(scale_->text().toStdString())) return;
    if (redraw_) redraw_();
    Fill();
}

void CCopyDlg::Copy() {
    rules_.SetObjEdit(edit_->isChecked());
    rules_.SetObjOutp(outport_->isChecked());
    accept();
}

}  // namespace tolvani::object
