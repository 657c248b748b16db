// An object opened in its own window and written back: each form comes back
// in the same form with the changed drawing and the view's extent, a
// compound file keeps its other streams, and whatever is refused leaves the
// file and the document as they were.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include "model/AtomicFile.h"
#include "object/Base64.h"
#include "object/CompoundFile.h"
#include "object/PngText.h"
#include "object/SvgData.h"
#include "tests/support/TestSupport.h"
#include "viewer/EmbeddedObject.h"

namespace tolvani::viewer {
namespace {

using object::ObjectForm;
using test::Bytes;

std::unique_ptr<CJwwDoc> Lines(int count) { return test::LinesDrawing(count); }

// The drawing as it is once read from a file, and what saving it gives
// (one setting of the header is written as its value + 20, so a drawing read
// and written again differs there from the file it came from).
std::unique_ptr<CJwwDoc> ReadBack(int count) {
    auto doc = std::make_unique<CJwwDoc>();
    doc->header.SetNewDrawingDefaults();
    test::LoadFromBytes(*doc, test::SaveToBytes(*Lines(count)));
    return doc;
}
Bytes Body(int count) { return test::SaveToBytes(*ReadBack(count)); }

object::NativePrefix SomePrefix() {
    object::NativePrefix p;
    p.zubVersion = 120;
    p.extentWidth = 21167;
    p.extentHeight = 15875;
    p.viewWidth = 423.3;
    p.viewHeight = 317.475;
    p.centerX = -12.5;
    p.centerY = 40;
    p.dotSize = 23;
    return p;
}

// A 1 × 1 PNG, and an SVG, that carry nothing.
Bytes PlainPng() {
    const std::string b64 =
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNkYPhfDwAChwGA60e6kgAAAABJRU5ErkJggg==";
    Bytes png;
    EXPECT_TRUE(object::DecodeBase64(b64.data(), b64.size(), png));
    return png;
}
const char* const kPlainSvg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10mm\" height=\"10mm\"></svg>";

// Pictures as the window would draw them, without drawing: the plain
// picture with the data added.
std::vector<uint8_t> FakePicture(ObjectForm form, const std::vector<uint8_t>& native) {
    if (form == ObjectForm::Png) {
        Bytes png = PlainPng();
        if (!object::AddPngText(png, object::kObjectName, object::EncodeBase64(native.data(), native.size())))
            return {};
        return png;
    }
    std::string svg = kPlainSvg;
    if (!object::AddSvgData(svg, object::kObjectName, native)) return {};
    return Bytes(svg.begin(), svg.end());
}

// A compound file as a container leaves it: the object's cached picture and
// other streams beside "Contents", and a sub-storage with its own class.
Bytes ContainerFile(const Bytes* contents) {
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
    if (contents) stream(ole, "Contents", std::string(contents->begin(), contents->end()));
    stream(ole, "\002OlePres000", std::string(5000, 'p'));
    GsfOutput* sub = gsf_outfile_new_child(ole, "ObjInfo", TRUE);
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
    std::string text = "(none)";
    if (!ole) {
        g_object_unref(in);
        return text;
    }
    GsfInput* sub = storage ? gsf_infile_child_by_name(ole, storage) : nullptr;
    GsfInfile* parent = sub ? GSF_INFILE(sub) : ole;
    if (GsfInput* s = gsf_infile_child_by_name(parent, name)) {
        text.assign(static_cast<std::size_t>(gsf_input_size(s)), '\0');
        gsf_input_read(s, text.size(), reinterpret_cast<guint8*>(text.data()));
        g_object_unref(s);
    }
    if (sub) g_object_unref(sub);
    g_object_unref(ole);
    g_object_unref(in);
    return text;
}

// The object file of a form holding `native`.
Bytes ObjectFile(ObjectForm form, const Bytes& native) {
    switch (form) {
        case ObjectForm::Raw: return native;
        case ObjectForm::Compound: return ContainerFile(&native);
        case ObjectForm::Png:
        case ObjectForm::Svg: return FakePicture(form, native);
    }
    return {};
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class EmbeddedObjectTest : public testing::Test {
protected:
    EmbeddedObjectTest() : dir_(test::MakeTempDir()), doc_(store_, true), object_(doc_) {
        object_.SetPictureMaker([](ObjectForm form, const CJwwDoc&, const object::NativePrefix&,
                                   const std::vector<uint8_t>& native) { return FakePicture(form, native); });
    }
    ~EmbeddedObjectTest() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::size_t FilesInDir() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_), {}));
    }
    // The prefix and the drawing body of the object in a file.
    static std::pair<object::NativePrefix, Bytes> Read(const Bytes& file, ObjectForm form) {
        const object::ObjectBytes bytes = object::ExtractObjectData(file.data(), file.size());
        EXPECT_TRUE(bytes.ok) << bytes.message;
        EXPECT_EQ(bytes.form, form);
        const object::NativeReadResult r = object::ReadNativeData(bytes.native.data(), bytes.native.size(), "");
        EXPECT_TRUE(r.ok) << r.message;
        return {r.prefix, Bytes(bytes.native.begin() + static_cast<long>(r.bodyOffset), bytes.native.end())};
    }

    std::string dir_;
    settings::MemorySettingsStore store_;
    DrawingDocument doc_;
    EmbeddedObject object_;
};

