// Records of the element classes: sizes, the held-versus-written rules and
// the round trip of every field.
#include <gtest/gtest.h>

#include <cmath>

#include "model/CData.h"
#include "model/JwwStream.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::Bytes;
using test::ByteWriter;

Bytes Record(CData& e) {
    Bytes out;
    {
        JwwStream ar(out);
        e.Serialize(ar);
    }
    return out;
}

template <class T>
T ReadRecord(const Bytes& bytes, std::size_t* leftover = nullptr) {
    T e;
    JwwStream ar(bytes.data(), bytes.size());
    e.Serialize(ar);
    if (leftover) *leftover = ar.Remaining();
    return e;
}

ByteWriter Common(uint32_t group, uint8_t lineType, uint16_t color, uint16_t width, uint16_t layer, uint16_t layerGroup,
                  uint16_t flag) {
    ByteWriter w;
    w.u32(group).u8(lineType).u16(color).u16(width).u16(layer).u16(layerGroup).u16(flag);
    return w;
}

TEST(ElementRecords, CommonFieldsInRecordOrder) {
    CDataSen line;
    line.groupValue = 0x01020304;
    line.lineType = 5;
    line.color = 6;
    line.width = 7;
    line.layer = 8;
    line.layerGroup = 9;
    line.flag = 0x0A0B;
    line.start = {1.5, -2.5};
    line.end = {3, 4};
    const Bytes expected = Common(0x01020304, 5, 6, 7, 8, 9, 0x0A0B).f64(1.5).f64(-2.5).f64(3).f64(4).bytes;
    EXPECT_EQ(Record(line), expected);
    const auto back = ReadRecord<CDataSen>(expected);
    EXPECT_EQ(back.groupValue, 0x01020304u);
    EXPECT_EQ(back.flag, 0x0A0B);
    EXPECT_EQ(back.end.y, 4);
}

TEST(ElementRecords, TextTypeAndStyleShareOneValue) {
    struct Case {
        uint32_t stored;
        uint32_t type, style;
        uint32_t written;
    };
    const Case cases[] = {
        {5, 5, 0, 5},         {10005, 5, 1, 10005}, {20005, 5, 2, 20005},
        {30005, 5, 3, 30005}, {40005, 5, 4, 5},  // only bits 0 and 1 of the style survive a save
        {70003, 3, 7, 30003},
    };
    for (const auto& c : cases) {
        const Bytes stored = Common(0, 1, 2, 9, 0, 0, 0)
                                 .f64(0)
                                 .f64(0)
                                 .f64(10)
                                 .f64(0)
                                 .u32(c.stored)
                                 .f64(3)
                                 .f64(3)
                                 .f64(0.5)
                                 .f64(0)
                                 .str("font")
                                 .str("text")
                                 .bytes;
        auto text = ReadRecord<CDataMoji>(stored);
        EXPECT_EQ(text.textType, c.type) << c.stored;
        EXPECT_EQ(text.style, c.style) << c.stored;
        const Bytes written = Record(text);
        uint32_t value;
        std::memcpy(&value, &written[47], 4);
        EXPECT_EQ(value, c.written) << c.stored;
        EXPECT_EQ(text.style, c.written / 10000) << c.stored;
    }
}

TEST(ElementRecords, TextWidthIsWrittenFromTheKeptWidth) {
    const Bytes stored = Common(0, 1, 2, /*width*/ 37, 0, 0, 0)
                             .f64(0)
                             .f64(0)
                             .f64(10)
                             .f64(0)
                             .u32(3)
                             .f64(3)
                             .f64(3)
                             .f64(0.5)
                             .f64(0)
                             .str("f")
                             .str("t")
                             .bytes;
    auto text = ReadRecord<CDataMoji>(stored);
    EXPECT_EQ(text.width, 37);  // the file's width is held
    EXPECT_EQ(text.keptWidth, 0);
    const Bytes written = Record(text);
    EXPECT_EQ(written[7], 0);  // width word of the common part
    EXPECT_EQ(written[8], 0);
    EXPECT_EQ(text.width, 1);  // held as 1 after the save
    Bytes rest(stored.begin() + 9, stored.end()), restWritten(written.begin() + 9, written.end());
    EXPECT_EQ(rest, restWritten);
}

