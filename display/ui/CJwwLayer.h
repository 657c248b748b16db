// The layer settings dialog "レイヤー設定": the layer groups on the left,
// the layers of the chosen group on the right. It shows and changes the
// copies held by a LayerRules; the caller copies them in before and back
// after OK.
#pragma once

#include <QDialog>

class QTableWidget;
class QPushButton;

namespace tolvani::display {

class LayerRules;

class CJwwLayer : public QDialog {
    Q_OBJECT
public:
    explicit CJwwLayer(LayerRules& rules, QWidget* parent = nullptr);

    QTableWidget* groupList() const { return groups_; }
    QTableWidget* layerList() const { return layers_; }

private:
    void Refill(unsigned what);
    void FillGroups();
    void FillLayers();
    void FitList(QTableWidget* list, const int* widths, int columns);

    LayerRules& rules_;
    QTableWidget* groups_;
    QTableWidget* layers_;
};

}  // namespace tolvani::display
