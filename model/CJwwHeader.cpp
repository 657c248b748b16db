#include "model/CJwwHeader.h"

#include <algorithm>
#include <cstring>

#include "model/JwwStream.h"

namespace tolvani {
namespace {

// Moves one held value through the stream in either direction.
class Io {
public:
    explicit Io(JwwStream& ar) : ar_(ar), storing_(ar.IsStoring()) {}
    bool storing() const { return storing_; }

    void operator()(uint32_t& v) {
        if (storing_)
            ar_.PutDword(v);
        else
            v = ar_.GetDword();
    }
    void operator()(double& v) {
        if (storing_)
            ar_.PutDouble(v);
        else
            v = ar_.GetDouble();
    }
    void operator()(JwwString& s) {
        if (storing_)
            ar_.PutString(s);
        else
            ar_.GetString(s);
    }
    template <class T, std::size_t N>
    void operator()(T (&a)[N]) {
        for (auto& v : a) (*this)(v);
    }
    // A value that is written as `written` and whose read value is dropped.
    void Fixed(uint32_t written) {
        if (storing_)
            ar_.PutDword(written);
        else
            (void)ar_.GetDword();
    }
    void Fixed(double written) {
        if (storing_)
            ar_.PutDouble(written);
        else
            (void)ar_.GetDouble();
    }
    // A value that is read into `held` but always written as `written`.
    template <class T>
    void HeldWrittenAs(T& held, T written) {
        if (storing_)
            (*this)(written);
        else
            (*this)(held);
    }

private:
    JwwStream& ar_;
    bool storing_;
};

const uint32_t kDefaultColors[13] = {0xFFFFFF, 0xC0C000, 0x000000, 0x00C000, 0x00C0C0, 0xC000C0, 0xFF0000,
                                     0x808000, 0x8000FF, 0xC0C0C0, 0xFF80FF, 0xFF00FF, 0x0000FF};
const uint32_t kDefaultWidths2[10] = {1, 1, 2, 3, 4, 5, 6, 7, 8, 1};
const uint32_t kDefaultPatterns[10] = {0x55555555, 0xFFFFFFFF, 0x99999999, 0xC3C3C3C3, 0xE7E7E7E7,
                                       0xF99FF99F, 0xFFF99FFF, 0xF24FF24F, 0xFFF24FFF, 0x22222222};
const uint32_t kDefaultDots[10] = {2, 1, 4, 8, 8, 16, 32, 16, 32, 4};
const double kDefaultTextSize[kTextTypes + 1] = {0, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0};
const double kDefaultTextSpacing[kTextTypes + 1] = {0, 0.0, 0.0, 0.5, 0.5, 0.5, 0.5, 1.0, 1.0, 1.0, 1.0};
const uint32_t kDefaultTextColor[kTextTypes + 1] = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5};

struct DashDefault {
    const char* name;
    std::initializer_list<int> segments;
    uint8_t flag;
};

}  // namespace

