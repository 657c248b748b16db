#include "viewer/ui/CHelpDlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "viewer/HelpText.h"

namespace tolvani::viewer {

std::vector<std::string> CHelpDlg::ProgramFolders() {
    return HelpFolders(QCoreApplication::applicationDirPath().toStdString());
}

CHelpDlg::CHelpDlg(QWidget* parent) : CHelpDlg(ProgramFolders(), parent) {}

CHelpDlg::CHelpDlg(std::vector<std::string> folders, QWidget* parent) : QDialog(parent), folders_(std::move(folders)) {
    setWindowTitle("10分で分かるTolvani");
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("helpText");
    text_->setReadOnly(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const QFontMetrics fm(text_->font());
    text_->setMinimumSize(fm.horizontalAdvance(QString(40, QChar(0x3000))) + 40, fm.lineSpacing() * 24);

    auto* toSheet = new QPushButton("エクセルにJWWを貼り付ける", this);
    toSheet->setObjectName("toSpreadsheetButton");
    auto* fromSheet = new QPushButton("エクセルをJWWに貼り付ける", this);
    fromSheet->setObjectName("fromSpreadsheetButton");
    for (auto* b : {toSheet, fromSheet}) b->setAutoDefault(false);
    auto* box = new QDialogButtonBox(this);
    auto* close = box->addButton("閉じる", QDialogButtonBox::AcceptRole);
    close->setObjectName("closeButton");
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(toSheet, &QPushButton::clicked, this, [this] { Load(kHelpToSpreadsheetFile); });
    connect(fromSheet, &QPushButton::clicked, this, [this] { Load(kHelpFromSpreadsheetFile); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(toSheet);
    buttons->addWidget(fromSheet);
    buttons->addStretch(1);
    buttons->addWidget(box);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    Load(kHelpIntroFile);
}

bool CHelpDlg::Load(const char* name) {
    std::string text;
    if (!LoadHelpText(FindHelpFile(folders_, name), text)) return false;
    text_->setPlainText(QString::fromStdString(text));
    return true;
}

}  // namespace tolvani::viewer
