#include "viewer/ui/UiPrompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace tolvani::viewer {

namespace {
const char* const kProgramTitle = "Tolvani";
}

QStringList QtNameFilters(const QString& filters) {
    const QStringList parts = filters.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" means every file, with or without a dot.
        if (patterns == QLatin1String("*.*")) patterns = QStringLiteral("*");
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out;
}

static QString RunFileDialog(QWidget* parent, const QString& filters, const QString& initialName, bool save) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(QtNameFilters(filters));
    dialog.setDefaultSuffix(QStringLiteral("jww"));
    if (!initialName.isEmpty()) dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

QString DialogPrompts::OpenFileName(QWidget* parent, const QString& filters, const QString& initialName) {
    return RunFileDialog(parent, filters, initialName, false);
}

QString DialogPrompts::SaveFileName(QWidget* parent, const QString& filters, const QString& initialName) {
    return RunFileDialog(parent, filters, initialName, true);
}

UiPrompts::SaveAnswer DialogPrompts::AskSave(QWidget* parent, const QString& title) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kProgramTitle),
                    QStringLiteral("%1 への変更を保存しますか?").arg(title), QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("保存しない"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveAnswer::Save;
    if (box.clickedButton() == discard) return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
}

const char* const UiPrompts::kUpdateQuestion =
    "オブジェクト %1 は変更されています。閉じる前にオブジェクトを更新しますか?";

UiPrompts::SaveAnswer DialogPrompts::AskUpdate(QWidget* parent, const QString& title) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kProgramTitle),
                    QString::fromUtf8(kUpdateQuestion).arg(title), QMessageBox::NoButton, parent);
    QPushButton* update = box.addButton(QStringLiteral("更新"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("更新しない"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(update);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == update) return SaveAnswer::Save;
    if (box.clickedButton() == discard) return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
}

void DialogPrompts::Message(QWidget* parent, Icon icon, const QString& text, const QString& detail) {
    const QMessageBox::Icon qtIcon = icon == Icon::Stop      ? QMessageBox::Critical
                                     : icon == Icon::Warning ? QMessageBox::Warning
                                                             : QMessageBox::Information;
    QMessageBox box(qtIcon, QString::fromUtf8(kProgramTitle), text, QMessageBox::Ok, parent);
    if (!detail.isEmpty()) box.setInformativeText(detail);
    box.exec();
}

const char* const UiPrompts::kRestoreQuestion = "前回終了時に保存されていない図面があります。復元しますか？";

UiPrompts::RestoreAnswer DialogPrompts::AskRestore(QWidget* parent, const QString& detail) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kProgramTitle), QString::fromUtf8(kRestoreQuestion),
                    QMessageBox::NoButton, parent);
    if (!detail.isEmpty()) box.setInformativeText(detail);
    QPushButton* restore = box.addButton(QStringLiteral("復元"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("破棄"), QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(QStringLiteral("後で"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore) return RestoreAnswer::Restore;
    if (box.clickedButton() == discard) return RestoreAnswer::Discard;
    return RestoreAnswer::Later;
}

}  // namespace tolvani::viewer
