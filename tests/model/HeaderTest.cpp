// The header record, row by row: a fixture written independently of the
// reader, with a distinct value in every field, read and written back.
#include <gtest/gtest.h>

#include "model/CJwwDoc.h"
#include "model/JwwStream.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::Bytes;
using test::ByteWriter;

// Writes the 50 rows. Every dword and double gets the next number of a
// counter, every string "s<n>". With `asSaved`, the values a save writes
// instead (zeros, row 36 + 20, row 39 rounded down to hundreds).
class HeaderFixture {
public:
    explicit HeaderFixture(bool asSaved, uint32_t version = 700) : saved_(asSaved) {
        w_.text("JwwData.").u32(version);
        s();                            // 3 memo
        d();                            // 4 paper size
        d();                            // 5 write layer group
        for (int g = 0; g < 16; ++g) {  // 6
            d();
            d();
            f();
            d();
            for (int l = 0; l < 16; ++l) {
                d();
                d();
            }
        }
        for (int i = 0; i < 14; ++i) d(true);  // 7
        for (int i = 0; i < 5; ++i) d();       // 8
        d(true);                               // 9
        d();                                   // 10
        f(true);
        f(true);  // 11
        f();      // 12
        d();
        d();  // 13
        f();  // 14
        f();
        f();  // 15
        f(true);
        f(true);                            // 16
        for (int i = 0; i < 256; ++i) s();  // 17
        for (int i = 0; i < 16; ++i) s();   // 18
        f();
        f();
        d();
        f();          // 19
        f();          // 20 A
        w_.f64(7.0);  // 20 B (held as 3.5, written as 7.0)
        d();          // 21
        f();          // 22
        f(true);
        f(true);  // 23
        f();      // 24
        f(true);
        f(true);  // 25
        for (int i = 0; i < 8; ++i) {
            f();
            f();
            f();
            d();
        }  // 26
        f();
        f();
        f();
        d();
        f();
        f();
        f();
        d();                               // 27
        for (int i = 0; i < 11; ++i) f();  // 28
        for (int i = 0; i < 10; ++i) {
            d();
            d();
        }  // 29
        for (int i = 0; i < 10; ++i) {
            d();
            d();
            f();
        }                                     // 30
        for (int i = 0; i < 8 * 4; ++i) d();  // 31
        for (int i = 0; i < 5 * 5; ++i) d();  // 32
        for (int i = 0; i < 4 * 4; ++i) d();  // 33
        for (int i = 0; i < 9; ++i) d();      // 34
        d(true);                              // 35
        w_.u32(saved_ ? 3 + 20 : 3);          // 36
        d(true);                              // 37
        d();                                  // 38
        w_.u32(saved_ ? 4500 : 4567);         // 39
        w_.u32(0);
        w_.u32(9000);
        for (int i = 0; i < 9; ++i) f();  // 40
        d(true);
        d(true);  // 41
        for (int i = 0; i < 257; ++i) {
            d();
            d();
        }  // 42
        for (int i = 0; i < 257; ++i) {
            s();
            d();
            d();
            f();
        }                                      // 43
        for (int i = 0; i < 33 * 4; ++i) d();  // 44
        for (int i = 0; i < 33; ++i) {
            s();
            d();
            for (int k = 0; k < 10; ++k) f();
        }  // 45
        for (int i = 0; i < 10; ++i) {
            f();
            f();
            f();
            d();
        }  // 46
        f();
        f();
        f();
        d();
        d();  // 47
        f();
        f();                              // 48
        d();                              // 49
        for (int i = 0; i < 6; ++i) f();  // 50
    }
    const Bytes& bytes() const { return w_.bytes; }

private:
    void d(bool zeroWhenSaved = false) {
        ++n_;
        w_.u32(saved_ && zeroWhenSaved ? 0 : n_);
    }
    void f(bool zeroWhenSaved = false) {
        ++n_;
        w_.f64(saved_ && zeroWhenSaved ? 0.0 : n_ + 0.5);
    }
    void s() {
        // A mix of short, Japanese and long names.
        ++n_;
        std::string text = "s" + std::to_string(n_);
        if (n_ % 7 == 0) text += "\x93\xfa\x96\x7b";  // 日本
        if (n_ % 101 == 0) text += std::string(300, 'x');
        w_.u8(text.size() < 255 ? static_cast<uint8_t>(text.size()) : 0xFF);
        if (text.size() >= 255) w_.u16(static_cast<uint16_t>(text.size()));
        w_.text(text);
    }
    ByteWriter w_;
    bool saved_;
    uint32_t n_ = 0;
};

