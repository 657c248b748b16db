#include "table/ui/TableDialogPrompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace tolvani {

QString TableDialogPrompts::OpenFileName(QWidget* parent, const QString& filters) const {
    if (openFileName) return openFileName(parent, filters);
    const QStringList parts = filters.split(QLatin1Char('|'));
    QStringList names;
    for (int i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        const QString pattern = parts[i + 1] == QLatin1String("*.*") ? QStringLiteral("*") : parts[i + 1];
        names << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(names);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

void TableDialogPrompts::Message(QWidget* parent, const QString& text) const {
    if (message) {
        message(parent, text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tolvani"), text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace tolvani
