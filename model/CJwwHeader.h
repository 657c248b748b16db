// The drawing header: version, memo, paper size, layer groups and layers,
// colour, line-type and text-type tables, and the Jw_cad settings that the
// program carries through unchanged.
#pragma once

#include <cstdint>
#include <string>

#include "model/JwwString.h"

namespace tolvani {

class JwwStream;

inline constexpr int kLayerGroups = 16;
inline constexpr int kLayers = 16;
inline constexpr int kColorEntries = 357;
inline constexpr int kLineTypeEntries = 63;
inline constexpr int kTextTypes = 10;
inline constexpr int kDashDefinitions = 20;

// Layer and layer group states.
enum LayerState : uint32_t { kHidden = 0, kShown = 1, kEditable = 2, kWrite = 3 };

struct LayerGroup {
    uint32_t state = 0;
    uint32_t writeLayer = 0;
    double scale = 0;  // denominator n of 1/n
    uint32_t protect = 0;
    uint32_t layerState[kLayers] = {};
    uint32_t layerProtect[kLayers] = {};
    JwwString layerName[kLayers];
    JwwString name;
};

// One line-type dash definition (held only, never stored).
struct DashDefinition {
    std::string name;  // code page 932
    int segmentCount = 0;
    int segments[64] = {};
    uint8_t flag = 0;
};

class CJwwHeader {
public:
    CJwwHeader() = default;

    // Gives every field the value a new drawing has.
    void SetNewDrawingDefaults();

    // Reads or writes the header record. Returns false when a file older
    // than version 420 was met (nothing after the version is read). Bytes
    // that do not start with "JwwData." raise JwwNotDrawingError.
    bool Serialize(JwwStream& ar);

    static constexpr uint32_t kOldestVersion = 420;
    static constexpr uint32_t kNewDrawingVersion = 600;

    bool valid = false;

    uint32_t version = 0;
    JwwString memo;
    uint32_t paperSize = 0;
    uint32_t writeLayerGroup = 0;
    LayerGroup groups[kLayerGroups];

    // The four points of the record (read, always written as zeros).
    struct {
        double x = 0, y = 0;
    } points[4];

    // Settings carried through, named by their place in the record.
    uint32_t settings8[5] = {};
    uint32_t setting10 = 0;
    double setting12 = 0;
    uint32_t settings13[2] = {};
    double setting14 = 0;
    double settings15[2] = {};
    double settings19a[2] = {};
    uint32_t setting19b = 0;
    double setting19c = 0;
    double setting20a = 0;
    double setting20bHeld = 0;  // the stored value × 0.5
    uint32_t setting21 = 0;
    double setting22 = 0;
    double setting24 = 0;
    struct Record26 {
        double scale = 0, x = 0, y = 0;
        uint32_t value = 0;
    } records26[8];
    double settings27a[3] = {};
    uint32_t setting27b = 0;
    double settings27c[3] = {};
    uint32_t setting27d = 0;
    double settings28[11] = {};

    // Colour table, entries 0..356 (0..9 and 100..356 stored; 10..12 held).
    uint32_t color[kColorEntries] = {};
    uint32_t colorWidth[kColorEntries] = {};
    uint32_t color2[kColorEntries] = {};
    uint32_t colorWidth2[kColorEntries] = {};
    double colorRadius[kColorEntries] = {};
    JwwString colorName[kColorEntries];

    // Line-type table, entries 0..62.
    uint32_t linePattern[kLineTypeEntries] = {};
    uint32_t lineDots[kLineTypeEntries] = {};  // amplitude for random types 11..15
    uint32_t linePitch[kLineTypeEntries] = {};
    uint32_t linePitch2[kLineTypeEntries] = {};
    uint32_t randomAmplitude2[kLineTypeEntries] = {};
    JwwString lineName[kLineTypeEntries];
    uint32_t lineSegmentCount[kLineTypeEntries] = {};
    double lineSegments[kLineTypeEntries][10] = {};

    // Jw_cad settings 1..16 (rows 34..39); index 0 unused.
    uint32_t jwSettings[17] = {};
    double settings40[9] = {};
    uint32_t settings41[2] = {};

    // Text types 1..10 (index 0 unused).
    double textWidth[kTextTypes + 1] = {};
    double textHeight[kTextTypes + 1] = {};
    double textSpacing[kTextTypes + 1] = {};
    uint32_t textColor[kTextTypes + 1] = {};

    double textSettings47[3] = {};
    uint32_t textSettings47b[2] = {};
    double settings48[2] = {};
    uint32_t setting49 = 0;
    double settings50[6] = {};

    DashDefinition dashes[kDashDefinitions];
};

}  // namespace tolvani
