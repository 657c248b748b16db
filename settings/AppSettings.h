// The program's settings of section "Settings": read when the document is
// created, written back when it is destroyed, always in the same order.
#pragma once

#include <cstdint>
#include <string>

#include "settings/SettingsStore.h"
#include "table/TableOptions.h"

namespace tolvani::settings {

struct AppSettings {
    int32_t zubVersion = 100;
    // CellLeft … LayerText, CellLayer and CellBlock: the table import's
    // options, which the import works on directly. The block name is not
    // stored; it lasts for the run.
    TableOptions table;
    int32_t dotSize = 16;
    std::string jwwPath = "c:\\JWW\\Jw_win.exe";
    int32_t objEdit = 1;
    int32_t objOutp = 1;
    int32_t cellCone = 0;
    int32_t cellGrig = 0;
    int32_t zoomUp = 0;

    static const char* const kSection;

    // Reads every value with its default. DotSize is read only in a
    // stand-alone run; an embedded run leaves it at 0 until the object's
    // data sets it.
    void Load(SettingsStore& store, bool embedded);
    // Writes every value back in the same order; DotSize only in a
    // stand-alone run.
    void Save(SettingsStore& store, bool embedded) const;
};

}  // namespace tolvani::settings
