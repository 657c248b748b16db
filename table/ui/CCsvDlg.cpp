#include "table/ui/CCsvDlg.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tolvani {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

CCsvDlg::CCsvDlg(CCsvDoc& table, ClipboardText& clipboard, TableDialogPrompts prompts, QWidget* parent)
    : QDialog(parent), rules_(table), clipboard_(clipboard), prompts_(std::move(prompts)) {
    setWindowTitle(QString::fromUtf8(CsvDlgRules::kTitle));
    setObjectName(QStringLiteral("CCsvDlg"));

    list_ = new QTableWidget(this);
    list_->setObjectName(QStringLiteral("list1006"));
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->horizontalHeader()->setDefaultSectionSize(CsvDlgRules::kColumnWidth);
    list_->setMinimumSize(520, 260);

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("note"));
    note_->setWordWrap(true);

    fileButton_ = new QPushButton(QStringLiteral("ファイル読込"), this);
    fileButton_->setObjectName(QStringLiteral("button1009"));
    clipboardButton_ = new QPushButton(QStringLiteral("クリップボード読込"), this);
    clipboardButton_->setObjectName(QStringLiteral("button1064"));
    okButton_ = new QPushButton(QStringLiteral("表挿入"), this);
    okButton_->setObjectName(QStringLiteral("button1"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("中止"), this);
    cancelButton_->setObjectName(QStringLiteral("button2"));
    for (QPushButton* b : {fileButton_, clipboardButton_}) b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fileButton_);
    buttons->addWidget(clipboardButton_);
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(note_);
    layout->addLayout(buttons);

    connect(fileButton_, &QPushButton::clicked, this, &CCsvDlg::ReadFile);
    connect(clipboardButton_, &QPushButton::clicked, this, &CCsvDlg::ReadClipboard);
    connect(okButton_, &QPushButton::clicked, this, &CCsvDlg::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &CCsvDlg::reject);
}

int CCsvDlg::Open() {
    note_->clear();
    ShowTable();
    return exec();
}

void CCsvDlg::ShowTable() {
    list_->clear();
    list_->setRowCount(0);
    list_->setColumnCount(0);
    const std::vector<std::string> headings = rules_.Headings();
    if (headings.empty()) return;
    list_->setColumnCount(static_cast<int>(headings.size()));
    QStringList labels;
    for (const std::string& h : headings) labels << Q(h);
    list_->setHorizontalHeaderLabels(labels);
    const int lines = rules_.LineCount();
    list_->setRowCount(lines);
    for (int r = 0; r < lines; ++r) {
        const std::vector<std::string> texts = rules_.LineTexts(r);
        for (int c = 0; c < static_cast<int>(texts.size()); ++c)
            list_->setItem(r, c, new QTableWidgetItem(Q(texts[static_cast<std::size_t>(c)])));
    }
}

void CCsvDlg::ReadFile() {
    list_->clear();
    list_->setRowCount(0);
    list_->setColumnCount(0);
    const QString path = prompts_.OpenFileName(this, QString::fromUtf8(CsvDlgRules::kFileFilter));
    if (path.isEmpty()) {
        rules_.FileNotChosen();
        AfterRead();
        return;
    }
    rules_.ReadFile(QFile::encodeName(path).toStdString());
    AfterRead();
}

void CCsvDlg::ReadClipboard() {
    list_->clear();
    list_->setRowCount(0);
    list_->setColumnCount(0);
    rules_.ReadClipboard(clipboard_);
    AfterRead();
}

void CCsvDlg::AfterRead() {
    ShowTable();
    note_->setText(Q(rules_.note()));
    if (!rules_.readError().empty()) prompts_.Message(this, Q(rules_.readError()));
}

void CCsvDlg::accept() {
    if (const char* refusal = rules_.Confirm()) {
        prompts_.Message(this, QString::fromUtf8(refusal));
        return;
    }
    QDialog::accept();
}

}  // namespace tolvani
