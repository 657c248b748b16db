#include "table/ui/QtClipboardText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tolvani {

bool QtClipboardText::GetUnicodeText(std::u16string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData(QClipboard::Clipboard) : nullptr;
    if (!data || !data->hasText()) return false;
    text = data->text().toStdU16String();
    return true;
}

}  // namespace tolvani
