#include "blocks/ui/BlockDumpWindow.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

namespace tolvani {

QString BlockDumpWindow::JoinBoxes(const std::vector<std::string>& boxes) {
    std::string all;
    std::size_t size = 0;
    for (const auto& b : boxes) size += b.size() + 1;
    all.reserve(std::min(size, kShownLimit + 4096));
    for (const auto& b : boxes) {
        for (std::size_t i = 0; i < b.size(); ++i) {
            if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n') continue;
            all += b[i];
            if (b[i] == '\n' && all.size() >= kShownLimit) {
                char note[160];
                std::snprintf(note, sizeof note, "\n（表示はここまでです。診断の全体は %zu バイトあります）\n", size);
                return QString::fromStdString(all + note);
            }
        }
        if (all.empty() || all.back() != '\n') all += '\n';
        all += '\n';  // one empty line between boxes
    }
    return QString::fromStdString(all);
}

BlockDumpWindow::BlockDumpWindow(const QString& title, const std::vector<std::string>& boxes, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("dumpText");
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setPlainText(JoinBoxes(boxes));
    auto* box = new QDialogButtonBox(this);
    auto* close = box->addButton("閉じる", QDialogButtonBox::RejectRole);
    close->setObjectName("closeButton");
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(box);
    resize(760, 520);
}

}  // namespace tolvani
