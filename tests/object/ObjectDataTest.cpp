// The object's native data and the pictures that carry it, byte by byte.
#include <gtest/gtest.h>

#include <zlib.h>
#include <cmath>
#include <limits>
#include <random>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include "model/JwwStream.h"
#include "object/Base64.h"
#include "object/CompoundFile.h"
#include "object/NativeData.h"
#include "object/ObjectData.h"
#include "object/OfficeGraphic.h"
#include "object/PngText.h"
#include "object/SvgData.h"
#include "tests/support/TestSupport.h"

namespace tolvani::object {
namespace {

using test::Bytes;
using test::ByteWriter;

Bytes NewDrawingBody() {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    return test::SaveToBytes(doc);
}

NativePrefix SomePrefix() {
    NativePrefix p;
    p.extentWidth = 21167;
    p.extentHeight = 15875;
    p.viewWidth = 423.3;
    p.viewHeight = 317.475;
    p.centerX = -12.5;
    p.centerY = 40;
    p.dotSize = 16;
    return p;
}

// The prefix fields after a signature of any length, then a body.
Bytes PrefixBytes(const std::string& signature, const NativePrefix& p, const Bytes& body) {
    ByteWriter w;
    w.str(signature)
        .u32(static_cast<uint32_t>(p.zubVersion))
        .u32(static_cast<uint32_t>(p.extentWidth))
        .u32(static_cast<uint32_t>(p.extentHeight))
        .f64(p.viewWidth)
        .f64(p.viewHeight)
        .f64(p.centerX)
        .f64(p.centerY)
        .u32(static_cast<uint32_t>(p.dotSize))
        .append(body);
    return w.bytes;
}

TEST(NativeData, WrittenPrefixHasItsFixedLayout) {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    const NativePrefix p = SomePrefix();
    const Bytes data = WriteNativeData(p, doc);
    EXPECT_EQ(data, PrefixBytes("Tolvani", p, NewDrawingBody()));
    ASSERT_GT(data.size(), 64u);
    const Bytes head(data.begin(), data.begin() + 12);
    EXPECT_EQ(head, (Bytes{0x07, 'T', 'o', 'l', 'v', 'a', 'n', 'i', 0x64, 0x00, 0x00, 0x00}));
    EXPECT_EQ(std::string(data.begin() + 56, data.begin() + 64), "JwwData.");
    EXPECT_EQ(WriteNativePrefix(p), Bytes(data.begin(), data.begin() + 56));
}

TEST(NativeData, ReadsBackEveryFieldWhateverTheSignature) {
    for (const std::string signature : {"Tolvani", "", "T", "AnotherProgramName"}) {
        SCOPED_TRACE(signature);
        NativePrefix p = SomePrefix();
        p.zubVersion = -3;  // never tested
        const Bytes data = PrefixBytes(signature, p, NewDrawingBody());
        const NativeReadResult r = ReadNativeData(data.data(), data.size(), "x.bin");
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_EQ(r.bodyOffset, 49 + signature.size());
        EXPECT_EQ(r.prefix.zubVersion, -3);
        EXPECT_EQ(r.prefix.extentWidth, 21167);
        EXPECT_EQ(r.prefix.extentHeight, 15875);
        EXPECT_EQ(r.prefix.viewWidth, 423.3);
        EXPECT_EQ(r.prefix.viewHeight, 317.475);
        EXPECT_EQ(r.prefix.centerX, -12.5);
        EXPECT_EQ(r.prefix.centerY, 40);
        EXPECT_EQ(r.prefix.dotSize, 16);
        ASSERT_TRUE(r.doc);
        EXPECT_EQ(r.doc->header.version, 600u);
    }
}

TEST(NativeData, RefusesPrefixesThatCannotBeShown) {
    struct Case {
        const char* what;
        void (*change)(NativePrefix&);
    };
    const Case cases[] = {
        {"zero width", [](NativePrefix& p) { p.extentWidth = 0; }},
        {"negative height", [](NativePrefix& p) { p.extentHeight = -1; }},
        {"zero view width", [](NativePrefix& p) { p.viewWidth = 0; }},
        {"negative view height", [](NativePrefix& p) { p.viewHeight = -5; }},
        {"NaN view width", [](NativePrefix& p) { p.viewWidth = std::numeric_limits<double>::quiet_NaN(); }},
        {"infinite view height", [](NativePrefix& p) { p.viewHeight = std::numeric_limits<double>::infinity(); }},
        {"NaN centre", [](NativePrefix& p) { p.centerX = std::numeric_limits<double>::quiet_NaN(); }},
        {"infinite centre", [](NativePrefix& p) { p.centerY = -std::numeric_limits<double>::infinity(); }},
        {"negative point size", [](NativePrefix& p) { p.dotSize = -1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NativePrefix p = SomePrefix();
        c.change(p);
        const Bytes data = PrefixBytes("Tolvani", p, NewDrawingBody());
        const NativeReadResult r = ReadNativeData(data.data(), data.size(), "x.bin");
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find("オブジェクトのデータが正しくありません"), std::string::npos) << r.message;
        EXPECT_FALSE(r.doc);
    }
}

TEST(NativeData, CutShortOrWithoutDrawingGivesAMessage) {
    const Bytes whole = PrefixBytes("Tolvani", SomePrefix(), NewDrawingBody());
    for (std::size_t n : {std::size_t(0), std::size_t(1), std::size_t(30), std::size_t(55)}) {
        const NativeReadResult r = ReadNativeData(whole.data(), n, "cut.bin");
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, "cut.bin の末尾以降にアクセスしようとしました。");
    }
    const NativeReadResult none = ReadNativeData(whole.data(), 56, "p.bin");
    EXPECT_FALSE(none.ok);
    EXPECT_NE(none.message.find("図面のデータがありません"), std::string::npos);
    const NativeReadResult body = ReadNativeData(whole.data(), 80, "p.bin");
    EXPECT_FALSE(body.ok);
    EXPECT_EQ(body.message, "p.bin の末尾以降にアクセスしようとしました。");
}

TEST(Base64, RoundTripsAndRefusesWhatIsNotBase64) {
    std::mt19937 rng(5);
    for (std::size_t n = 0; n < 40; ++n) {
        Bytes b(n);
        for (auto& x : b) x = static_cast<uint8_t>(rng());
        const std::string text = EncodeBase64(b.data(), b.size());
        EXPECT_EQ(text.size(), (n + 2) / 3 * 4);
        std::vector<uint8_t> back;
        ASSERT_TRUE(DecodeBase64(text.data(), text.size(), back));
        EXPECT_EQ(back, b);
    }
    std::vector<uint8_t> out;
    EXPECT_TRUE(DecodeBase64("TW E=\n", 6, out));
    EXPECT_EQ(out, (Bytes{'M', 'a'}));
    for (const std::string bad : {"TWE", "TW=E", "T===", "TWE=x", "TW@=", "TWFu=", "="}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(DecodeBase64(bad.data(), bad.size(), out));
    }
}

// A small but complete PNG: one white pixel.
Bytes Chunk(const char* type, const Bytes& data) {
    const uint32_t n = static_cast<uint32_t>(data.size());
    Bytes c(8 + data.size());
    const uint8_t head[8] = {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8),  uint8_t(n),
                             uint8_t(type[0]), uint8_t(type[1]), uint8_t(type[2]), uint8_t(type[3])};
    std::copy(head, head + 8, c.begin());
    std::copy(data.begin(), data.end(), c.begin() + 8);
    const uint32_t crc = Crc32(c.data() + 4, data.size() + 4);
    c.insert(c.end(), {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
    return c;
}

Bytes Deflate(const std::string& text) {
    uLongf n = compressBound(static_cast<uLong>(text.size()));
    Bytes out(n);
    compress(out.data(), &n, reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()));
    out.resize(n);
    return out;
}

Bytes TinyPng(const std::vector<Bytes>& extraChunks = {}) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const Bytes ihdr = {0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0};
    const Bytes ihdrChunk = Chunk("IHDR", ihdr);
    png.insert(png.end(), ihdrChunk.begin(), ihdrChunk.end());
    for (const Bytes& c : extraChunks) png.insert(png.end(), c.begin(), c.end());
    const Bytes idat = Chunk("IDAT", Deflate(std::string("\0\xFF", 2)));
    png.insert(png.end(), idat.begin(), idat.end());
    const Bytes iend = Chunk("IEND", {});
    png.insert(png.end(), iend.begin(), iend.end());
    return png;
}

Bytes Keyworded(const std::string& keyword, const Bytes& rest) {
    Bytes b(keyword.begin(), keyword.end());
    b.push_back(0);
    b.insert(b.end(), rest.begin(), rest.end());
    return b;
}

TEST(PngText, FindsTheTextInEveryKindOfTextChunk) {
    const std::string key = kObjectName;
    const Bytes z = Deflate("compressed");
    Bytes zt = {0};
    zt.insert(zt.end(), z.begin(), z.end());
    Bytes itPlain = {0, 0, 'j', 'a', 0, 0};
    const std::string plain = "international";
    itPlain.insert(itPlain.end(), plain.begin(), plain.end());
    Bytes itPacked = {1, 0, 0, 0};
    itPacked.insert(itPacked.end(), z.begin(), z.end());
    struct Case {
        Bytes chunk;
        std::string text;
    };
    const Case cases[] = {
        {Chunk("tEXt", Keyworded(key, Bytes{'p', 'l', 'a', 'i', 'n'})), "plain"},
        {Chunk("zTXt", Keyworded(key, zt)), "compressed"},
        {Chunk("iTXt", Keyworded(key, itPlain)), "international"},
        {Chunk("iTXt", Keyworded(key, itPacked)), "compressed"},
    };
    for (const Case& c : cases) {
        // Another program's text before ours is passed over.
        const Bytes png = TinyPng({Chunk("tEXt", Keyworded("Software", Bytes{'x'})), c.chunk});
        std::string text;
        EXPECT_EQ(FindPngText(png.data(), png.size(), key, text), PngTextResult::Found);
        EXPECT_EQ(text, c.text);
    }
}

TEST(PngText, DamagedPicturesAreToldApart) {
    const std::string key = kObjectName;
    Bytes good = TinyPng();
    ASSERT_TRUE(AddPngText(good, key, "data"));
    std::string text;
    ASSERT_EQ(FindPngText(good.data(), good.size(), key, text), PngTextResult::Found);
    EXPECT_EQ(text, "data");

    const Bytes plain = TinyPng();
    EXPECT_EQ(FindPngText(plain.data(), plain.size(), key, text), PngTextResult::NotFound);
    EXPECT_EQ(FindPngText(plain.data(), plain.size() - 12, key, text), PngTextResult::Damaged);  // no IEND
    const Bytes notPng = {'J', 'w', 'w', 'D', 'a', 't', 'a', '.'};
    EXPECT_EQ(FindPngText(notPng.data(), notPng.size(), key, text), PngTextResult::NotPng);

    struct Case {
        const char* what;
        std::size_t offset;  // into the IHDR chunk, which starts at 8
        uint8_t value;
    };
    const Case cases[] = {
        {"length past the end", 8 + 0, 0x7F},
        {"length of 4 GiB", 8 + 0, 0xFF},
        {"wrong CRC", 8 + 8 + 13, 0x00},
        {"changed type", 8 + 4, 'i'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bad = good;
        bad[c.offset] = c.value == bad[c.offset] ? static_cast<uint8_t>(c.value + 1) : c.value;
        EXPECT_EQ(FindPngText(bad.data(), bad.size(), key, text), PngTextResult::Damaged);
    }
    // Every cut through the text chunk (which ends where IEND begins) is
    // damaged, never read past its end.
    for (std::size_t n = 8; n < good.size() - 12; ++n)
        ASSERT_NE(FindPngText(good.data(), n, key, text), PngTextResult::Found) << n;
}

TEST(PngText, TextBeyondTheLimitIsTooLarge) {
    Bytes png = TinyPng();
    ASSERT_TRUE(AddPngText(png, kObjectName, std::string(5000, 'A')));
    std::string text;
    EXPECT_EQ(FindPngText(png.data(), png.size(), kObjectName, text, 1000), PngTextResult::TooLarge);
    EXPECT_EQ(FindPngText(png.data(), png.size(), kObjectName, text, 5000), PngTextResult::Found);
}

TEST(PngText, KeywordMustBeAPngKeyword) {
    Bytes png = TinyPng();
    EXPECT_FALSE(AddPngText(png, "", "x"));
    EXPECT_FALSE(AddPngText(png, std::string(80, 'k'), "x"));
    EXPECT_FALSE(AddPngText(png, std::string("a\nb"), "x"));
    Bytes cut(png.begin(), png.end() - 1);
    EXPECT_FALSE(AddPngText(cut, "key", "x"));
}

TEST(ObjectData, DataOverTenMegabytesSurvivesAPicture) {
    Bytes native(11 * 1024 * 1024);
    std::mt19937 rng(11);
    for (auto& b : native) b = static_cast<uint8_t>(rng());
    Bytes png = TinyPng();
    ASSERT_TRUE(AddPngText(png, kObjectName, EncodeBase64(native.data(), native.size())));
    const ObjectBytes r = ExtractObjectData(png.data(), png.size());
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.form, ObjectForm::Png);
    EXPECT_EQ(r.native, native);

    std::string svg =
        "<?xml version=\"1.0\"?>\n<svg width=\"10mm\" height=\"5mm\" xmlns=\"http://www.w3.org/2000/svg\"><g/></svg>\n";
    ASSERT_TRUE(AddSvgData(svg, kObjectName, native));
    const ObjectBytes s = ExtractObjectData(reinterpret_cast<const uint8_t*>(svg.data()), svg.size());
    ASSERT_TRUE(s.ok) << s.message;
    EXPECT_EQ(s.form, ObjectForm::Svg);
    EXPECT_EQ(s.native, native);
}

TEST(ObjectData, PicturesWithoutDataAreRefused) {
    const Bytes png = TinyPng();
    const ObjectBytes p = ExtractObjectData(png.data(), png.size());
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.message, "この画像には図面のデータが含まれていません。");

