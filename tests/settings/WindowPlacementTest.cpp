#include <gtest/gtest.h>

#include "settings/WindowPlacement.h"

namespace tolvani::settings {
namespace {

TEST(WindowPlacement, AStoredPlaceIsUsedOnlyWhereItsTitleCanBeSeenAndGrabbed) {
    const std::vector<ScreenRect> two = {{0, 0, 1920, 1040}, {1920, 0, 3200, 1024}};
    const struct {
        const char* name;
        ScreenRect stored;
        bool used;
    } cases[] = {
        {"inside the first screen", {40, 50, 740, 550}, true},
        {"on the second screen", {2000, 100, 2800, 700}, true},
        {"across both", {1500, 100, 2300, 700}, true},
        {"mostly off the right edge, title still graspable", {3100, 100, 3900, 700}, true},
        {"beyond the right edge of all screens", {3300, 100, 4000, 700}, false},
        {"left of every screen", {-900, 100, -10, 700}, false},
        {"title above the screens", {100, -600, 800, -2}, false},
        {"title below the screens", {100, 1040, 800, 1600}, false},
        {"only the body on screen, title above", {100, -30, 800, 600}, false},
        {"a sliver of title narrower than a grip", {3170, 100, 3900, 700}, false},
        {"empty", {100, 100, 100, 600}, false},
        {"inverted", {800, 600, 100, 100}, false},
        {"nothing stored", {0, 0, 0, 0}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(PlacementOnScreens(c.stored, two), c.used) << c.name;
    EXPECT_FALSE(PlacementOnScreens({40, 50, 740, 550}, {})) << "no screen at all";
    // A window narrower than a grip is fine where all of its title shows.
    EXPECT_TRUE(PlacementOnScreens({10, 10, 40, 200}, two));
}

}  // namespace
}  // namespace tolvani::settings
