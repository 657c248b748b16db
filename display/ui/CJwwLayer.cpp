#include "display/ui/CJwwLayer.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include "display/LayerRules.h"

namespace tolvani::display {
namespace {

const int kGroupWidths[] = {110, 60, 60, 60};
const int kLayerWidths[] = {110, 60, 60};

QTableWidget* MakeList(const QStringList& titles, const QString& name, QWidget* parent) {
    auto* list = new QTableWidget(kLayerGroups, titles.size(), parent);
    list->setObjectName(name);
    list->setHorizontalHeaderLabels(titles);
    list->verticalHeader()->hide();
    list->setShowGrid(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setWordWrap(false);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setSectionsClickable(false);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int r = 0; r < kLayerGroups; ++r)
        for (int c = 0; c < titles.size(); ++c) list->setItem(r, c, new QTableWidgetItem);
    return list;
}

void SetRow(QTableWidget* list, int row, std::initializer_list<std::string> texts) {
    int c = 0;
    for (const auto& t : texts) list->item(row, c++)->setText(QString::fromStdString(t));
}

void SelectRow(QTableWidget* list, int row) {
    list->setCurrentCell(row, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list->scrollToItem(list->item(row, 0));
}

}  // namespace

CJwwLayer::CJwwLayer(LayerRules& rules, QWidget* parent) : QDialog(parent), rules_(rules) {
    setWindowTitle("レイヤー設定");
    groups_ = MakeList({"名前", "表示", "縮尺", "要素数"}, "groupList", this);
    layers_ = MakeList({"名前", "表示", "要素数"}, "layerList", this);

    auto* allGroups = new QPushButton("全グループ", this);
    allGroups->setObjectName("allGroupsButton");
    auto* allLayers = new QPushButton("全レイヤー", this);
    allLayers->setObjectName("allLayersButton");
    auto* writeLayer = new QPushButton("書込レイヤー", this);
    writeLayer->setObjectName("writeLayerButton");
    for (auto* b : {allGroups, allLayers, writeLayer}) b->setAutoDefault(false);
    auto* box = new QDialogButtonBox(this);
    auto* ok = box->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("okButton");
    auto* cancel = box->addButton("キャンセル", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cancelButton");

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("レイヤーグループ", this), 0, 0);
    grid->addWidget(new QLabel("レイヤー", this), 0, 1);
    grid->addWidget(groups_, 1, 0);
    grid->addWidget(layers_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(allGroups);
    buttons->addWidget(allLayers);
    buttons->addWidget(writeLayer);
    buttons->addStretch(1);
    buttons->addWidget(box);
    grid->addLayout(buttons, 2, 0, 1, 2);

    connect(groups_, &QTableWidget::cellClicked, this,
            [this](int row, int column) { Refill(rules_.ClickGroup(row, column)); });
    connect(layers_, &QTableWidget::cellClicked, this,
            [this](int row, int column) { Refill(rules_.ClickLayer(row, column)); });
    // Moving through the rows with the keyboard chooses the row as a click
    // outside the state column would.
    connect(groups_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row != previous) Refill(rules_.ClickGroup(row, 0));
    });
    connect(layers_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row != previous) Refill(rules_.ClickLayer(row, 0));
    });
    connect(allGroups, &QPushButton::clicked, this, [this] { Refill(rules_.AllGroups()); });
    connect(allLayers, &QPushButton::clicked, this, [this] { Refill(rules_.AllLayers()); });
    connect(writeLayer, &QPushButton::clicked, this, [this] { Refill(rules_.WriteLayer()); });
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    FillLayers();
    FillGroups();
    FitList(groups_, kGroupWidths, 4);
    FitList(layers_, kLayerWidths, 3);
    groups_->setFocus();
}

void CJwwLayer::Refill(unsigned what) {
    if (what & LayerRules::kRefillLayers) FillLayers();
    if (what & LayerRules::kRefillGroups) FillGroups();
}

void CJwwLayer::FillGroups() {
    const QSignalBlocker block(groups_);
    for (int g = 0; g < kLayerGroups; ++g)
        SetRow(groups_, g,
               {rules_.GroupNameText(g), rules_.GroupStateText(g), rules_.GroupScaleText(g), rules_.GroupCountText(g)});
    SelectRow(groups_, rules_.currentGroup());
}

void CJwwLayer::FillLayers() {
    const QSignalBlocker block(layers_);
    for (int l = 0; l < kLayers; ++l)
        SetRow(layers_, l, {rules_.LayerNameText(l), rules_.LayerStateText(l), rules_.LayerCountText(l)});
    SelectRow(layers_, rules_.currentLayer());
}

void CJwwLayer::FitList(QTableWidget* list, const int* widths, int columns) {
    // The widths given for the columns, or more where a text needs it, and
    // room for all sixteen rows.
    int total = 0;
    for (int c = 0; c < columns; ++c) {
        list->resizeColumnToContents(c);
        const int w = std::max(widths[c], list->columnWidth(c) + 8);
        list->setColumnWidth(c, w);
        total += w;
    }
    list->resizeRowsToContents();
    const int frame = 2 * list->frameWidth();
    list->setFixedSize(total + frame,
                       list->horizontalHeader()->sizeHint().height() + list->verticalHeader()->length() + frame);
}

}  // namespace tolvani::display