    const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\"><metadata>other</metadata></svg>";
    const ObjectBytes s = ExtractObjectData(reinterpret_cast<const uint8_t*>(svg.data()), svg.size());
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, "この画像には図面のデータが含まれていません。");

    std::string broken = "<svg><metadata><tolvani:data name=\"Tolvani.Document\">@@@</tolvani:data></metadata></svg>";
    const ObjectBytes b = ExtractObjectData(reinterpret_cast<const uint8_t*>(broken.data()), broken.size());
    EXPECT_FALSE(b.ok);
    EXPECT_EQ(b.message, "画像に含まれる図面のデータが壊れています。");
}

TEST(SvgData, SizeInMillimetresAndStartDetection) {
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- made -->\n<svg width=\"79.9mm\" height=\"1mm\" viewBox=\"0 0 "
        "302 4\">\n</svg>";
    EXPECT_TRUE(LooksLikeSvg(reinterpret_cast<const uint8_t*>(svg.data()), svg.size()));
    ASSERT_TRUE(SetSvgSizeMm(svg, 211.67, 158.75));
    EXPECT_NE(svg.find("<svg width=\"211.67mm\" height=\"158.75mm\" viewBox=\"0 0 302 4\">"), std::string::npos);
    const std::string jww = "JwwData.";
    EXPECT_FALSE(LooksLikeSvg(reinterpret_cast<const uint8_t*>(jww.data()), jww.size()));
    std::string nosvg = "<html></html>";
    EXPECT_FALSE(AddSvgData(nosvg, kObjectName, {1}));
}

