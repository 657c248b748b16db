// How the table dialogs ask for a file and show a message. The program
// hands its own prompts in; without them the dialogs use Qt's file dialog
// and message box.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace tolvani {

struct TableDialogPrompts {
    // Filters in the form "name|pattern|name|pattern|"; an empty result
    // means the dialog was cancelled.
    std::function<QString(QWidget* parent, const QString& filters)> openFileName;
    // A message box with an OK button.
    std::function<void(QWidget* parent, const QString& text)> message;

    QString OpenFileName(QWidget* parent, const QString& filters) const;
    void Message(QWidget* parent, const QString& text) const;
};

}  // namespace tolvani