TEST_F(EmbeddedObjectTest, EveryFormIsWrittenBackInItsFormWithTheChangeAndTheViewsExtent) {
    for (const ObjectForm form : {ObjectForm::Raw, ObjectForm::Png, ObjectForm::Svg, ObjectForm::Compound}) {
        SCOPED_TRACE(object::FormName(form));
        DrawingDocument doc(store_, true);
        EmbeddedObject object(doc);
        object.SetPictureMaker([](ObjectForm f, const CJwwDoc&, const object::NativePrefix&,
                                  const std::vector<uint8_t>& native) { return FakePicture(f, native); });
        const std::string path = Path(std::string("object.") + object::FormName(form));
        const Bytes native = object::WriteNativeData(SomePrefix(), *Lines(3));
        const Bytes original = ObjectFile(form, native);
        WriteBytes(path, original);

        const EmbeddedObject::Outcome opened = object.Open(path);
        ASSERT_TRUE(opened.ok) << opened.message;
        EXPECT_EQ(object.form(), form);
        EXPECT_EQ(doc.drawing().mainList.size(), 3u);
        EXPECT_EQ(doc.Screen().viewWidth, 423.3);
        EXPECT_EQ(doc.Screen().viewHeight, 317.475);
        EXPECT_EQ(doc.Screen().centerX, -12.5);
        EXPECT_EQ(doc.Screen().centerY, 40);
        EXPECT_EQ(doc.Values().dotSize, 23);
        EXPECT_EQ(doc.settings().zubVersion, 120);
        EXPECT_EQ(doc.objectExtent().width, 21167);
        EXPECT_EQ(doc.objectExtent().height, 15875);
        EXPECT_EQ(doc.Title(), path);
        EXPECT_FALSE(object.HasUnwrittenChanges());

        // An update without change and at the same size gives the same
        // prefix and the drawing as read.
        doc.Values().extent = {21167, 15875};
        ASSERT_TRUE(object.Update().ok);
        if (form == ObjectForm::Raw) {
            const Bytes again = test::ReadFileBytes(path);
            EXPECT_EQ(Bytes(again.begin(), again.begin() + 56), Bytes(original.begin(), original.begin() + 56));
        }
        EXPECT_EQ(Read(test::ReadFileBytes(path), form).second, Body(3));

        // A change, and a view of another size.
        doc.ChangeDrawing([](CJwwDoc& d) {
            auto line = std::make_unique<CDataSen>();
            line->start = {3, 0};
            line->end = {3, 10};
            d.AddElement(std::move(line));
        });
        EXPECT_TRUE(object.HasUnwrittenChanges());
        doc.Values().extent = {30000, 20000};
        const EmbeddedObject::Outcome updated = object.Update();
        ASSERT_TRUE(updated.ok) << updated.message;
        EXPECT_FALSE(doc.modified());
        EXPECT_FALSE(object.HasUnwrittenChanges());
        EXPECT_EQ(doc.objectExtent().width, 30000);
        const Bytes file = test::ReadFileBytes(path);
        const auto [prefix, body] = Read(file, form);
        EXPECT_EQ(prefix.extentWidth, 30000);
        EXPECT_EQ(prefix.extentHeight, 20000);
        EXPECT_EQ(prefix.viewWidth, 423.3);
        EXPECT_EQ(prefix.centerY, 40);
        EXPECT_EQ(prefix.dotSize, 23);
        EXPECT_EQ(prefix.zubVersion, 120);
        EXPECT_EQ(body, Body(4)) << test::FirstDifference(body, Body(4));
        if (form == ObjectForm::Compound) {
            // Only "Contents" is new: the container's cached picture is the
            // one it had.
            EXPECT_EQ(StreamText(file, nullptr, "\001CompObj"), "component object");
            EXPECT_EQ(StreamText(file, nullptr, "\002OlePres000"), std::string(5000, 'p'));
            EXPECT_EQ(StreamText(file, "ObjInfo", "inner"), "kept");
        }
        // A second update starts from the file as now written.
        doc.Values().dotSize = 30;
        EXPECT_TRUE(object.HasUnwrittenChanges());
        ASSERT_TRUE(object.Update().ok);
        EXPECT_EQ(Read(test::ReadFileBytes(path), form).first.dotSize, 30);
        if (form == ObjectForm::Compound) {
            EXPECT_EQ(StreamText(test::ReadFileBytes(path), nullptr, "\002OlePres000"), std::string(5000, 'p'));
        }
    }
    EXPECT_EQ(FilesInDir(), 4u);  // no temporary file left
}

