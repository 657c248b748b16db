#include "blocks/ui/CBlockDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

#include "blocks/BlockDump.h"
#include "blocks/ui/BlockDumpWindow.h"
#include "blocks/ui/BlockModels.h"

namespace tolvani {
namespace {

const int kListWidths[] = {40, 120, 130, 55};

}  // namespace

CBlockDlg::CBlockDlg(const CJwwDoc& doc, Hooks hooks, QWidget* parent)
    : QDialog(parent), doc_(doc), hooks_(std::move(hooks)) {
    setWindowTitle("ブロック図形");

    // The fill writes the tree identifiers into the insertions.
    hooks_.change([this](CJwwDoc& d) { blockTree_.Fill(d); });
    treeModel_ = new BlockTreeModel(blockTree_, this);
    listModel_ = new BlockListModel(FillBlockListView(doc_), this);

    tree_ = new QTreeView(this);
    tree_->setObjectName("blockTree");
    tree_->setModel(treeModel_);
    tree_->setHeaderHidden(true);
    tree_->setUniformRowHeights(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setIconSize(QSize(16, 16));
    QPalette pal = tree_->palette();
    pal.setColor(QPalette::Base, QColor(255, 255, 250));
    tree_->setPalette(pal);
    tree_->setMinimumSize(260, 320);

    list_ = new QTableView(this);
    list_->setObjectName("blockList");
    list_->setModel(listModel_);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setWordWrap(false);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->horizontalHeader()->setStretchLastSection(true);
    int total = 0;
    for (int c = 0; c < 4; ++c) {
        // The given widths, or more where the title or a shown row needs it.
        const int w = std::max({kListWidths[c], list_->horizontalHeader()->sectionSizeHint(c),
                                static_cast<QAbstractItemView*>(list_)->sizeHintForColumn(c)});
        list_->setColumnWidth(c, w);
        total += w;
    }
    list_->setMinimumWidth(total + 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width());

    auto* expand = new QPushButton("ツリー展開", this);
    expand->setObjectName("expandButton");
    auto* collapse = new QPushButton("ツリー折たたむ", this);
    collapse->setObjectName("collapseButton");
    auto* dumpInsertions = new QPushButton("挿入ブロック診断", this);
    dumpInsertions->setObjectName("dumpInsertionsButton");
    dumpInsertions->setToolTip("挿入ブロックの構造を文字で表示します");
    auto* dumpDefinitions = new QPushButton("定義ブロック診断", this);
    dumpDefinitions->setObjectName("dumpDefinitionsButton");
    dumpDefinitions->setToolTip("定義ブロックの中身を文字で表示します");
    for (auto* b : {expand, collapse, dumpInsertions, dumpDefinitions}) b->setAutoDefault(false);
    auto* box = new QDialogButtonBox(this);
    auto* close = box->addButton("閉じる", QDialogButtonBox::AcceptRole);
    close->setObjectName("closeButton");

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("挿入ブロック", this), 0, 0);
    grid->addWidget(new QLabel("定義ブロック", this), 0, 1);
    grid->addWidget(tree_, 1, 0);
    grid->addWidget(list_, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    auto* treeButtons = new QHBoxLayout;
    treeButtons->addWidget(expand);
    treeButtons->addWidget(collapse);
    treeButtons->addStretch(1);
    grid->addLayout(treeButtons, 2, 0);
    auto* otherButtons = new QHBoxLayout;
    otherButtons->addWidget(dumpInsertions);
    otherButtons->addWidget(dumpDefinitions);
    otherButtons->addStretch(1);
    otherButtons->addWidget(box);
    grid->addLayout(otherButtons, 2, 1);

    connect(expand, &QPushButton::clicked, this, [this] { WalkTree(true); });
    connect(collapse, &QPushButton::clicked, this, [this] { WalkTree(false); });
    connect(dumpInsertions, &QPushButton::clicked, this, [this] { ShowDump(false); });
    connect(dumpDefinitions, &QPushButton::clicked, this, [this] { ShowDump(true); });
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { OnSelectionChanged(); });
}

CBlockDlg::~CBlockDlg() = default;

void CBlockDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (messageShown_) return;
    messageShown_ = true;
    const std::string message = blockTree_.Message();
    if (message.empty()) return;
    // Said once, over the dialog, after it is on screen.
    QTimer::singleShot(0, this, [this, text = QString::fromStdString(message)] {
        if (hooks_.message)
            hooks_.message(this, text);
        else
            QMessageBox::warning(this, windowTitle(), text);
    });
}

void CBlockDlg::WalkTree(bool expand) {
    treeModel_->SetImagesAfterWalk();
    if (expand)
        tree_->expandAll();
    else
        tree_->collapseAll();
}

void CBlockDlg::WriteSelection(int parentId, int itemId) {
    hooks_.change([parentId, itemId](CJwwDoc& d) {
        d.selectedParentId = parentId;
        d.selectedItemId = itemId;
    });
}

void CBlockDlg::OnSelectionChanged() {
    const QModelIndexList selected = tree_->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) return;
    const int item = treeModel_->ItemOf(selected.front());
    if (item < 0) return;
    const auto sel = blockTree_.SelectionOf(item);
    WriteSelection(sel.parentId, sel.itemId);
}

void CBlockDlg::ShowDump(bool definitions) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto boxes = definitions ? DumpDefinitions(doc_) : DumpInsertions(doc_, doc_.mainList, nullptr);
    auto* window = new BlockDumpWindow(definitions ? "定義ブロック診断" : "挿入ブロック診断", boxes, this);
    window->setObjectName(definitions ? "definitionsDump" : "insertionsDump");
    window->setAttribute(Qt::WA_DeleteOnClose);
    QApplication::restoreOverrideCursor();
    window->open();
}

void CBlockDlg::done(int result) {
    if (!closed_) {
        closed_ = true;
        WriteSelection(0, 0);
    }
    QDialog::done(result);
}

}  // namespace tolvani