void CJwwHeader::SetNewDrawingDefaults() {
    *this = CJwwHeader();
    version = kNewDrawingVersion;
    paperSize = 4;
    writeLayerGroup = 0;
    for (int g = 0; g < kLayerGroups; ++g) {
        LayerGroup& grp = groups[g];
        grp.state = g == 0 ? kWrite : kEditable;
        grp.writeLayer = 15;
        grp.scale = 1.0;
        for (int l = 0; l < kLayers; ++l) grp.layerState[l] = l == 15 ? kWrite : kEditable;
    }
    setting10 = 10;
    setting12 = 1.0;
    setting14 = 1.0;
    settings15[0] = settings15[1] = 10.0;
    settings19a[0] = settings19a[1] = 1.0;
    setting19b = 1;
    setting19c = 1.0;
    setting20a = 1.0;
    setting20bHeld = 1.0;
    setting21 = 1;
    setting22 = 1.0;
    setting24 = 1.0;
    for (auto& r : records26) r = Record26{1.0, 0, 0, 0};
    std::fill(std::begin(settings28), std::end(settings28), 1.0);
    for (int i = 0; i <= 12; ++i) {
        color[i] = kDefaultColors[i];
        colorWidth[i] = 1;
    }
    for (int i = 0; i < 10; ++i) {
        color2[i] = 1;
        colorWidth2[i] = kDefaultWidths2[i];
        colorRadius[i] = 1.0;
    }
    for (int i = 0; i < 10; ++i) {
        linePattern[i] = kDefaultPatterns[i];
        lineDots[i] = kDefaultDots[i];
        linePitch[i] = 1;
        linePitch2[i] = 1;
    }
    for (int i = 11; i <= 19; ++i) {
        linePattern[i] = lineDots[i] = linePitch[i] = linePitch2[i] = 1;
        if (i <= 15) randomAmplitude2[i] = 1;
    }
    jwSettings[1] = 1;
    jwSettings[2] = 1;
    jwSettings[12] = 100;
    std::fill(std::begin(settings40), std::end(settings40), 1.0);
    settings41[0] = settings41[1] = 1;
    for (int t = 1; t <= kTextTypes; ++t) {
        textWidth[t] = textHeight[t] = kDefaultTextSize[t];
        textSpacing[t] = kDefaultTextSpacing[t];
        textColor[t] = kDefaultTextColor[t];
    }
    textSettings47[0] = 5.0;
    textSettings47[1] = 5.0;
    textSettings47[2] = 0.0;
    textSettings47b[0] = textSettings47b[1] = 1;
    settings48[0] = 1.0;
    settings48[1] = 10.0;

    const DashDefault dashes_[] = {
        {"\x98\x67\x90\xfc", {}, 1},                       // 枠線
        {"\x90\xfc\x8e\xed\x82\x50", {}, 1},               // 線種１
        {"\x90\xfc\x8e\xed\x82\x51", {1, 2, 1}, 0},        // 線種２
        {"\x90\xfc\x8e\xed\x82\x52", {2, 4, 2}, 0},        // 線種３
        {"\x90\xfc\x8e\xed\x82\x53", {3, 2, 3}, 0},        // 線種４
        {"\x90\xfc\x8e\xed\x82\x54", {5, 2, 2, 2, 5}, 0},  // 線種５
        {"\x90\xfc\x8e\xed\x82\x55", {13, 2, 2, 2, 13}, 0},
        {"\x90\xfc\x8e\xed\x82\x56", {4, 2, 1, 2, 1, 2, 4}, 0},
        {"\x90\xfc\x8e\xed\x82\x57", {12, 2, 1, 2, 1, 2, 12}, 0},
        {"\x95\xe2\x8f\x95\x90\xfc\x8e\xed", {1, 3}, 0},  // 補助線種
    };
    for (int i = 0; i < 10; ++i) {
        dashes[i].name = dashes_[i].name;
        dashes[i].flag = dashes_[i].flag;
        dashes[i].segmentCount = static_cast<int>(dashes_[i].segments.size());
        std::copy(dashes_[i].segments.begin(), dashes_[i].segments.end(), dashes[i].segments);
    }
    const char* const doubleLength[4] = {
        "\x94\x7b\x92\xb7\x90\xfc\x8e\xed\x82\x50", "\x94\x7b\x92\xb7\x90\xfc\x8e\xed\x82\x51",
        "\x94\x7b\x92\xb7\x90\xfc\x8e\xed\x82\x52", "\x94\x7b\x92\xb7\x90\xfc\x8e\xed\x82\x53"};
    for (int i = 0; i < 4; ++i) dashes[16 + i].name = doubleLength[i];  // 倍長線種１..４
}