// The header is the one the office suites write for a PNG of their own,
// with the size in 0.01 mm instead of pixels.
TEST(OfficeGraphic, PngBehindTheSuitesHeaderAtTheExtent) {
    Bytes png = TinyPng();
    ASSERT_TRUE(AddPngText(png, kObjectName, EncodeBase64(Bytes{1, 2, 3}.data(), 3)));
    const Bytes stream = WrapPngAsOfficeGraphic(png.data(), png.size(), 21167, 15875);
    const uint32_t n = static_cast<uint32_t>(png.size());
    const Bytes header = {
        'N',
        'A',
        'T',
        '5',
        1,
        0,
        0,
        0,
        0,
        0,  // empty block, version 1
        2,
        0,
        51,
        0,
        0,
        0,  // link block, version 2
        4,
        0,  // PNG
        uint8_t(n),
        uint8_t(n >> 8),
        uint8_t(n >> 16),
        uint8_t(n >> 24),  // its length
        0,
        0,
        0,
        0,  // user id
        0xAF,
        0x52,
        0,
        0,
        0x03,
        0x3E,
        0,
        0,  // 21167 x 15875
        1,
        0,
        27,
        0,
        0,
        0,  // unit block, version 1
        0,
        0,  // 0.01 mm
        0,
        0,
        0,
        0,
        0,
        0,
        0,
        0,  // origin
        1,
        0,
        0,
        0,
        1,
        0,
        0,
        0,
        1,
        0,
        0,
        0,
        1,
        0,
        0,
        0,  // scale 1:1
        1,
    };
    ASSERT_EQ(stream.size(), header.size() + png.size());
    EXPECT_EQ(Bytes(stream.begin(), stream.begin() + 67), header);
    EXPECT_EQ(Bytes(stream.begin() + 67, stream.end()), png);

    const ObjectBytes r = ExtractObjectData(stream.data(), stream.size());
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.form, ObjectForm::Png);
    EXPECT_EQ(r.native, (Bytes{1, 2, 3}));

    EXPECT_TRUE(WrapPngAsOfficeGraphic(png.data(), 0, 100, 100).empty());
    EXPECT_TRUE(WrapPngAsOfficeGraphic(png.data(), png.size(), 0, 100).empty());
    EXPECT_TRUE(WrapPngAsOfficeGraphic(png.data(), png.size(), 100, -1).empty());
}

