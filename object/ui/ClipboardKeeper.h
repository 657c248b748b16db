// Keeps an object copy on the clipboard after the program ends. On X11 the
// clipboard's data lives in the program that copied it; a clipboard manager
// may take it over at the end, but the common ones keep only text or
// re-encode pictures. So when the program ends while it still holds an
// object copy, it writes the copy's formats to a private file and starts
// itself once more as a small keeper without windows that offers them until
// something else is copied.
#pragma once

#include <QByteArray>
#include <QMimeData>
#include <QString>

namespace tolvani::object {

extern const char* const kKeepClipboardSwitch;  // "--keep-clipboard"

// Every format of the data with its bytes, and back. Unpack gives nullptr
// for bytes that are not such a record.
QByteArray PackMimeData(const QMimeData& data);
QMimeData* UnpackMimeData(const QByteArray& bytes);

// At the end of a run on X11: when this program still holds an object copy,
// hands it to `program --keep-clipboard FILE` and waits up to a few seconds,
// with events running, until the keeper holds it. Returns the keeper's
// process id, or 0 when nothing was handed over.
qint64 HandOverClipboard(const QString& program);

// The keeper's run: offers the record's formats (the file is removed once
// read) until another program takes the clipboard. The exit status; 1, with
// the file left alone, when it is not such a record.
int RunClipboardKeeper(int& argc, char** argv, const QString& file);

}  // namespace tolvani::object
