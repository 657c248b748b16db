// The window's questions answered by a test instead of a person: every
// question and message is recorded, and the answers are taken from the
// queues a test fills (a question with an empty queue gets the default).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "viewer/ui/UiPrompts.h"

namespace tolvani::test {

class ScriptedPrompts : public viewer::UiPrompts {
public:
    QString OpenFileName(QWidget*, const QString& filters, const QString& initial) override {
        openFilters << filters;
        openInitial << initial;
        return openNames.isEmpty() ? QString() : openNames.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString& filters, const QString& initial) override {
        saveFilters << filters;
        saveInitial << initial;
        return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
    }
    SaveAnswer AskSave(QWidget*, const QString& title) override {
        asked << title;
        return answers.isEmpty() ? saveDefault : answers.takeFirst();
    }
    SaveAnswer AskUpdate(QWidget*, const QString& title) override {
        askedUpdate << title;
        return updateAnswers.isEmpty() ? SaveAnswer::Cancel : updateAnswers.takeFirst();
    }
    void Message(QWidget*, Icon icon, const QString& text, const QString& detail) override {
        icons << icon;
        messages << text;
        details << detail;
    }
    RestoreAnswer AskRestore(QWidget*, const QString& detail) override {
        restoreAsked << detail;
        return restoreAnswer;
    }

    // Queued answers, taken first to last.
    QStringList openNames, saveNames;
    QList<SaveAnswer> answers, updateAnswers;
    SaveAnswer saveDefault = SaveAnswer::Cancel;
    RestoreAnswer restoreAnswer = RestoreAnswer::Later;
    // What was asked and told.
    QStringList openFilters, openInitial, saveFilters, saveInitial, asked, askedUpdate, restoreAsked;
    QStringList messages, details;
    QList<Icon> icons;
};

// Discards every change it is asked about and answers no file dialog.
class QuietPrompts : public ScriptedPrompts {
public:
    QuietPrompts() { saveDefault = SaveAnswer::Discard; }
};

}  // namespace tolvani::test