TEST(OfficeGraphic, LengthsAreCheckedAgainstTheBytesThere) {
    const Bytes png = TinyPng();
    const Bytes stream = WrapPngAsOfficeGraphic(png.data(), png.size(), 100, 100);
    const uint8_t* found = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(FindPngInOfficeGraphic(stream.data(), stream.size(), found, size));
    EXPECT_EQ(found, stream.data() + 67);
    EXPECT_EQ(size, png.size());
    // Every cut short of the whole PNG, and every length made larger than
    // what follows it, is refused.
    for (std::size_t cut = 0; cut < stream.size(); ++cut)
        ASSERT_FALSE(FindPngInOfficeGraphic(stream.data(), cut, found, size)) << cut;
    for (std::size_t at : {6, 12, 18}) {
        Bytes bad = stream;
        bad[at + 3] = 0x80;
        EXPECT_FALSE(FindPngInOfficeGraphic(bad.data(), bad.size(), found, size)) << at;
    }
    Bytes otherType = stream;
    otherType[16] = 3;  // a JPEG
    EXPECT_FALSE(FindPngInOfficeGraphic(otherType.data(), otherType.size(), found, size));
}

}  // namespace
}  // namespace tolvani::object

namespace tolvani::object {
namespace {

// A compound file as a container leaves it: the object's streams beside
// "Contents", and a sub-storage with its own class.
Bytes ContainerLikeFile(bool withContents) {
    gsf_init();
    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* ole = gsf_outfile_msole_new(memory);
    auto stream = [](GsfOutfile* parent, const char* name, const std::string& data) {
        GsfOutput* s = gsf_outfile_new_child(parent, name, FALSE);
        gsf_output_write(s, data.size(), reinterpret_cast<const guint8*>(data.data()));
        gsf_output_close(s);
        g_object_unref(s);
    };
    stream(ole, "\001CompObj", "component object");
    if (withContents) stream(ole, "Contents", "old native data");
    stream(ole, "\002OlePres000", std::string(5000, 'p'));
    GsfOutput* sub = gsf_outfile_new_child(ole, "ObjInfo", TRUE);
    const guint8 clsid[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(sub), clsid);
    stream(GSF_OUTFILE(sub), "inner", "kept");
    gsf_output_close(sub);
    g_object_unref(sub);
    gsf_output_close(GSF_OUTPUT(ole));
    g_object_unref(ole);
    const guint8* b = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
    Bytes out(b, b + gsf_output_size(memory));
    g_object_unref(memory);
    return out;
}

std::string StreamText(const Bytes& file, const char* storage, const char* name) {
    GsfInput* in = gsf_input_memory_new(file.data(), static_cast<gsf_off_t>(file.size()), FALSE);
    GsfInfile* ole = gsf_infile_msole_new(in, nullptr);
    std::string text;
    GsfInfile* parent = ole;
    GsfInput* sub = nullptr;
    if (storage) {
        sub = gsf_infile_child_by_name(ole, storage);
        parent = GSF_INFILE(sub);
    }
    if (GsfInput* s = gsf_infile_child_by_name(parent, name)) {
        text.resize(static_cast<std::size_t>(gsf_input_size(s)));
        gsf_input_read(s, text.size(), reinterpret_cast<guint8*>(text.data()));
        g_object_unref(s);
    }
    if (storage) {
        guint8 clsid[16] = {};
        gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(sub), clsid);
        text += "|" + std::to_string(clsid[0]) + "," + std::to_string(clsid[15]);
        g_object_unref(sub);
    }
    g_object_unref(ole);
    g_object_unref(in);
    return text;
}

TEST(CompoundFile, ContentsIsWrittenReadAndReplacedWithEverythingElseKept) {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    const Bytes native = WriteNativeData(SomePrefix(), doc);
    Bytes file;
    ASSERT_TRUE(WriteCompoundFile(native, file));
    const ObjectBytes r = ExtractObjectData(file.data(), file.size());
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.form, ObjectForm::Compound);
    EXPECT_EQ(r.native, native);

