// A scrollable read-only window that shows a diagnostic dump of the block
// structure.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace tolvani {

class BlockDumpWindow : public QDialog {
    Q_OBJECT
public:
    // `boxes` are the texts of the dump in their order, each with CR LF
    // line ends; they are shown one after the other.
    BlockDumpWindow(const QString& title, const std::vector<std::string>& boxes, QWidget* parent = nullptr);

    QPlainTextEdit* text() const { return text_; }

    // The window shows at most this many bytes of a dump, so that the dump
    // of a drawing with very many blocks opens at once.
    static constexpr std::size_t kShownLimit = 2u << 20;

    // The text the window shows for the boxes: one after the other with an
    // empty line between, LF line ends, cut at a line end after kShownLimit
    // bytes with a closing note.
    static QString JoinBoxes(const std::vector<std::string>& boxes);

private:
    QPlainTextEdit* text_;
};

}  // namespace tolvani
