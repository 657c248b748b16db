// Section "Window": the main window's placement in a stand-alone run, read
// when the window is created and written when it closes, by one walk.
#pragma once

#include <cstdint>

#include "settings/SettingsStore.h"

namespace tolvani::settings {

struct WindowSettings {
    // The normal (neither minimised nor maximised) rectangle, screen
    // coordinates; right and bottom exclusive. All 0: none stored.
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    // The show state when the window closed: 1 normal, 2 minimised,
    // 3 maximised (0: none stored).
    int32_t show = 0;

    enum Show : int32_t { kNormal = 1, kMinimized = 2, kMaximized = 3 };

    static const char* const kSection;

    void Load(SettingsStore& store);
    void Save(SettingsStore& store) const;

    bool HasRectangle() const { return right > left && bottom > top; }
};

}  // namespace tolvani::settings
