#include "viewer/ui/CEditWaitDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace tolvani::viewer {

CEditWaitDlg::CEditWaitDlg(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("editWaitDialog"));
    setWindowTitle(QApplication::applicationDisplayName());
    setWindowModality(Qt::ApplicationModal);
    label_ = new QLabel(text, this);
    label_->setObjectName(QStringLiteral("waitText"));
    label_->setAlignment(Qt::AlignCenter);
    label_->setMinimumWidth(label_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 36);
    // A bar that runs without an end: the program is alive and waits.
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(12);
    layout->addWidget(label_);
    layout->addWidget(bar);
}

void CEditWaitDlg::SetText(const QString& text) { label_->setText(text); }

QString CEditWaitDlg::text() const { return label_->text(); }

void CEditWaitDlg::Begin() {
    ending_ = false;
    show();
    raise();
}

void CEditWaitDlg::End() {
    ending_ = true;
    hide();
}

void CEditWaitDlg::closeEvent(QCloseEvent* event) {
    if (!ending_) event->ignore();
}

void CEditWaitDlg::keyPressEvent(QKeyEvent* event) {
    // Neither Escape nor Enter ends the wait.
    event->accept();
}

}  // namespace tolvani::viewer
