#include "settings/ui/CPathDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/PathDialogRules.h"

namespace tolvani::settings {

CPathDlg::CPathDlg(PathDialogRules& rules, QWidget* parent) : QDialog(parent), rules_(rules) {
    setWindowTitle("外部アプリケーションの登録");
    path_ = new QLineEdit(QString::fromStdString(rules_.path), this);
    path_->setObjectName("pathEdit");
    path_->setMinimumWidth(path_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 48);
    browse_ = new QPushButton("参照", this);
    browse_->setObjectName("browseButton");
    browse_->setAutoDefault(false);
    edit_ = new QCheckBox("貼付けたオブジェクトの編集を許可する", this);
    edit_->setObjectName("allowEditCheck");
    edit_->setChecked(rules_.allowEdit);
    outport_ = new QCheckBox("貼付けたオブジェクトのアウトポートを許可する", this);
    outport_->setObjectName("allowOutportCheck");
    outport_->setChecked(rules_.allowOutport);

    auto* box = new QDialogButtonBox(this);
    box->addButton("OK", QDialogButtonBox::AcceptRole)->setObjectName("okButton");
    box->addButton("キャンセル", QDialogButtonBox::RejectRole)->setObjectName("cancelButton");
    connect(box, &QDialogButtonBox::accepted, this, &CPathDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse_, &QPushButton::clicked, this, &CPathDlg::Browse);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("ファイルパス", this), 0, 0);
    grid->addWidget(path_, 0, 1);
    grid->addWidget(browse_, 0, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(edit_);
    layout->addWidget(outport_);
    layout->addWidget(box);
}

void CPathDlg::Browse() {
    QFileDialog chooser(this, "ファイルを開く",
                        QString::fromStdString(PathDialogRules::ChooserFolder(path_->text().toStdString())));
    chooser.setObjectName("programChooser");
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    QStringList filters;
    for (const auto& f : PathDialogRules::ChooserFilters()) filters << QString::fromStdString(f);
    chooser.setNameFilters(filters);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
    path_->setText(chooser.selectedFiles().front());
}

void CPathDlg::accept() {
    rules_.path = path_->text().toStdString();
    rules_.allowEdit = edit_->isChecked();
    rules_.allowOutport = outport_->isChecked();
    QDialog::accept();
}

}  // namespace tolvani::settings
