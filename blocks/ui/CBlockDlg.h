// The block figure dialog "ブロック図形": the tree of block insertions on
// the left, the list of definitions on the right. Choosing an insertion in
// the tree highlights it in the drawing's views until the dialog closes.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "blocks/BlockTree.h"

class QTreeView;
class QTableView;

namespace tolvani {

class BlockTreeModel;
class BlockListModel;

class CBlockDlg : public QDialog {
    Q_OBJECT
public:
    using Change = std::function<void(CJwwDoc&)>;
    struct Hooks {
        // Runs a change of the drawing (the tree fill's identifiers, the
        // selection pair): stops the running draw first, redraws all views
        // after.
        std::function<void(const Change&)> change;
        // Shows a message once the dialog is on screen; a warning box when
        // not given.
        std::function<void(QWidget*, const QString&)> message;
    };

    // Fills the list and the tree from the drawing, which the dialog
    // changes only through hooks.change.
    CBlockDlg(const CJwwDoc& doc, Hooks hooks, QWidget* parent = nullptr);
    ~CBlockDlg() override;

    // Every way of closing ends here: the selection is cleared and the
    // views are redrawn.
    void done(int result) override;

    QTreeView* tree() const { return tree_; }
    QTableView* list() const { return list_; }
    BlockTreeModel* treeModel() const { return treeModel_; }
    const BlockTree& blockTree() const { return blockTree_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void WalkTree(bool expand);
    void OnSelectionChanged();
    void ShowDump(bool definitions);
    void WriteSelection(int parentId, int itemId);

    const CJwwDoc& doc_;
    Hooks hooks_;
    BlockTree blockTree_;
    BlockTreeModel* treeModel_;
    BlockListModel* listModel_;
    QTreeView* tree_;
    QTableView* list_;
    bool messageShown_ = false;
    bool closed_ = false;
};

}  // namespace tolvani
