#include "blocks/ui/BlockModels.h"

#include "blocks/ui/BlockImages.h"

namespace tolvani {

BlockTreeModel::BlockTreeModel(const BlockTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), rowInParent_(tree.items().size()),
      image_(tree.items().size(), kFolderImage) {
    const auto& roots = tree.rootItems();
    for (std::size_t r = 0; r < roots.size(); ++r)
        rowInParent_[static_cast<std::size_t>(roots[r])] = static_cast<int>(r);
    for (const auto& item : tree.items())
        for (std::size_t r = 0; r < item.children.size(); ++r)
            rowInParent_[static_cast<std::size_t>(item.children[r])] = static_cast<int>(r);
    icons_[0] = BlockIcon(kPageImage);
    icons_[1] = BlockIcon(kFolderImage);
}

const std::vector<int>& BlockTreeModel::Children(int item) const {
    return item < 0 ? tree_.rootItems() : tree_.items()[static_cast<std::size_t>(item)].children;
}

int BlockTreeModel::ItemOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex BlockTreeModel::IndexOf(int item) const {
    if (item < 0 || item >= static_cast<int>(tree_.items().size())) return {};
    return createIndex(rowInParent_[static_cast<std::size_t>(item)], 0, static_cast<quintptr>(item));
}

QModelIndex BlockTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const auto& children = Children(ItemOf(parent));
    if (column != 0 || row < 0 || row >= static_cast<int>(children.size())) return {};
    return createIndex(row, 0, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex BlockTreeModel::parent(const QModelIndex& child) const {
    const int item = ItemOf(child);
    if (item < 0) return {};
    return IndexOf(tree_.items()[static_cast<std::size_t>(item)].parent);
}

int BlockTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return static_cast<int>(Children(ItemOf(parent)).size());
}

int BlockTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool BlockTreeModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

QVariant BlockTreeModel::data(const QModelIndex& index, int role) const {
    const int item = ItemOf(index);
    if (item < 0) return {};
    const auto& it = tree_.items()[static_cast<std::size_t>(item)];
    switch (role) {
        case Qt::DisplayRole: return QString::fromStdString(it.text);
        case Qt::DecorationRole: return icons_[image_[static_cast<std::size_t>(item)] == kFolderImage ? 1 : 0];
        case kItemDataRole: return it.data;
        case kImageRole: return image_[static_cast<std::size_t>(item)];
        default: return {};
    }
}

void BlockTreeModel::SetImagesAfterWalk() {
    emit layoutAboutToBeChanged();
    for (std::size_t i = 0; i < image_.size(); ++i) image_[i] = tree_.ImageAfterWalk(static_cast<int>(i));
    emit layoutChanged();
}

BlockListModel::BlockListModel(std::vector<BlockListRow> rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(std::move(rows)) {}

int BlockListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int BlockListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant BlockListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const auto& r = rows_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
        case 0: return QString::fromStdString(r.number);
        case 1: return QString::fromStdString(r.name);
        case 2: return QString::fromStdString(r.kind);
        default: return QString::fromStdString(r.referenced);
    }
}

QVariant BlockListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const titles[] = {"番号", "名前", "複合図形種別", "参照"};
    return section >= 0 && section < 4 ? QString::fromUtf8(titles[section]) : QVariant();
}

}  // namespace tolvani
