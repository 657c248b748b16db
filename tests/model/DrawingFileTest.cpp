// Loading a file into a new drawing and saving one, as outcomes with the
// user's message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "model/CJwwDoc.h"
#include "model/JwwErrors.h"
#include "model/JwwFile.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::Bytes;
using test::ByteWriter;

struct TempDir {
    std::string path = test::MakeTempDir();
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        const std::string p = path + "/" + name;
        std::FILE* f = std::fopen(p.c_str(), "wb");
        if (f) {
            if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return p;
    }
};

// A new drawing with two lines, as a file's bytes.
Bytes TwoLineDrawing() {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    doc.header.memo = JwwString("memo");
    for (int i = 0; i < 2; ++i) {
        auto line = std::make_unique<CDataSen>();
        line->end = {10.0 * (i + 1), 5};
        doc.AddElement(std::move(line));
    }
    return test::SaveToBytes(doc);
}

TEST(DrawingFileLoad, OutcomeForEachKindOfFile) {
    TempDir dir;
    const Bytes good = TwoLineDrawing();
    Bytes old = test::NewDrawingHeaderBytes();
    const uint32_t v419 = 419;
    std::memcpy(old.data() + 8, &v419, 4);
    // Without the definition count and the last 3 bytes of the second line.
    const Bytes cut(good.begin(), good.end() - 5);
    std::filesystem::create_directory(dir.path + "/folder");

    const struct Case {
        const char* name;
        std::string path;
        LoadOutcome::Status status;
        std::string message;
        std::string detail;
        std::size_t elements;
    } cases[] = {
        {"whole drawing", dir.Write("good.jww", good), LoadOutcome::Status::Loaded, "", "", 2},
        {"version 419", dir.Write("old.jww", old), LoadOutcome::Status::TooOld, CJwwDoc::kTooOldMessage, "", 0},
        {"cut in the second element", dir.Write("cut.jww", cut), LoadOutcome::Status::StreamError,
         dir.path + "/cut.jww の末尾以降にアクセスしようとしました。", "", 1},
        {"empty file", dir.Write("empty.jww", {}), LoadOutcome::Status::StreamError,
         dir.path + "/empty.jww の末尾以降にアクセスしようとしました。", "", 0},
        {"missing file", dir.path + "/none.jww", LoadOutcome::Status::FileError, kLocalReadErrorMessage,
         std::strerror(ENOENT), 0},
        {"folder", dir.path + "/folder", LoadOutcome::Status::FileError, kLocalReadErrorMessage, std::strerror(EISDIR),
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadOutcome out = LoadDrawingFile(c.path);
        EXPECT_EQ(out.status, c.status);
        EXPECT_EQ(out.ok(), c.status == LoadOutcome::Status::Loaded);
        EXPECT_EQ(out.message, c.message);
        EXPECT_EQ(out.detail, c.detail);
        ASSERT_NE(out.doc, nullptr);
        EXPECT_EQ(out.doc->mainList.size(), c.elements);
        EXPECT_TRUE(out.doc->blockList.empty());
        // Every drawing starts from the new-drawing defaults: the dash
        // definitions are never stored, so they come from the defaults alone.
        CJwwHeader defaults;
        defaults.SetNewDrawingDefaults();
        EXPECT_EQ(out.doc->header.dashes[16].name, defaults.dashes[16].name);
        EXPECT_EQ(out.doc->header.dashes[1].segmentCount, defaults.dashes[1].segmentCount);
    }
}

TEST(DrawingFileLoad, EveryLoadGetsItsOwnDrawing) {
    TempDir dir;
    const std::string path = dir.Write("good.jww", TwoLineDrawing());
    const LoadOutcome a = LoadDrawingFile(path);
    const LoadOutcome b = LoadDrawingFile(path);
    ASSERT_TRUE(a.ok() && b.ok());
    EXPECT_NE(a.doc.get(), b.doc.get());
    EXPECT_NE(a.doc->contentGeneration, b.doc->contentGeneration);
    EXPECT_EQ(a.doc->header.memo.toUtf8(), "memo");
    EXPECT_EQ(test::SaveToBytes(*a.doc), test::SaveToBytes(*b.doc));
}

TEST(DrawingFileSave, OutcomeWithTheSystemReason) {
    TempDir dir;
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();

    const SaveOutcome saved = SaveDrawingFile(dir.path + "/a.jww", doc);
    EXPECT_TRUE(saved.ok());
    EXPECT_EQ(saved.message, "");
    EXPECT_EQ(test::ReadFileBytes(dir.path + "/a.jww"), test::SaveToBytes(doc));

    const SaveOutcome missing = SaveDrawingFile(dir.path + "/missing/b.jww", doc);
    EXPECT_EQ(missing.status, SaveOutcome::Status::FileError);
    EXPECT_EQ(missing.message, kLocalWriteErrorMessage);
    EXPECT_EQ(missing.detail, std::strerror(ENOENT));
}

}  // namespace
}  // namespace tolvani

namespace tolvani {
namespace {

std::vector<std::string> FolderNames(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicWrite, ASaveInProgressHasNoNameOrAShortOneThatASignalHandlerCanRemove) {
    TempDir dir;
    const std::string target = dir.path + "/" + std::string(250, 'n') + ".jww";  // 254 bytes
    dir.Write(target.substr(dir.path.size() + 1), Bytes{'o', 'l', 'd'});
    std::vector<std::string> during;
    WriteFileAtomically(target, [&](std::FILE* f) {
        std::fputs("new", f);
        during = FolderNames(dir.path);
    });
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{'n', 'e', 'w'}));
    EXPECT_EQ(FolderNames(dir.path).size(), 1u);
    // Where the file system has unnamed files, the folder shows nothing new
    // while the file is written; elsewhere a short name, whatever the
    // target's length.
    ASSERT_GE(during.size(), 1u);
    ASSERT_LE(during.size(), 2u);
    if (during.size() == 2) {
        const std::string& tmp = during[0] == target.substr(dir.path.size() + 1) ? during[1] : during[0];
        EXPECT_EQ(tmp.compare(0, 9, ".tolvani-"), 0) << tmp;
        EXPECT_LE(tmp.size(), 17u);
    }

    // What a signal handler calls in the middle of a save leaves the old
    // file and no temporary one.
    EXPECT_THROW(WriteFileAtomically(target,
                                     [&](std::FILE* f) {
                                         std::fputs("partial", f);
                                         std::fflush(f);
                                         RemovePendingTemporaryFiles();
                                         throw JwwGenericError("interrupted");
                                     }),
                 JwwGenericError);
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{'n', 'e', 'w'}));
    EXPECT_EQ(FolderNames(dir.path).size(), 1u);
}

TEST(AtomicWrite, FoldersAndLinkLoopsAreRefusedWithTheReason) {
    TempDir dir;
    try {
        WriteFileAtomically(dir.path, [](std::FILE*) {});
        ADD_FAILURE() << "a folder was written";
    } catch (const JwwFileError& e) {
        EXPECT_EQ(e.systemError(), EISDIR);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path));
    // A link loop ends with the system's word for it.
    std::filesystem::create_symlink("b", dir.path + "/a");
    std::filesystem::create_symlink("a", dir.path + "/b");
    try {
        WriteFileAtomically(dir.path + "/a", [](std::FILE*) {});
        ADD_FAILURE() << "a link loop was written";
    } catch (const JwwFileError& e) {
        EXPECT_EQ(e.systemError(), ELOOP);
    }
}

}  // namespace
}  // namespace tolvani
