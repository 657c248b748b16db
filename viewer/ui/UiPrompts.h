// The questions and messages the window puts to the user: file dialogs,
// the save question and message boxes. The window asks through this
// interface, so that tests answer instead of a person.
#pragma once

#include <QString>

class QWidget;

namespace tolvani::viewer {

class UiPrompts {
public:
    virtual ~UiPrompts() = default;

    // Filters in the form "name|pattern|name|pattern|". An empty result
    // means the dialog was cancelled.
    virtual QString OpenFileName(QWidget* parent, const QString& filters, const QString& initialName) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& filters, const QString& initialName) = 0;

    enum class SaveAnswer { Save, Discard, Cancel };
    // "%1 への変更を保存しますか?" with 保存 / 保存しない / キャンセル.
    virtual SaveAnswer AskSave(QWidget* parent, const QString& title) = 0;

    // Before an object's window closes with changes not yet written back:
    // kUpdateQuestion with 更新 / 更新しない / キャンセル (Save, Discard,
    // Cancel). Unless answered otherwise, as the save question.
    virtual SaveAnswer AskUpdate(QWidget* parent, const QString& title) { return AskSave(parent, title); }
    static const char* const kUpdateQuestion;

    enum class Icon { Information, Warning, Stop };
    virtual void Message(QWidget* parent, Icon icon, const QString& text, const QString& detail = QString()) = 0;

    enum class RestoreAnswer { Restore, Discard, Later };
    // "前回終了時に保存されていない図面があります。復元しますか？" with
    // 復元 / 破棄 / 後で; `detail` names the drawing. Unless answered, later.
    virtual RestoreAnswer AskRestore(QWidget* parent, const QString& detail) {
        (void)parent;
        (void)detail;
        return RestoreAnswer::Later;
    }
    static const char* const kRestoreQuestion;
};

// The real dialogs and message boxes.
class DialogPrompts : public UiPrompts {
public:
    QString OpenFileName(QWidget* parent, const QString& filters, const QString& initialName) override;
    QString SaveFileName(QWidget* parent, const QString& filters, const QString& initialName) override;
    SaveAnswer AskSave(QWidget* parent, const QString& title) override;
    SaveAnswer AskUpdate(QWidget* parent, const QString& title) override;
    void Message(QWidget* parent, Icon icon, const QString& text, const QString& detail) override;
    RestoreAnswer AskRestore(QWidget* parent, const QString& detail) override;
};

// Qt's name filters for a filter text "name|pattern|…|" (patterns
// separated by ";" become one filter).
QStringList QtNameFilters(const QString& filters);

}  // namespace tolvani::viewer
