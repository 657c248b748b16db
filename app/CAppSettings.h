// The program's settings of section "Settings": read when the document is
// created, written back when it is destroyed, always in the same order.
#pragma once

#include <cstdint>
#include <string>

#include "app/SettingsStore.h"

namespace tolvani {

struct CAppSettings {
    int32_t zubVersion = 100;
    int32_t cellLeft = 10;
    int32_t cellRight = 10;
    int32_t cellTop = 8;
    int32_t cellBottom = 6;
    int32_t gridStyle = 1;
    int32_t gridColor = 2;
    int32_t cellTextType = 3;
    int32_t layerGroup = 0;
    int32_t layerLine = 1;
    int32_t layerText = 1;
    int32_t dotSize = 16;
    std::string jwwPath = "c:\\JWW\\Jw_win.exe";
    int32_t objEdit = 1;
    int32_t objOutp = 1;
    int32_t cellCone = 0;
    int32_t cellGrig = 0;
    int32_t cellLayer = 0;
    int32_t cellBlock = 0;
    int32_t zoomUp = 0;

    static const char* const kSection;

    // Reads every value with its default. DotSize is read only in a
    // stand-alone run; an embedded run leaves it at 0 until the object's
    // data sets it.
    void Load(CSettingsStore& store, bool embedded);
    // Writes every value back in the same order; DotSize only in a
    // stand-alone run.
    void Save(CSettingsStore& store, bool embedded) const;
};

}  // namespace tolvani