    const Bytes container = ContainerLikeFile(true);
    Bytes replaced;
    ASSERT_TRUE(ReplaceContentsStream(container.data(), container.size(), native, replaced));
    std::vector<uint8_t> contents;
    ASSERT_EQ(ReadContentsStream(replaced.data(), replaced.size(), contents), CompoundResult::Found);
    EXPECT_EQ(contents, native);
    EXPECT_EQ(StreamText(replaced, nullptr, "\001CompObj"), "component object");
    EXPECT_EQ(StreamText(replaced, nullptr, "\002OlePres000"), std::string(5000, 'p'));
    EXPECT_EQ(StreamText(replaced, "ObjInfo", "inner"), "kept|1,16");
}

TEST(CompoundFile, WithoutContentsOrDamagedIsRefused) {
    const Bytes container = ContainerLikeFile(false);
    const ObjectBytes r = ExtractObjectData(container.data(), container.size());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "この複合ファイルにはオブジェクトのデータ（Contents）がありません。");
    const Bytes whole = ContainerLikeFile(true);
    for (std::size_t n : {std::size_t(8), std::size_t(512), whole.size() / 2}) {
        const ObjectBytes cut = ExtractObjectData(whole.data(), n);
        EXPECT_FALSE(cut.ok);
    }
}

}  // namespace
}  // namespace tolvani::object
