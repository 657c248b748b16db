// The rules of the layer settings dialog: copies of the layer states taken
// from the drawing, the clicks and buttons that change them, the texts of
// both lists, and the copy back on OK. The dialog window only shows this.
#pragma once

#include <cstdint>
#include <string>

#include "model/CJwwDoc.h"

namespace tolvani::display {

class LayerRules {
public:
    // The state word ("非表示", "表示", "編集", "書込"), or the number of a
    // state outside 0..3.
    static std::string StateText(uint32_t state);
    // The next state of a click or a button: 0 → 1 → 2 → 0; a state
    // outside 0..3 goes to 0. (State 3 is never cycled; callers skip it.)
    static uint32_t NextState(uint32_t state);
    // The scale column: "  1  /%5.0f" for a ≥ 1, "%3d   /   1" with 1/a
    // for 0 < a < 1; a value that cannot be divided by (0, below 0, not
    // finite, or so small that 1/a has no integer) keeps the first form.
    static std::string ScaleText(double scale);

    // Takes the copies from the drawing and makes the write layer group the
    // current group. The current layer and the two next states stay as they
    // were at the last opening.
    void CopyIn(const CJwwDoc& doc);
    // Writes the states, the groups' write layers and the write layer group
    // back. Returns true when any of them changed.
    bool CopyOut(CJwwDoc& doc) const;

    // Texts of the group list row g and the layer list row l (of the current
    // group), UTF-8.
    std::string GroupNameText(int g) const;
    std::string GroupStateText(int g) const { return StateText(groupState_[g]); }
    std::string GroupScaleText(int g) const { return ScaleText(groupScale_[g]); }
    std::string GroupCountText(int g) const;
    std::string LayerNameText(int l) const;
    std::string LayerStateText(int l) const { return StateText(layerState_[currentGroup_][l]); }
    std::string LayerCountText(int l) const;

    // What a click or button asks the dialog to fill again.
    enum Refill : unsigned { kRefillNone = 0, kRefillGroups = 1, kRefillLayers = 2 };

    // A click on row `row`, column `column` of the group list or of the layer
    // list; rows outside 0..15 do nothing.
    unsigned ClickGroup(int row, int column);
    unsigned ClickLayer(int row, int column);
    // The buttons "全グループ", "全レイヤー" and "書込レイヤー".
    unsigned AllGroups();
    unsigned AllLayers();
    unsigned WriteLayer();

    int currentGroup() const { return currentGroup_; }
    int currentLayer() const { return currentLayer_; }
    uint32_t groupState(int g) const { return groupState_[g]; }
    uint32_t layerState(int g, int l) const { return layerState_[g][l]; }
    uint32_t writeLayerGroup() const { return writeLayerGroup_; }
    uint32_t nextGroupState() const { return nextGroupState_; }
    uint32_t nextLayerState() const { return nextLayerState_; }

private:
    static bool InRange(int i) { return i >= 0 && i < kLayerGroups; }

    JwwString groupName_[kLayerGroups];
    JwwString layerName_[kLayerGroups][kLayers];
    uint32_t groupState_[kLayerGroups] = {};
    uint32_t layerState_[kLayerGroups][kLayers] = {};
    uint32_t groupWriteLayer_[kLayerGroups] = {};
    double groupScale_[kLayerGroups] = {};
    int groupCount_[kLayerGroups] = {};
    int layerCount_[kLayerGroups][kLayers] = {};
    uint32_t writeLayerGroup_ = 0;

    // Kept from one opening to the next.
    int currentGroup_ = 0;
    int currentLayer_ = 0;
    uint32_t nextGroupState_ = 0;
    uint32_t nextLayerState_ = 0;
};

}  // namespace tolvani::display
