#include "settings/AppSettings.h"

namespace tolvani::settings {

const char* const AppSettings::kSection = "Settings";

namespace {

// One walk over the values in their stored order, for reading and writing
// alike, so the two can never disagree about names, order or defaults.
// Flags are stored as the integers 0 and 1.
template <typename Settings, typename Int, typename Flag, typename Text>
void ForEachValue(Settings& s, bool embedded, Int&& onInt, Flag&& onFlag, Text&& onText) {
    onInt("ZubVersion", s.zubVersion, 100);
    onInt("CellLeft", s.table.cellLeft, 10);
    onInt("CellRight", s.table.cellRight, 10);
    onInt("CellTop", s.table.cellTop, 8);
    onInt("CellBottom", s.table.cellBottom, 6);
    onInt("GridStyle", s.table.gridStyle, 1);
    onInt("GridColor", s.table.gridColor, 2);
    onInt("CellTextType", s.table.cellTextType, 3);
    onInt("LayerGroup", s.table.layerGroup, 0);
    onInt("LayerLine", s.table.layerLine, 1);
    onInt("LayerText", s.table.layerText, 1);
    if (!embedded) onInt("DotSize", s.dotSize, 16);
    onText("JwwPath", s.jwwPath, "c:\\JWW\\Jw_win.exe");
    onInt("ObjEdit", s.objEdit, 1);
    onInt("ObjOutp", s.objOutp, 1);
    onInt("CellCone", s.cellCone, 0);
    onInt("CellGrig", s.cellGrig, 0);
    onFlag("CellLayer", s.table.cellLayer, false);
    onFlag("CellBlock", s.table.cellBlock, false);
    onInt("ZoomUp", s.zoomUp, 0);
}

}  // namespace

void AppSettings::Load(SettingsStore& store, bool embedded) {
    if (embedded) dotSize = 0;
    ForEachValue(
        *this, embedded,
        [&store](const char* name, int32_t& value, int32_t fallback) {
            value = store.GetInt(kSection, name, fallback);
        },
        [&store](const char* name, bool& value, bool fallback) {
            value = store.GetInt(kSection, name, fallback ? 1 : 0) != 0;
        },
        [&store](const char* name, std::string& value, const char* fallback) {
            value = store.GetString(kSection, name, fallback);
        });
}

void AppSettings::Save(SettingsStore& store, bool embedded) const {
    ForEachValue(
        *this, embedded,
        [&store](const char* name, const int32_t& value, int32_t) { store.PutInt(kSection, name, value); },
        [&store](const char* name, const bool& value, bool) { store.PutInt(kSection, name, value ? 1 : 0); },
        [&store](const char* name, const std::string& value, const char*) { store.PutString(kSection, name, value); });
}

}  // namespace tolvani::settings
