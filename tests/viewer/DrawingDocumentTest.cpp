// The document's rules without a display: what opening, saving and new do
// to the drawing, the tied file, the title and the modified flag, and that
// views are stopped before the drawing changes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <functional>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "model/AtomicFile.h"
#include "model/JwwErrors.h"
#include "model/JwwFile.h"
#include "model/JwwStream.h"
#include "tests/support/TestSupport.h"
#include "viewer/DrawingDocument.h"

namespace tolvani::viewer {
namespace {

using test::Bytes;

// Records what the document asked of its view, in order.
struct RecordingView : display::ViewObserver {
    explicit RecordingView(DrawingDocument& d) : doc(d) { doc.AddView(this); }
    ~RecordingView() override { doc.RemoveView(this); }
    void OnUpdate() override { events.push_back("update " + std::to_string(doc.drawing().mainList.size())); }
    void StopDrawing() override { events.push_back("stop " + std::to_string(doc.drawing().mainList.size())); }
    DrawingDocument& doc;
    std::vector<std::string> events;
};

std::unique_ptr<CJwwDoc> Lines(int count) { return test::LinesDrawing(count); }

// A save that writes part of the drawing through the atomic write and then
// fails as `fail` says, reporting as the program's own save does.
SaveOutcome SaveFailingMidway(const std::string& path, CJwwDoc& doc, const std::function<void()>& fail) {
    SaveOutcome out;
    try {
        WriteFileAtomically(path, [&](std::FILE* f) {
            JwwStream ar(f, JwwStream::Mode::Storing);
            doc.Save(ar);
            ar.Flush();
            fail();
        });
    } catch (const JwwFileError& e) {
        out.status = SaveOutcome::Status::FileError;
        out.message = kLocalWriteErrorMessage;
        out.detail = e.what();
    } catch (const JwwStreamError& e) {
        out.status = SaveOutcome::Status::StreamError;
        out.message = e.UserMessage(path);
    }
    return out;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class DrawingDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::MakeTempDir();
        good = dir + "/good.jww";
        auto doc = Lines(50);
        doc->header.writeLayerGroup = 5;
        full = test::SaveToBytes(*doc);
        WriteBytes(good, full);
        damaged = dir + "/damaged.jww";
        WriteBytes(damaged, Bytes(full.begin(), full.begin() + static_cast<long>(full.size() * 2 / 3)));
    }
    void Open(DrawingDocument& doc, const std::string& path) { result = doc.FinishOpen(path, LoadDrawingFile(path)); }

