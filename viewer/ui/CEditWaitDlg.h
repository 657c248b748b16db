// The window that stands in front of the program while the external editor
// runs: one line of text, no button, and nothing the user can do to close
// it; the program goes on painting behind it and every other command waits
// until the editor has ended.
#pragma once

#include <QDialog>

class QLabel;

namespace tolvani::viewer {

class CEditWaitDlg : public QDialog {
    Q_OBJECT
public:
    CEditWaitDlg(const QString& text, QWidget* parent);

    void SetText(const QString& text);
    QString text() const;
    // Shows the window modally without blocking the caller.
    void Begin();
    // Closes the window (the only way it closes).
    void End();

public slots:
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* label_ = nullptr;
    bool ending_ = false;
};

}  // namespace tolvani::viewer
