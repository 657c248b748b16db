#include "viewer/ui/CAboutDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tolvani::viewer {

const char* const CAboutDlg::kVersionText = "Tolvani、バージョン 1.0.0";

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Tolvani について");
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_DesktopIcon);
    auto* picture = new QLabel(this);
    picture->setObjectName("programIcon");
    picture->setPixmap(icon.pixmap(32, 32));
    auto* version = new QLabel(QString::fromUtf8(kVersionText), this);
    version->setObjectName("versionText");
    auto* box = new QDialogButtonBox(this);
    box->addButton("OK", QDialogButtonBox::AcceptRole)->setObjectName("okButton");
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addWidget(version, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tolvani::viewer