    settings::MemorySettingsStore store;
    std::string dir, good, damaged;
    Bytes full;
    DrawingDocument::OpenResult result;
};

TEST_F(DrawingDocumentTest, AFileReadWholeTiesTheDocumentAndFitsThePaper) {
    DrawingDocument doc(store, false);
    RecordingView view(doc);
    doc.Values().extent = {42000, 29700};
    doc.Values().clientSize = {840, 594};
    Open(doc, good);
    EXPECT_TRUE(result.loaded);
    EXPECT_EQ(doc.drawing().mainList.size(), 50u);
    EXPECT_EQ(doc.filePath(), good);
    EXPECT_EQ(doc.lastPath(), good);
    EXPECT_EQ(doc.Title(), good);
    EXPECT_FALSE(doc.modified());
    double paperWidth = 0, paperHeight = 0;
    display::PaperSize(doc.drawing().shownPaperSize, paperWidth, paperHeight);
    EXPECT_DOUBLE_EQ(doc.Screen().viewWidth, paperWidth);
    EXPECT_DOUBLE_EQ(doc.Screen().centerX, 0);
    // The view stopped drawing the old drawing before it was replaced, and
    // was then told to redraw the new one.
    EXPECT_EQ(view.events, (std::vector<std::string>{"stop 0", "update 50"}));
}

TEST_F(DrawingDocumentTest, AFailedReadKeepsWhatWasReadButIsTiedToNoFile) {
    DrawingDocument doc(store, false);
    Open(doc, good);
    Open(doc, damaged);
    EXPECT_FALSE(result.loaded);
    EXPECT_EQ(result.message, damaged + " の末尾以降にアクセスしようとしました。");
    // The header read before the damage stays.
    EXPECT_EQ(doc.drawing().header.writeLayerGroup, 5u);
    EXPECT_LT(doc.drawing().mainList.size(), 50u);
    EXPECT_EQ(doc.lastPath(), damaged);
    EXPECT_FALSE(doc.HasFileToSave());
    EXPECT_EQ(doc.Title(), "無題");

    Open(doc, dir + "/missing.jww");
    EXPECT_FALSE(result.loaded);
    EXPECT_EQ(result.message, "ローカル読込でエラー！");
    EXPECT_FALSE(result.detail.empty());
    EXPECT_TRUE(doc.drawing().mainList.empty());
    EXPECT_FALSE(doc.HasFileToSave());
}

TEST_F(DrawingDocumentTest, AnOldFileIsRefusedWithItsMessageAndLeavesAnEmptyDrawing) {
    Bytes old = full;
    // The version follows the 8-byte signature.
    old[8] = 0x9F;
    old[9] = 0x01;  // 415
    const std::string path = dir + "/old.jww";
    WriteBytes(path, old);
    DrawingDocument doc(store, false);
    Open(doc, path);
    EXPECT_FALSE(result.loaded);
    EXPECT_EQ(result.message, CJwwDoc::kTooOldMessage);
    EXPECT_TRUE(doc.drawing().mainList.empty());
    EXPECT_FALSE(doc.HasFileToSave());
}

TEST_F(DrawingDocumentTest, ChangesMarkTheDocumentModifiedAndStopTheViewsFirst) {
    DrawingDocument doc(store, false);
    Open(doc, good);
    RecordingView view(doc);
    int told = 0;
    doc.onStateChanged = [&told] { ++told; };
    doc.ChangeDrawing([](CJwwDoc& d) { d.RemoveElement(d.mainList.back().get()); });
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(told, 1);
    EXPECT_EQ(view.events, (std::vector<std::string>{"stop 50", "update 49"}));

    const SaveOutcome saved = doc.SaveTo(dir + "/copy.jww");
    EXPECT_TRUE(saved.ok()) << saved.message << " " << saved.detail;
    EXPECT_FALSE(doc.modified());
    // Saving elsewhere changes neither the tied file nor the dialogs' name.
    EXPECT_EQ(doc.filePath(), good);
    EXPECT_EQ(doc.lastPath(), good);
    CJwwDoc back;
    LoadJwwFile(dir + "/copy.jww", back);
    EXPECT_EQ(back.mainList.size(), 49u);
}

TEST_F(DrawingDocumentTest, AFailedSaveReportsWhyLeavesTheOldFileWholeAndTheDocumentModified) {
    struct Case {
        const char* what;
        std::function<void()> fail;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"the disk fills midway", [] { throw JwwFileError("No space left on device"); }, "ローカル保存でエラー！"},
        {"the stream fails midway", [] { throw JwwGenericError(); }, "%1 へのアクセス中に不明なエラーが発生しました。"},
    };
    // Either temporary file; a named one is there to be left behind.
    for (const TemporaryFileMode mode : {TemporaryFileMode::Unnamed, TemporaryFileMode::Named}) {
        SetTemporaryFileMode(mode);
        for (const Case& c : cases) {
            DrawingDocument doc(store, false);
            Open(doc, good);
            doc.ChangeDrawing([](CJwwDoc& d) { d.RemoveElements([](const CData&) { return true; }); });
            doc.SetSaveFunction(
                [&c](const std::string& path, CJwwDoc& d) { return SaveFailingMidway(path, d, c.fail); });
            const SaveOutcome saved = doc.SaveTo(good);
            EXPECT_FALSE(saved.ok()) << c.what;
            std::string message = c.message;
            if (message.find("%1") != std::string::npos) message.replace(message.find("%1"), 2, good);
            EXPECT_EQ(saved.message, message) << c.what;
            EXPECT_TRUE(doc.modified()) << c.what;
            EXPECT_EQ(test::ReadFileBytes(good), full) << c.what;
            // Nothing is left beside the target.
            std::vector<std::string> names;
            for (const auto& e : std::filesystem::directory_iterator(dir))
                names.push_back(e.path().filename().string());
            std::sort(names.begin(), names.end());
            EXPECT_EQ(names, (std::vector<std::string>{"damaged.jww", "good.jww"})) << c.what;
        }
    }
    SetTemporaryFileMode(TemporaryFileMode::Unnamed);
}

TEST_F(DrawingDocumentTest, ASaveIntoAPlaceThatCannotHoldAFileSaysSoWithTheSystemsReason) {
    DrawingDocument doc(store, false);
    Open(doc, good);
    // A regular file stands where the folder would be.
    const SaveOutcome saved = doc.SaveTo(good + "/inside.jww");
    EXPECT_FALSE(saved.ok());
    EXPECT_EQ(saved.message, "ローカル保存でエラー！");
    EXPECT_NE(saved.detail.find("Not a directory"), std::string::npos) << saved.detail;
    EXPECT_EQ(test::ReadFileBytes(good), full);
}