TEST(ElementRecords, PointsWithAMarkKeepTheLongForm) {
    // Read with line type 100 and code 7: written back long, whatever the
    // version setting, so the mark is not lost.
    const Bytes longPoint = Common(0, 100, 2, 0, 0, 0, 0).f64(1).f64(2).u32(9).u32(7).f64(0.5).f64(2.0).bytes;
    std::size_t left = 1;
    auto p = ReadRecord<CDataTen>(longPoint, &left);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(p.pointCode, 7);
    EXPECT_EQ(p.scale, 2.0);
    EXPECT_EQ(Record(p), longPoint);
    EXPECT_EQ(longPoint.size(), 55u);

    // A plain point is written short with line type 1, whatever it was read with.
    const Bytes plainLong = Common(0, 100, 2, 0, 0, 0, 0).f64(1).f64(2).u32(9).u32(0).f64(0.5).f64(2.0).bytes;
    auto plain = ReadRecord<CDataTen>(plainLong);
    const Bytes expected = Common(0, 1, 2, 0, 0, 0, 0).f64(1).f64(2).u32(9).bytes;
    EXPECT_EQ(Record(plain), expected);
    EXPECT_EQ(expected.size(), 35u);

    const Bytes shortForm = Common(0, 4, 2, 0, 0, 0, 0).f64(1).f64(2).u32(9).bytes;
    auto s = ReadRecord<CDataTen>(shortForm, &left);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(s.pointCode, 0);
    EXPECT_EQ(s.lineType, 4);
    EXPECT_EQ(Record(s), expected);  // line type becomes 1
}

TEST(ElementRecords, SolidOwnColourOnlyWithColourTen) {
    CDataSolid solid;
    solid.color = 10;
    solid.ownColor = 0x123456;
    EXPECT_EQ(Record(solid).size(), 15u + 64 + 4);
    EXPECT_EQ(ReadRecord<CDataSolid>(Record(solid)).ownColor, 0x123456u);
    solid.color = 3;
    EXPECT_EQ(Record(solid).size(), 15u + 64);
}

TEST(ElementRecords, ArcHoldsItsAngleRange) {
    const Bytes stored = Common(0, 1, 2, 0, 0, 0, 0).f64(0).f64(0).f64(5).f64(1.0).f64(-0.5).f64(0).f64(1).u32(0).bytes;
    auto arc = ReadRecord<CDataEnko>(stored);
    EXPECT_DOUBLE_EQ(arc.lowerAngle, 0.5);
    EXPECT_DOUBLE_EQ(arc.upperAngle, 1.0);
    EXPECT_EQ(Record(arc), stored);
}

TEST(ElementRecords, DimensionNestsSevenRecordsWithoutTags) {
    CDataSunpou dim;
    dim.text.text = JwwString("1200");
    dim.text.fontName = JwwString("f");
    dim.points[2].pointCode = -4;  // one point in the long form
    const Bytes bytes = Record(dim);
    const std::size_t textRecord = 15 + 4 + 64 + 2 + 5;
    EXPECT_EQ(bytes.size(), 15 + 47 + textRecord + 2 + 47 + 47 + 3 * 35 + 55);
    std::size_t left = 1;
    auto back = ReadRecord<CDataSunpou>(bytes, &left);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(back.text.text.bytes(), "1200");
    EXPECT_EQ(back.points[2].pointCode, -4);
}

TEST(ElementRecords, BlockInsertionAndDefinition) {
    CDataBlock ins;
    EXPECT_EQ(ins.scaleX, 1.0);
    EXPECT_EQ(ins.scaleY, 1.0);
    ins.ref = {10, 20};
    ins.angle = 0.25;
    ins.definitionNumber = -3;
    ins.treeItemId = 7;  // run-time only
    const Bytes bytes = Record(ins);
    EXPECT_EQ(bytes.size(), 15u + 40 + 4);
    auto back = ReadRecord<CDataBlock>(bytes);
    EXPECT_EQ(back.definitionNumber, -3);
    EXPECT_EQ(back.treeItemId, 0);

    CDataList def;
    def.number = 4;
    def.referenced = 1;
    def.createdTime = 1700000000;
    def.name = JwwString("T1@@SfigorgFlag@@5");
    def.elements.push_back(std::make_unique<CDataSen>());
    Bytes out;
    {
        JwwStream ar(out);
        def.Serialize(ar);
    }
    const Bytes expected = Common(0, 0, 0, 0, 0, 0, 0)
                               .u32(4)
                               .u32(1)
                               .u32(0x8000000A)
                               .i64(1700000000)
                               .str("T1@@SfigorgFlag@@5")
                               .u16(1)
                               .u16(0xFFFF)
                               .u16(800)
                               .u16(8)
                               .text("CDataSen")
                               .append(Bytes(47, 0))
                               .bytes;
    EXPECT_EQ(out, expected);
}

TEST(ElementRecords, CreatedByNameWithTheirDefaults) {
    for (int k = 0; k < kElementKindCount; ++k) {
        ElementKind kind;
        ASSERT_TRUE(ElementKindFromName(ElementClassName(static_cast<ElementKind>(k)), kind));
        auto e = CreateElement(kind);
        EXPECT_EQ(e->Kind(), kind);
        EXPECT_EQ(e->groupValue + e->lineType + e->color + e->width + e->layer + e->layerGroup + e->flag, 0u);
    }
    ElementKind kind;
    EXPECT_FALSE(ElementKindFromName("CDataSe", kind));
    EXPECT_FALSE(ElementKindFromName("CDataSenX", kind));
}

}  // namespace
}  // namespace tolvani