TEST_F(EmbeddedObjectTest, WhatCarriesNoObjectIsRefusedAndNothingIsWritten) {
    const Bytes native = object::WriteNativeData(SomePrefix(), *Lines(3));
    Bytes cut(native.begin(), native.begin() + 40);
    Bytes zip = {'P', 'K', 3, 4, 0, 0, 0, 0};
    const std::string plainSvg = kPlainSvg;
    const struct {
        const char* name;
        Bytes bytes;
        std::string message;
    } cases[] = {
        {"plain.png", PlainPng(), "この画像には図面のデータが含まれていません。"},
        {"plain.svg", Bytes(plainSvg.begin(), plainSvg.end()), "この画像には図面のデータが含まれていません。"},
        {"nocontents.ole", ContainerFile(nullptr),
         "この複合ファイルにはオブジェクトのデータ（Contents）がありません。"},
        {"text.txt", Bytes{'h', 'e', 'l', 'l', 'o', '\n'}, EmbeddedObject::kNotAnObjectMessage},
        {"cut.bin", cut, EmbeddedObject::kNotAnObjectMessage},
        {"book.xlsx", zip, EmbeddedObject::kPackageMessage},
    };
    // The document holds a drawing of its own before.
    doc_.ChangeDrawing([](CJwwDoc& d) { d.AddElement(std::make_unique<CDataSen>()); }, false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path(c.name);
        WriteBytes(path, c.bytes);
        const EmbeddedObject::Outcome r = object_.Open(path);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, c.message);
        EXPECT_NE(r.detail.find(path), std::string::npos) << r.detail;
        EXPECT_FALSE(object_.opened());
        EXPECT_EQ(doc_.drawing().mainList.size(), 1u);
        doc_.Values().extent = {1000, 1000};
        EXPECT_FALSE(object_.Update().ok);
        EXPECT_EQ(test::ReadFileBytes(path), c.bytes);
    }
    EXPECT_EQ(FilesInDir(), std::size(cases));
    const EmbeddedObject::Outcome missing = object_.Open(Path("missing.bin"));
    EXPECT_EQ(missing.message, kLocalReadErrorMessage);
    EXPECT_EQ(FilesInDir(), std::size(cases));
}

TEST_F(EmbeddedObjectTest, AnUpdateThatCannotBeMadeLeavesTheFileAndTheChange) {
    const Bytes native = object::WriteNativeData(SomePrefix(), *Lines(3));
    const std::string path = Path("object.png");
    const Bytes original = ObjectFile(ObjectForm::Png, native);
    WriteBytes(path, original);
    ASSERT_TRUE(object_.Open(path).ok);
    doc_.ChangeDrawing([](CJwwDoc& d) { d.AddElement(std::make_unique<CDataSen>()); });

    // A window without size (minimised to nothing).
    doc_.Values().extent = {0, 0};
    EXPECT_EQ(object_.Update().message, EmbeddedObject::kBadExtentMessage);
    // No picture could be drawn.
    doc_.Values().extent = {20000, 10000};
    object_.SetPictureMaker([](ObjectForm, const CJwwDoc&, const object::NativePrefix&, const std::vector<uint8_t>&) {
        return std::vector<uint8_t>();
    });
    EXPECT_EQ(object_.Update().message, EmbeddedObject::kPictureWriteMessage);
    // The folder cannot be written, as the system says it to anyone (root,
    // who writes where permissions stop others, too).
    object_.SetPictureMaker([](ObjectForm f, const CJwwDoc&, const object::NativePrefix&,
                               const std::vector<uint8_t>& n) { return FakePicture(f, n); });
    InjectSaveFailure(SaveStep::Create, EACCES);
    const EmbeddedObject::Outcome refused = object_.Update();
    InjectSaveFailure(SaveStep::Create, 0);
    EXPECT_EQ(refused.message, kLocalWriteErrorMessage);
    EXPECT_EQ(refused.detail, path + "\n" + std::strerror(EACCES));
    EXPECT_EQ(FilesInDir(), 1u);
    EXPECT_EQ(test::ReadFileBytes(path), original);
    EXPECT_TRUE(doc_.modified());
    EXPECT_TRUE(object_.HasUnwrittenChanges());

    // An outport writes the drawing but not the object: the change stays
    // to be written back.
    const EmbeddedObject::Outcome out = object_.Outport(Path("out.jww"));
    ASSERT_TRUE(out.ok) << out.message;
    auto expected = ReadBack(3);
    expected->AddElement(std::make_unique<CDataSen>());
    EXPECT_EQ(test::ReadFileBytes(Path("out.jww")), test::SaveToBytes(*expected));
    EXPECT_TRUE(object_.HasUnwrittenChanges());
    EXPECT_EQ(test::ReadFileBytes(path), original);
}

}  // namespace
}  // namespace tolvani::viewer
