// Item models over the contents of the block figure dialog: the insertion
// tree and the definition list. Both only read what the fill made, so the
// views ask for the rows they show and a drawing with many blocks opens at
// once.
#pragma once

#include <QAbstractItemModel>
#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

#include "blocks/BlockTree.h"

namespace tolvani {

class BlockTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The tree item's data (the insertion's treeItemId), for Qt::UserRole.
    static constexpr int kItemDataRole = Qt::UserRole;
    // The image index the item shows, for Qt::UserRole + 1.
    static constexpr int kImageRole = Qt::UserRole + 1;

    BlockTreeModel(const BlockTree& tree, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The tree item of an index (-1 for none), and the index of an item.
    int ItemOf(const QModelIndex& index) const;
    QModelIndex IndexOf(int item) const;

    // Every item shows the folder when it has a child item, else the page.
    void SetImagesAfterWalk();

private:
    const std::vector<int>& Children(int item) const;

    const BlockTree& tree_;
    std::vector<int> rowInParent_;
    std::vector<int> image_;
    QIcon icons_[2];  // page, folder
};

class BlockListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    BlockListModel(std::vector<BlockListRow> rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<BlockListRow> rows_;
};

}  // namespace tolvani