TEST(Header, EveryRowReadAndWrittenBackByItsRule) {
    const Bytes file = HeaderFixture(false).bytes();
    CJwwHeader h;
    h.SetNewDrawingDefaults();
    JwwStream in(file.data(), file.size());
    ASSERT_TRUE(h.Serialize(in));
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_TRUE(h.valid);
    EXPECT_EQ(h.version, 700u);
    EXPECT_EQ(h.setting20bHeld, 3.5);
    EXPECT_EQ(h.jwSettings[11], 3u);
    EXPECT_EQ(h.jwSettings[14], 45u);
    EXPECT_EQ(h.jwSettings[15], 0u);
    EXPECT_EQ(h.jwSettings[16], 90u);
    EXPECT_EQ(h.memo.bytes(), "s1");
    EXPECT_EQ(h.paperSize, 2u);
    EXPECT_EQ(h.writeLayerGroup, 3u);
    EXPECT_EQ(h.groups[0].state, 4u);
    EXPECT_EQ(h.groups[0].scale, 6.5);

    Bytes once;
    {
        JwwStream out(once);
        h.Serialize(out);
    }
    EXPECT_EQ(test::FirstDifference(once, HeaderFixture(true).bytes()), -1);

    // Row 36 rises by 20 on every save; every other row stays.
    CJwwHeader h2;
    JwwStream in2(once.data(), once.size());
    ASSERT_TRUE(h2.Serialize(in2));
    Bytes twice;
    {
        JwwStream out(twice);
        h2.Serialize(out);
    }
    ASSERT_EQ(twice.size(), once.size());
    std::size_t differing = 0, at = 0;
    for (std::size_t i = 0; i < once.size(); ++i)
        if (once[i] != twice[i]) ++differing, at = i;
    EXPECT_EQ(differing, 1u);
    EXPECT_EQ(twice[at], 43);
}

TEST(Header, WritingChangesNothingHeld) {
    const Bytes file = HeaderFixture(false).bytes();
    CJwwHeader h;
    JwwStream in(file.data(), file.size());
    h.Serialize(in);
    Bytes a, b;
    {
        JwwStream out(a);
        h.Serialize(out);
    }
    {
        JwwStream out(b);
        h.Serialize(out);
    }
    EXPECT_EQ(a, b);
}

TEST(Header, OldVersionsStopAfterTheVersion) {
    for (uint32_t version : {0u, 300u, 419u}) {
        const Bytes file = HeaderFixture(false, version).bytes();
        CJwwHeader h;
        h.SetNewDrawingDefaults();
        JwwStream in(file.data(), file.size());
        EXPECT_FALSE(h.Serialize(in));
        EXPECT_FALSE(h.valid);
        EXPECT_EQ(h.version, version);
        EXPECT_EQ(in.Remaining(), file.size() - 12);
        EXPECT_EQ(h.paperSize, 4u);  // untouched
    }
    const Bytes file = HeaderFixture(false, 420).bytes();
    CJwwHeader h;
    JwwStream in(file.data(), file.size());
    EXPECT_TRUE(h.Serialize(in));
}

TEST(Header, NewDrawingDefaultsAsSaved) {
    const Bytes bytes = test::NewDrawingHeaderBytes();
    CJwwHeader h;
    JwwStream in(bytes.data(), bytes.size());
    ASSERT_TRUE(h.Serialize(in));
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "JwwData.");
    EXPECT_EQ(h.version, 600u);
    EXPECT_EQ(h.paperSize, 4u);
    EXPECT_EQ(h.writeLayerGroup, 0u);
    for (int g = 0; g < kLayerGroups; ++g) {
        EXPECT_EQ(h.groups[g].state, g == 0 ? 3u : 2u);
        EXPECT_EQ(h.groups[g].writeLayer, 15u);
        EXPECT_EQ(h.groups[g].scale, 1.0);
        for (int l = 0; l < kLayers; ++l) EXPECT_EQ(h.groups[g].layerState[l], l == 15 ? 3u : 2u);
    }
    const uint32_t colors[10] = {0xFFFFFF, 0xC0C000, 0x000000, 0x00C000, 0x00C0C0,
                                 0xC000C0, 0xFF0000, 0x808000, 0x8000FF, 0xC0C0C0};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(h.color[i], colors[i]) << i;
    EXPECT_EQ(h.linePattern[5], 0xF99FF99Fu);
    EXPECT_EQ(h.lineDots[6], 32u);
    EXPECT_EQ(h.textHeight[7], 7.0);
    EXPECT_EQ(h.textSpacing[3], 0.5);
    EXPECT_EQ(h.textColor[10], 5u);
    EXPECT_EQ(h.colorWidth2[4], 4u);
    EXPECT_EQ(h.jwSettings[12], 0u);  // 100 held, written as 0
    EXPECT_EQ(h.jwSettings[11], 20u);
    // Entries the file does not carry keep the constructed value on reading.
    EXPECT_EQ(h.color[10], 0u);
    CJwwHeader defaults;
    defaults.SetNewDrawingDefaults();
    EXPECT_EQ(defaults.color[10], 0xFF80FFu);
    EXPECT_EQ(defaults.color[12], 0x0000FFu);
    EXPECT_EQ(defaults.lineSegmentCount[30], 0u);
    EXPECT_EQ(defaults.dashes[7].segmentCount, 7);
    EXPECT_EQ(defaults.dashes[9].name, "\x95\xe2\x8f\x95\x90\xfc\x8e\xed");
}

TEST(Header, CutAnywhereIsEndOfFile) {
    const Bytes file = HeaderFixture(false).bytes();
    for (std::size_t cut = 0; cut < file.size(); cut += 97) {
        CJwwHeader h;
        JwwStream in(file.data(), cut);
        EXPECT_THROW(h.Serialize(in), JwwEndOfFileError) << cut;
        EXPECT_FALSE(h.valid);
    }
}

}  // namespace
}  // namespace tolvani
