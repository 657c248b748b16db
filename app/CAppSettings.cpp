#include "app/CAppSettings.h"

namespace tolvani {

const char* const CAppSettings::kSection = "Settings";

namespace {

// One walk over the values in their stored order, for reading and writing
// alike, so the two can never disagree about names, order or defaults.
template <typename Settings, typename Int, typename Text>
void ForEachValue(Settings& s, bool embedded, Int&& onInt, Text&& onText) {
    onInt("ZubVersion", s.zubVersion, 100);
    onInt("CellLeft", s.cellLeft, 10);
    onInt("CellRight", s.cellRight, 10);
    onInt("CellTop", s.cellTop, 8);
    onInt("CellBottom", s.cellBottom, 6);
    onInt("GridStyle", s.gridStyle, 1);
    onInt("GridColor", s.gridColor, 2);
    onInt("CellTextType", s.cellTextType, 3);
    onInt("LayerGroup", s.layerGroup, 0);
    onInt("LayerLine", s.layerLine, 1);
    onInt("LayerText", s.layerText, 1);
    if (!embedded) onInt("DotSize", s.dotSize, 16);
    onText("JwwPath", s.jwwPath, "c:\\JWW\\Jw_win.exe");
    onInt("ObjEdit", s.objEdit, 1);
    onInt("ObjOutp", s.objOutp, 1);
    onInt("CellCone", s.cellCone, 0);
    onInt("CellGrig", s.cellGrig, 0);
    onInt("CellLayer", s.cellLayer, 0);
    onInt("CellBlock", s.cellBlock, 0);
    onInt("ZoomUp", s.zoomUp, 0);
}

}  // namespace

void CAppSettings::Load(CSettingsStore& store, bool embedded) {
    if (embedded) dotSize = 0;
    ForEachValue(
        *this, embedded,
        [&store](const char* name, int32_t& value, int32_t fallback) {
            value = store.GetInt(kSection, name, fallback);
        },
        [&store](const char* name, std::string& value, const char* fallback) {
            value = store.GetString(kSection, name, fallback);
        });
}

void CAppSettings::Save(CSettingsStore& store, bool embedded) const {
    ForEachValue(
        *this, embedded,
        [&store](const char* name, const int32_t& value, int32_t) { store.PutInt(kSection, name, value); },
        [&store](const char* name, const std::string& value, const char*) {
            store.PutString(kSection, name, value);
        });
}

}  // namespace tolvani
