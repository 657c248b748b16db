// Running a modal dialog in a window test: the test's steps run once the
// dialog's event loop has started, and the prompts answer instead of a
// person.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "table/ui/TableDialogPrompts.h"

namespace tolvani::test {

// Prompts that answer file dialogs with the next queued name and note
// every message.
struct RecordingPrompts {
    QStringList files;    // answers, first first; none left: cancelled
    QStringList filters;  // the filters each file dialog was given
    QStringList messages;

    TableDialogPrompts Prompts() {
        TableDialogPrompts p;
        p.openFileName = [this](QWidget*, const QString& filter) {
            filters << filter;
            return files.isEmpty() ? QString() : files.takeFirst();
        };
        p.message = [this](QWidget*, const QString& text) { messages << text; };
        return p;
    }
};

// Runs `open` (which shows the dialog modally) and `steps` inside its
// event loop. A dialog the steps leave open is cancelled, and the test
// fails.
inline int RunModal(QDialog& dialog, const std::function<int()>& open, const std::function<void()>& steps) {
    bool ran = false;
    QTimer::singleShot(0, &dialog, [&] {
        ran = true;
        steps();
        if (dialog.isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            dialog.reject();
        }
    });
    const int result = open();
    EXPECT_TRUE(ran);
    return result;
}

}  // namespace tolvani::test
