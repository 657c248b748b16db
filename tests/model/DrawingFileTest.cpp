// Loading a file into a new drawing and saving one, as outcomes with the
// user's message.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>

#include "model/CJwwDoc.h"
#include "model/InputFile.h"
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
    const std::string notDrawing = "は JWW 図面ではありません（ファイルの先頭が「JwwData.」ではありません）。";

    // The detail names the file wherever the message does not; a file that
    // cannot be read gives the system's reason, or why it is not read.
    const struct Case {
        const char* name;
        std::string path;
        LoadOutcome::Status status;
        std::string message;
        std::string reason;
        std::size_t elements;
    } cases[] = {
        {"whole drawing", dir.Write("good.jww", good), LoadOutcome::Status::Loaded, "", "", 2},
        {"version 419", dir.Write("old.jww", old), LoadOutcome::Status::TooOld, CJwwDoc::kTooOldMessage, "", 0},
        {"cut in the second element", dir.Write("cut.jww", cut), LoadOutcome::Status::StreamError,
         dir.path + "/cut.jww の末尾以降にアクセスしようとしました。", "", 1},
        {"empty file", dir.Write("empty.jww", {}), LoadOutcome::Status::StreamError,
         dir.path + "/empty.jww の末尾以降にアクセスしようとしました。", "", 0},
        {"a file of zeros", dir.Write("zeros.jww", Bytes(65536, 0)), LoadOutcome::Status::StreamError,
         dir.path + "/zeros.jww " + notDrawing, "", 0},
        {"a text", dir.Write("text.jww", ByteWriter().text("not a drawing\n").bytes), LoadOutcome::Status::StreamError,
         dir.path + "/text.jww " + notDrawing, "", 0},
        {"missing file", dir.path + "/none.jww", LoadOutcome::Status::FileError, kLocalReadErrorMessage,
         std::strerror(ENOENT), 0},
        {"folder", dir.path + "/folder", LoadOutcome::Status::FileError, kLocalReadErrorMessage, std::strerror(EISDIR),
         0},
        {"device", "/dev/null", LoadOutcome::Status::FileError, kLocalReadErrorMessage, NotRegularFileReason(S_IFCHR),
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadOutcome out = LoadDrawingFile(c.path);
        EXPECT_EQ(out.status, c.status);
        EXPECT_EQ(out.ok(), c.status == LoadOutcome::Status::Loaded);
        EXPECT_EQ(out.message, c.message);
        EXPECT_EQ(out.reason, c.reason);
        switch (c.status) {
            case LoadOutcome::Status::FileError: EXPECT_EQ(out.detail, c.path + "\n" + c.reason); break;
            case LoadOutcome::Status::TooOld: EXPECT_EQ(out.detail, c.path); break;
            default: EXPECT_EQ(out.detail, ""); break;
        }
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

TEST(DrawingFileLoad, AFileThatCannotBeReadGivesTheSystemsReason) {
    // Memory of this process that is not mapped at the file's start: the
    // read itself fails.
    if (::access("/proc/self/mem", R_OK) != 0) GTEST_SKIP() << "no /proc";
    const LoadOutcome out = LoadDrawingFile("/proc/self/mem");
    EXPECT_EQ(out.status, LoadOutcome::Status::FileError);
    EXPECT_EQ(out.message, kLocalReadErrorMessage);
    EXPECT_EQ(out.reason, std::strerror(EIO));
    EXPECT_EQ(out.detail, "/proc/self/mem\n" + std::string(std::strerror(EIO)));
    ASSERT_NE(out.doc, nullptr);
    EXPECT_TRUE(out.doc->mainList.empty());
}

TEST(DrawingFileLoad, AFifoIsRefusedAtOnceAndNeverWaitedOn) {
    TempDir dir;
    const std::string fifo = dir.path + "/f.jww";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // No one writes the FIFO: an open that waits never returns by itself.
    auto load = std::async(std::launch::async, [&] { return LoadDrawingFile(fifo); });
    if (load.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "the load waits on the FIFO";
        // A writer that comes and goes lets the waiting open end.
        const int w = ::open(fifo.c_str(), O_WRONLY);
        if (w >= 0) ::close(w);
    }
    const LoadOutcome out = load.get();
    EXPECT_EQ(out.status, LoadOutcome::Status::FileError);
    EXPECT_EQ(out.message, kLocalReadErrorMessage);
    EXPECT_EQ(out.reason, NotRegularFileReason(S_IFIFO));
    EXPECT_EQ(out.detail, fifo + "\n" + out.reason);
}

TEST(DrawingFileLoad, TheProcesssOwnDescriptorIsReadOnPurposeEvenAsAPipe) {
    // A command given /dev/stdin (here the read end of a pipe, named the
    // same way) reads what comes through, with what follows the drawing.
    const Bytes file = ByteWriter().append(TwoLineDrawing()).text("after the drawing").bytes;
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], file.data(), file.size()), static_cast<ssize_t>(file.size()));
    ::close(fds[1]);
    const LoadOutcome out = LoadDrawingFile("/dev/fd/" + std::to_string(fds[0]));
    ::close(fds[0]);
    ASSERT_TRUE(out.ok()) << out.message << " " << out.detail;
    EXPECT_EQ(out.doc->mainList.size(), 2u);
    EXPECT_EQ(out.doc->trailingBytes.size(), 17u);
    Bytes saved = test::SaveToBytes(*out.doc);
    EXPECT_EQ(Bytes(saved.end() - 17, saved.end()), ByteWriter().text("after the drawing").bytes);
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
