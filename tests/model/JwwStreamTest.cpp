// Byte-level encoding of strings, counts, times and element references.
#include <gtest/gtest.h>

#include "model/CData.h"
#include "model/Cp932.h"
#include "model/JwwStream.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::Bytes;
using test::ByteWriter;

template <class F>
Bytes Store(F f) {
    Bytes out;
    {
        JwwStream ar(out);
        f(ar);
    }
    return out;
}

Bytes Prefix(const Bytes& b, std::size_t n) { return Bytes(b.begin(), b.begin() + static_cast<long>(n)); }

struct PrefixCase {
    std::size_t length;
    Bytes prefix;
};

TEST(JwwStreamStrings, LengthPrefixesAtEveryBoundary) {
    const PrefixCase cases[] = {
        {0, {0x00}},
        {1, {0x01}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        const std::string text(c.length, 'x');
        const Bytes bytes = Store([&](JwwStream& ar) { ar.PutString(JwwString(text)); });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Prefix(bytes, c.prefix.size()), c.prefix) << c.length;
        JwwStream in(bytes.data(), bytes.size());
        EXPECT_EQ(in.GetString().bytes(), text) << c.length;
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(JwwStreamStrings, SixteenBitFormIsHeldInCodePage932) {
    // FF FE FF, then its own prefix (3 units), then UTF-16LE "日本a".
    const Bytes bytes = ByteWriter().u8(0xFF).u16(0xFFFE).u8(3).u16(0x65E5).u16(0x672C).u16('a').bytes;
    JwwStream in(bytes.data(), bytes.size());
    const JwwString s = in.GetString();
    EXPECT_EQ(s.bytes(), Utf8ToCp932("日本a"));
    EXPECT_EQ(s.wide(), nullptr);
    // A convertible string goes back in the 8-bit form.
    const Bytes saved = Store([&](JwwStream& ar) { ar.PutString(s); });
    EXPECT_EQ(saved, ByteWriter().u8(5).text(Utf8ToCp932("日本a")).bytes);
}

TEST(JwwStreamStrings, SixteenBitFormWithLongPrefix) {
    ByteWriter w;
    w.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(300);
    for (int i = 0; i < 300; ++i) w.u16('A' + i % 26);
    JwwStream in(w.bytes.data(), w.bytes.size());
    const JwwString s = in.GetString();
    ASSERT_EQ(s.size(), 300u);
    EXPECT_EQ(s.bytes()[27], 'B');
}

TEST(JwwStreamStrings, CharacterWithoutCodePage932FormKeepsTheSixteenBitText) {
    // "é" and a supplementary-plane character have no code page 932 form.
    const std::u16string wide = u"caf\u00e9 \U0001F600";
    ByteWriter w;
    w.u8(0xFF).u16(0xFFFE).u8(static_cast<uint8_t>(wide.size()));
    for (char16_t c : wide) w.u16(c);
    JwwStream in(w.bytes.data(), w.bytes.size());
    const JwwString s = in.GetString();
    ASSERT_NE(s.wide(), nullptr);
    EXPECT_EQ(*s.wide(), wide);
    EXPECT_EQ(s.bytes(), "caf\x81\xac \x81\xac");  // 〓 for each
    EXPECT_EQ(s.toUtf8(), "caf\xC3\xA9 \xF0\x9F\x98\x80");
    // Written back unchanged, in the 16-bit form.
    EXPECT_EQ(Store([&](JwwStream& ar) { ar.PutString(s); }), w.bytes);
    // Once changed, it is an ordinary 8-bit string.
    JwwString changed = s;
    changed.assign("abc");
    EXPECT_EQ(Store([&](JwwStream& ar) { ar.PutString(changed); }), ByteWriter().str("abc").bytes);
}

TEST(JwwStreamStrings, LengthBeyondTheDataFailsBeforeAllocating) {
    struct Case {
        const char* name;
        Bytes bytes;
        JwwErrorKind kind;
    };
    const Case cases[] = {
        {"2 GB 8-bit", ByteWriter().u8(0xFF).u16(0xFFFF).u32(0x7FFFFFF0).text("abc").bytes, JwwErrorKind::EndOfFile},
        {"64-bit length in range", ByteWriter().u8(0xFF).u16(0xFFFF).u32(0xFFFFFFFF).i64(0x7FFFFFFF).bytes,
         JwwErrorKind::EndOfFile},
        {"64-bit length too large", ByteWriter().u8(0xFF).u16(0xFFFF).u32(0xFFFFFFFF).i64(0x80000000LL).bytes,
         JwwErrorKind::Generic},
        {"16-bit form, 1 G units", ByteWriter().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(0x40000000).bytes,
         JwwErrorKind::EndOfFile},
        {"16-bit odd byte count", ByteWriter().u8(0xFF).u16(0xFFFE).u8(2).u16('a').u8('b').bytes,
         JwwErrorKind::EndOfFile},
        {"prefix cut", ByteWriter().u8(0xFF).u8(0x01).bytes, JwwErrorKind::EndOfFile},
    };
    for (const auto& c : cases) {
        JwwStream in(c.bytes.data(), c.bytes.size());
        try {
            in.GetString();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const JwwStreamError& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.name;
        }
    }
}

TEST(JwwStreamCounts, ShortAndLongForms) {
    const std::pair<uint32_t, Bytes> cases[] = {
        {0, {0x00, 0x00}},
        {65534, {0xFE, 0xFF}},
        {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {100000, {0xFF, 0xFF, 0xA0, 0x86, 0x01, 0x00}},
    };
    for (const auto& [count, bytes] : cases) {
        EXPECT_EQ(Store([&](JwwStream& ar) { ar.PutCount(count); }), bytes) << count;
        JwwStream in(bytes.data(), bytes.size());
        EXPECT_EQ(in.GetCount(), count);
    }
}

TEST(JwwStreamTimes, BothFormsReadAndTheLongFormIsWritten) {
    const Bytes longForm = ByteWriter().u32(0x8000000A).i64(1787105042).bytes;
    EXPECT_EQ(Store([](JwwStream& ar) { ar.PutTime(1787105042); }), longForm);
    {
        JwwStream in(longForm.data(), longForm.size());
        EXPECT_EQ(in.GetTime(), 1787105042);
    }
    const Bytes shortForm = ByteWriter().u32(0x6A850F20).bytes;
    JwwStream in(shortForm.data(), shortForm.size());
    EXPECT_EQ(in.GetTime(), 0x6A850F20);
    const Bytes negative = ByteWriter().u32(0xFFFFFFFF).bytes;
    JwwStream in2(negative.data(), negative.size());
    EXPECT_EQ(in2.GetTime(), -1);
}

TEST(JwwStreamElements, WorkedExampleOfTwoLinesAndAnArc) {
    ElementList list;
    list.push_back(std::make_unique<CDataSen>());
    list.push_back(std::make_unique<CDataSen>());
    list.push_back(std::make_unique<CDataEnko>());
    const Bytes bytes = Store([&](JwwStream& ar) {
        ar.PutCount(3);
        for (const auto& e : list) ar.PutElement(e.get());
    });
    const Bytes zeros47(15 + 32, 0);
    const Bytes arcRecord(15 + 56 + 4, 0);
    const Bytes expected = ByteWriter()
                               .u16(3)
                               .u16(0xFFFF)
                               .u16(800)
                               .u16(8)
                               .text("CDataSen")
                               .append(zeros47)
                               .u16(0x8001)
                               .append(zeros47)
                               .u16(0xFFFF)
                               .u16(800)
                               .u16(9)
                               .text("CDataEnko")
                               .append(arcRecord)
                               .bytes;
    EXPECT_EQ(bytes, expected);

    JwwStream in(bytes.data(), bytes.size());
    ASSERT_EQ(in.GetCount(), 3u);
    EXPECT_EQ(in.GetElement()->Kind(), ElementKind::Sen);
    EXPECT_EQ(in.GetElement()->Kind(), ElementKind::Sen);
    EXPECT_EQ(in.GetElement()->Kind(), ElementKind::Enko);
}

TEST(JwwStreamElements, IndexesFrom0x7FFFOnUseTheLongForm) {
    // 40,000 lines take indexes 1 (class) and 2..40001; the arc class takes
    // 40002 and the first arc 40003; a second arc refers to class 40002.
    ElementList list;
    for (int i = 0; i < 40000; ++i) list.push_back(std::make_unique<CDataSen>());
    list.push_back(std::make_unique<CDataEnko>());
    list.push_back(std::make_unique<CDataEnko>());
    list.push_back(std::make_unique<CDataSen>());
    const Bytes bytes = Store([&](JwwStream& ar) {
        ar.PutCount(static_cast<uint32_t>(list.size()));
        for (const auto& e : list) ar.PutElement(e.get());
    });
    const std::size_t arcRecord = 15 + 56 + 4;
    const std::size_t lineRecord = 15 + 32;
    std::size_t at = 2 + (6 + 8 + lineRecord) + 39999 * (2 + lineRecord);
    at += 6 + 9 + arcRecord;  // first arc with its class record
    EXPECT_EQ(Bytes(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at) + 6),
              ByteWriter().u16(0x7FFF).u32(0x80000000u | 40002).bytes);
    at += 6 + arcRecord;
    EXPECT_EQ(Bytes(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at) + 2),
              ByteWriter().u16(0x8001).bytes);

    JwwStream in(bytes.data(), bytes.size());
    const uint32_t n = in.GetCount();
    ASSERT_EQ(n, list.size());
    for (uint32_t i = 0; i < n; ++i) ASSERT_EQ(in.GetElement()->Kind(), list[i]->Kind()) << i;
}

TEST(JwwStreamElements, AnySchemaNumberIsAccepted) {
    const Bytes bytes = ByteWriter()
                            .u16(0xFFFF)
                            .u16(600)
                            .u16(8)
                            .text("CDataSen")
                            .append(Bytes(47, 0))
                            .u16(0x8001)
                            .append(Bytes(47, 0))
                            .bytes;
    JwwStream in(bytes.data(), bytes.size());
    EXPECT_EQ(in.GetElement()->Kind(), ElementKind::Sen);
    EXPECT_EQ(in.CurrentSchema(), 600);
    EXPECT_EQ(in.GetElement()->Kind(), ElementKind::Sen);
}

TEST(JwwStreamElements, MalformedReferencesRaiseTheirErrors) {
    const Bytes line(47, 0);
    struct Case {
        const char* name;
        Bytes bytes;
        int goodElements;
        JwwErrorKind kind;
    };
    const Case cases[] = {
        {"unknown class", ByteWriter().u16(0xFFFF).u16(800).u16(7).text("CDataXx").bytes, 0, JwwErrorKind::BadClass},
        {"class name of 64 bytes", ByteWriter().u16(0xFFFF).u16(800).u16(64).text(std::string(64, 'C')).bytes, 0,
         JwwErrorKind::BadClass},
        {"class name cut short", ByteWriter().u16(0xFFFF).u16(800).u16(8).text("CData").bytes, 0,
         JwwErrorKind::BadClass},
        {"class name differs in case", ByteWriter().u16(0xFFFF).u16(800).u16(8).text("cDataSen").bytes, 0,
         JwwErrorKind::BadClass},
        {"class reference 0", ByteWriter().u16(0x8000).bytes, 0, JwwErrorKind::BadIndex},
        {"class reference beyond the table", ByteWriter().u16(0x8005).bytes, 0, JwwErrorKind::BadIndex},
        {"class reference naming an object",
         ByteWriter().u16(0xFFFF).u16(800).u16(8).text("CDataSen").append(line).u16(0x8002).bytes, 1,
         JwwErrorKind::BadIndex},
        {"back-reference to an element",
         ByteWriter().u16(0xFFFF).u16(800).u16(8).text("CDataSen").append(line).u16(0x0002).bytes, 1,
         JwwErrorKind::BadIndex},
        {"long-form reference beyond the table", ByteWriter().u16(0x7FFF).u32(0x80001234).bytes, 0,
         JwwErrorKind::BadIndex},
        {"record cut short", ByteWriter().u16(0xFFFF).u16(800).u16(8).text("CDataSen").append(Bytes(20, 0)).bytes, 0,
         JwwErrorKind::EndOfFile},
    };
    for (const auto& c : cases) {
        JwwStream in(c.bytes.data(), c.bytes.size());
        for (int i = 0; i < c.goodElements; ++i) ASSERT_NE(in.GetElement(), nullptr) << c.name;
        try {
            in.GetElement();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const JwwStreamError& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.name << ": " << e.what();
        }
    }
    const Bytes none = ByteWriter().u16(0).bytes;
    JwwStream in(none.data(), none.size());
    EXPECT_EQ(in.GetElement(), nullptr);
}

TEST(JwwStreamDirection, EachDirectionRefusesTheOther) {
    Bytes out;
    JwwStream storing(out);
    try {
        storing.GetDword();
        ADD_FAILURE();
    } catch (const JwwWrongDirectionError& e) {
        EXPECT_FALSE(e.storeOnLoading());
        EXPECT_EQ(e.UserMessage("a.jww"), "a.jww へ書き込み中に読み取ろうとしました。");
    }
    EXPECT_THROW(storing.GetString(), JwwWrongDirectionError);
    EXPECT_THROW(storing.GetElement(), JwwWrongDirectionError);

    const Bytes in = {1, 2, 3, 4};
    JwwStream loading(in.data(), in.size());
    try {
        loading.PutDword(1);
        ADD_FAILURE();
    } catch (const JwwWrongDirectionError& e) {
        EXPECT_TRUE(e.storeOnLoading());
        EXPECT_EQ(e.UserMessage(""), "無題のファイル の読み取り中に書き込もうとしました。");
    }
    EXPECT_THROW(loading.PutString(JwwString("x")), JwwWrongDirectionError);
    EXPECT_THROW(loading.PutCount(1), JwwWrongDirectionError);
}

TEST(JwwStreamErrors, MessagesCarryThePath) {
    EXPECT_EQ(JwwEndOfFileError().UserMessage("/d/a.jww"), "/d/a.jww の末尾以降にアクセスしようとしました。");
    EXPECT_EQ(JwwBadIndexError().UserMessage("a.jww"), "a.jww の形式が正しくありません。");
    EXPECT_EQ(JwwBadClassError().UserMessage("a.jww"), "a.jww は予期しないオブジェクトを含んでいます。");
    EXPECT_EQ(JwwGenericError().UserMessage("a.jww"), "a.jww へのアクセス中に不明なエラーが発生しました。");
    EXPECT_EQ(JwwOutOfMemoryError().UserMessage("a.jww"), "メモリが不足しています。");
}

}  // namespace
}  // namespace tolvani
