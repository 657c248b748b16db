#include "display/LayerRules.h"

#include <cmath>
#include <cstdio>

namespace tolvani::display {

std::string LayerRules::StateText(uint32_t state) {
    switch (state) {
        case kHidden: return "非表示";
        case kShown: return "表示";
        case kEditable: return "編集";
        case kWrite: return "書込";
        default: return std::to_string(state);
    }
}

uint32_t LayerRules::NextState(uint32_t state) { return state < kEditable ? state + 1 : kHidden; }

std::string LayerRules::ScaleText(double a) {
    char buf[64];
    if (a > 0 && a < 1) {
        const double inverse = 1.0 / a;
        // Beyond this 1/a has no exact integer of its own; such a scale is
        // shown as its value like the others that cannot be divided by.
        if (inverse < 1e15) {
            std::snprintf(buf, sizeof buf, "%3lld   /   1", std::llround(inverse));
            return buf;
        }
    }
    std::snprintf(buf, sizeof buf, "  1  /%5.0f", a);
    return buf;
}

void LayerRules::CopyIn(const CJwwDoc& doc) {
    const CJwwHeader& h = doc.header;
    for (int g = 0; g < kLayerGroups; ++g) {
        const LayerGroup& grp = h.groups[g];
        groupName_[g] = grp.name;
        groupState_[g] = grp.state;
        groupWriteLayer_[g] = grp.writeLayer;
        groupScale_[g] = grp.scale;
        groupCount_[g] = doc.groupElementCount[g];
        for (int l = 0; l < kLayers; ++l) {
            layerName_[g][l] = grp.layerName[l];
            layerState_[g][l] = grp.layerState[l];
            layerCount_[g][l] = doc.layerElementCount[g][l];
        }
    }
    writeLayerGroup_ = h.writeLayerGroup;
    // A write layer group read from a file is not checked; one outside
    // 0..15 opens the dialog on group 0.
    currentGroup_ = writeLayerGroup_ < kLayerGroups ? static_cast<int>(writeLayerGroup_) : 0;
}

bool LayerRules::CopyOut(CJwwDoc& doc) const {
    CJwwHeader& h = doc.header;
    bool changed = h.writeLayerGroup != writeLayerGroup_;
    h.writeLayerGroup = writeLayerGroup_;
    for (int g = 0; g < kLayerGroups; ++g) {
        LayerGroup& grp = h.groups[g];
        changed = changed || grp.state != groupState_[g] || grp.writeLayer != groupWriteLayer_[g];
        grp.state = groupState_[g];
        grp.writeLayer = groupWriteLayer_[g];
        for (int l = 0; l < kLayers; ++l) {
            changed = changed || grp.layerState[l] != layerState_[g][l];
            grp.layerState[l] = layerState_[g][l];
        }
    }
    return changed;
}

namespace {

std::string Numbered(int i, const JwwString& name) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "[%X]", static_cast<unsigned>(i));
    return buf + name.toUtf8();
}

std::string Count(int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%6d", n);
    return buf;
}

}  // namespace

std::string LayerRules::GroupNameText(int g) const { return Numbered(g, groupName_[g]); }
std::string LayerRules::GroupCountText(int g) const { return Count(groupCount_[g]); }
std::string LayerRules::LayerNameText(int l) const { return Numbered(l, layerName_[currentGroup_][l]); }
std::string LayerRules::LayerCountText(int l) const { return Count(layerCount_[currentGroup_][l]); }

unsigned LayerRules::ClickGroup(int row, int column) {
    if (!InRange(row)) return kRefillNone;
    currentGroup_ = row;
    if (column == 1 && groupState_[row] != kWrite) {
        groupState_[row] = NextState(groupState_[row]);
        return kRefillLayers | kRefillGroups;
    }
    return kRefillLayers;
}

unsigned LayerRules::ClickLayer(int row, int column) {
    if (!InRange(row)) return kRefillNone;
    currentLayer_ = row;
    uint32_t& s = layerState_[currentGroup_][row];
    if (column == 1 && s != kWrite) {
        s = NextState(s);
        return kRefillLayers;
    }
    return kRefillNone;
}

unsigned LayerRules::AllGroups() {
    for (auto& s : groupState_)
        if (s != kWrite) s = nextGroupState_;
    nextGroupState_ = NextState(nextGroupState_);
    return kRefillGroups;
}

unsigned LayerRules::AllLayers() {
    for (auto& s : layerState_[currentGroup_])
        if (s != kWrite) s = nextLayerState_;
    nextLayerState_ = NextState(nextLayerState_);
    return kRefillLayers;
}

unsigned LayerRules::WriteLayer() {
    for (auto& s : groupState_)
        if (s == kWrite) s = kEditable;
    groupState_[currentGroup_] = kWrite;
    for (auto& s : layerState_[currentGroup_])
        if (s == kWrite) s = kEditable;
    layerState_[currentGroup_][currentLayer_] = kWrite;
    groupWriteLayer_[currentGroup_] = static_cast<uint32_t>(currentLayer_);
    writeLayerGroup_ = static_cast<uint32_t>(currentGroup_);
    return kRefillLayers | kRefillGroups;
}

}  // namespace tolvani::display
