#include "settings/WindowSettings.h"

namespace tolvani::settings {

const char* const WindowSettings::kSection = "Window";

namespace {

template <typename Settings, typename Int>
void ForEachValue(Settings& s, Int&& onInt) {
    onInt("left", s.left);
    onInt("top", s.top);
    onInt("right", s.right);
    onInt("bottom", s.bottom);
    onInt("show", s.show);
}

}  // namespace

void WindowSettings::Load(SettingsStore& store) {
    ForEachValue(*this, [&store](const char* name, int32_t& value) { value = store.GetInt(kSection, name, 0); });
}

void WindowSettings::Save(SettingsStore& store) const {
    ForEachValue(*this, [&store](const char* name, const int32_t& value) { store.PutInt(kSection, name, value); });
}

}  // namespace tolvani::settings