bool CJwwHeader::Serialize(JwwStream& ar) {
    Io io(ar);
    if (io.storing()) {
        ar.PutBytes("JwwData.", 8);
        ar.PutDword(version);
    } else {
        valid = false;
        // Bytes that start otherwise are no drawing, however the rest reads;
        // a start cut short is the end of the file.
        char signature[8];
        const std::size_t got = ar.GetBytes(signature, 8);
        if (std::memcmp(signature, "JwwData.", got) != 0) throw JwwNotDrawingError();
        if (got != 8) throw JwwEndOfFileError();
        version = ar.GetDword();
        if (version < kOldestVersion) return false;
    }
    io(memo);                 // 3
    io(paperSize);            // 4
    io(writeLayerGroup);      // 5
    for (auto& g : groups) {  // 6
        io(g.state);
        io(g.writeLayer);
        io(g.scale);
        io(g.protect);
        for (int l = 0; l < kLayers; ++l) {
            io(g.layerState[l]);
            io(g.layerProtect[l]);
        }
    }
    for (int i = 0; i < 14; ++i) io.Fixed(0u);  // 7
    io(settings8);                              // 8
    io.Fixed(0u);                               // 9
    io(setting10);                              // 10
    io.HeldWrittenAs(points[0].x, 0.0);         // 11
    io.HeldWrittenAs(points[0].y, 0.0);
    io(setting12);                       // 12
    io(settings13);                      // 13
    io(setting14);                       // 14
    io(settings15);                      // 15
    io.HeldWrittenAs(points[1].x, 0.0);  // 16
    io.HeldWrittenAs(points[1].y, 0.0);
    for (auto& g : groups) io(g.layerName);  // 17
    for (auto& g : groups) io(g.name);       // 18
    io(settings19a);                         // 19
    io(setting19b);
    io(setting19c);
    io(setting20a);  // 20
    if (io.storing()) {
        ar.PutDouble(setting20bHeld * 2);
    } else {
        setting20bHeld = ar.GetDouble() * 0.5;
    }
    io(setting21);                       // 21
    io(setting22);                       // 22
    io.HeldWrittenAs(points[2].x, 0.0);  // 23
    io.HeldWrittenAs(points[2].y, 0.0);
    io(setting24);                       // 24
    io.HeldWrittenAs(points[3].x, 0.0);  // 25
    io.HeldWrittenAs(points[3].y, 0.0);
    for (auto& r : records26) {  // 26
        io(r.scale);
        io(r.x);
        io(r.y);
        io(r.value);
    }
    io(settings27a);  // 27
    io(setting27b);
    io(settings27c);
    io(setting27d);
    io(settings28);                 // 28
    for (int i = 0; i < 10; ++i) {  // 29
        io(color[i]);
        io(colorWidth[i]);
    }
    for (int i = 0; i < 10; ++i) {  // 30
        io(color2[i]);
        io(colorWidth2[i]);
        io(colorRadius[i]);
    }
    for (int i = 2; i <= 9; ++i) {  // 31
        io(linePattern[i]);
        io(lineDots[i]);
        io(linePitch[i]);
        io(linePitch2[i]);
    }
    for (int i = 11; i <= 15; ++i) {  // 32
        io(linePattern[i]);
        io(lineDots[i]);
        io(linePitch[i]);
        io(randomAmplitude2[i]);
        io(linePitch2[i]);
    }
    for (int i = 16; i <= 19; ++i) {  // 33
        io(linePattern[i]);
        io(lineDots[i]);
        io(linePitch[i]);
        io(linePitch2[i]);
    }
    for (int i = 1; i <= 9; ++i) io(jwSettings[i]);         // 34
    io.HeldWrittenAs(jwSettings[10], 0u);                   // 35
    io.HeldWrittenAs(jwSettings[11], jwSettings[11] + 20);  // 36
    io.HeldWrittenAs(jwSettings[12], 0u);                   // 37
    io(jwSettings[13]);                                     // 38
    for (int i = 14; i <= 16; ++i) {                        // 39
        if (io.storing()) {
            ar.PutDword(jwSettings[i] * 100);
        } else {
            jwSettings[i] = ar.GetDword() / 100;
        }
    }
    io(settings40);                       // 40
    io.HeldWrittenAs(settings41[0], 0u);  // 41
    io.HeldWrittenAs(settings41[1], 0u);
    for (int i = 100; i < kColorEntries; ++i) {  // 42
        io(color[i]);
        io(colorWidth[i]);
    }
    for (int i = 100; i < kColorEntries; ++i) {  // 43
        io(colorName[i]);
        io(color2[i]);
        io(colorWidth2[i]);
        io(colorRadius[i]);
    }
    for (int i = 30; i < kLineTypeEntries; ++i) {  // 44
        io(linePattern[i]);
        io(lineDots[i]);
        io(linePitch[i]);
        io(linePitch2[i]);
    }
    for (int i = 30; i < kLineTypeEntries; ++i) {  // 45
        io(lineName[i]);
        io(lineSegmentCount[i]);
        io(lineSegments[i]);
    }
    for (int t = 1; t <= kTextTypes; ++t) {  // 46
        io(textWidth[t]);
        io(textHeight[t]);
        io(textSpacing[t]);
        io(textColor[t]);
    }
    io(textSettings47);  // 47
    io(textSettings47b);
    io(settings48);  // 48
    io(setting49);   // 49
    io(settings50);  // 50
    if (!io.storing()) valid = true;
    return true;
}

}  // namespace tolvani