TEST_F(DrawingDocumentTest, AnEditedDrawingKeepsTheViewWindowAndTheFileAndMarksTheDocument) {
    DrawingDocument doc(store, false);
    Open(doc, good);
    doc.Values().extent = {21167, 15875};
    doc.Screen().centerX = 12.5;
    doc.Screen().centerY = -3;
    doc.Screen().viewWidth = 80;
    RecordingView view(doc);
    int told = 0;
    doc.onStateChanged = [&told] { ++told; };
    EXPECT_EQ(doc.objectExtent().width, 0);

    auto edited = Lines(3);
    edited->header.writeLayerGroup = 9;
    doc.TakeEditedDrawing(std::move(edited));
    EXPECT_EQ(doc.drawing().mainList.size(), 3u);
    EXPECT_EQ(doc.drawing().header.writeLayerGroup, 9u);
    EXPECT_EQ(doc.drawing().layerElementCount[0][0], 3);
    EXPECT_DOUBLE_EQ(doc.Screen().centerX, 12.5);
    EXPECT_DOUBLE_EQ(doc.Screen().centerY, -3);
    EXPECT_DOUBLE_EQ(doc.Screen().viewWidth, 80);
    EXPECT_EQ(doc.objectExtent().width, 21167);
    EXPECT_EQ(doc.objectExtent().height, 15875);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(told, 1);
    EXPECT_EQ(doc.filePath(), good);
    EXPECT_EQ(doc.lastPath(), good);
    EXPECT_EQ(view.events, (std::vector<std::string>{"stop 50", "update 3"}));
    doc.TakeEditedDrawing(nullptr);  // nothing to take: nothing changes
    EXPECT_EQ(doc.drawing().mainList.size(), 3u);
}

TEST_F(DrawingDocumentTest, NewEmptiesTheDrawingKeepsTheHeaderAndUntiesIt) {
    DrawingDocument doc(store, false);
    Open(doc, good);
    doc.ChangeDrawing([](CJwwDoc& d) { d.header.writeLayerGroup = 7; });
    doc.NewDocument();
    EXPECT_TRUE(doc.drawing().mainList.empty());
    EXPECT_EQ(doc.drawing().header.writeLayerGroup, 7u);
    EXPECT_FALSE(doc.HasFileToSave());
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.lastPath(), good);
}

TEST_F(DrawingDocumentTest, MissingDefinitionsAndASpentPlacementBudgetAreSaidOncePerLoadedDrawing) {
    DrawingDocument doc(store, false);
    std::vector<std::string> said, notices;
    doc.onMissingDefinitions = [&said](const std::string& m) { said.push_back(m); };
    doc.onPlacementBudgetSpent = [&notices](const std::string& m) { notices.push_back(m); };
    Open(doc, good);
    display::DrawReport report;
    report.missingDefinitions = {3, 12};
    report.budgetExhausted = true;
    doc.DrawFinished(doc.drawing(), report);
    doc.DrawFinished(doc.drawing(), report);
    CJwwDoc other;
    Open(doc, good);
    doc.DrawFinished(other, report);  // a picture of another drawing
    doc.DrawFinished(doc.drawing(), report);
    EXPECT_EQ(said, (std::vector<std::string>(2, "ブロックが見つかりません！\n(定義番号 3, 12)")));
    EXPECT_EQ(notices, (std::vector<std::string>(2, display::kPlacementBudgetMessage)));

    // Every other way a drawing comes in makes both notices due once more.
    const std::vector<std::pair<const char*, std::function<void()>>> arrivals = {
        {"new", [&] { doc.NewDocument(); }},
        {"edited", [&] { doc.TakeEditedDrawing(Lines(2)); }},
        {"object",
         [&] {
             doc.TakeObjectDrawing(Lines(2), {1000, 1000}, "オブジェクト");
         }},
        {"recovered", [&] { EXPECT_TRUE(doc.FinishRecovery("", LoadDrawingFile(good))); }},
    };
    for (const auto& [what, arrive] : arrivals) {
        said.clear();
        notices.clear();
        arrive();
        doc.DrawFinished(doc.drawing(), report);
        doc.DrawFinished(doc.drawing(), report);
        EXPECT_EQ(said.size(), 1u) << what;
        EXPECT_EQ(notices.size(), 1u) << what;
    }
}

TEST_F(DrawingDocumentTest, SettingsAreReadAtCreationAndEveryValueWrittenBackAtTheEnd) {
    store.PutString("settings", "zoomup", "1");
    store.PutString("Settings", "DotSize", "30");
    {
        DrawingDocument doc(store, false);
        EXPECT_EQ(doc.ZoomUp(), 1);
        EXPECT_EQ(doc.Values().dotSize, 30);
        doc.settings().jwwPath = "/opt/jw";
    }
    for (const char* name :
         {"ZubVersion",   "CellLeft",   "CellRight", "CellTop",   "CellBottom", "GridStyle", "GridColor",
          "CellTextType", "LayerGroup", "LayerLine", "LayerText", "DotSize",    "JwwPath",   "ObjEdit",
          "ObjOutp",      "CellCone",   "CellGrig",  "CellLayer", "CellBlock",  "ZoomUp"})
        EXPECT_TRUE(store.Has("Settings", name)) << name;
    EXPECT_EQ(store.GetString("Settings", "JwwPath", ""), "/opt/jw");
    EXPECT_EQ(store.GetInt("Settings", "ZoomUp", 0), 1);
}

}  // namespace
}  // namespace tolvani::viewer
