// What follows a drawing in its file: kept as a range of the file, never
// read into memory, copied byte for byte by every save, also by a save over
// the file it came from, and never taken from a file that changed since.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "model/AtomicFile.h"
#include "model/CJwwDoc.h"
#include "model/DrawingGenerator.h"
#include "model/JwwFile.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::Bytes;
using test::ByteWriter;
namespace fs = std::filesystem;

class DrawingTailFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::MakeTempDir();
        ASSERT_NE(dir_, "/tmp");
        CJwwDoc doc;
        GeneratorOptions options;
        options.elements = 300;
        options.definitions = 2;
        options.seed = 7;
        GenerateDrawing(doc, options);
        drawing_ = test::SaveToBytes(doc);
        // What a save of that drawing writes once it has been read (a save
        // raises one header value).
        CJwwDoc read;
        EXPECT_EQ(test::LoadFromBytes(read, drawing_), CJwwDoc::LoadResult::Loaded);
        resaved_ = test::SaveToBytes(read);
        // Longer than the read buffer, every byte value, starting anywhere.
        for (std::size_t i = 0; i < 300000; ++i) tail_.push_back(static_cast<uint8_t>((i * 7 + i / 256) & 0xFF));
    }
    void TearDown() override {
        SetTemporaryFileMode(TemporaryFileMode::Unnamed);
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string WriteBytes(const std::string& name, const Bytes& bytes) const {
        return test::WriteTestFile(dir_, name, std::string(bytes.begin(), bytes.end()));
    }
    Bytes WithTail(const Bytes& body) const { return ByteWriter().append(body).append(tail_).bytes; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir_;
    Bytes drawing_, resaved_, tail_;
};

TEST_F(DrawingTailFile, EverySaveCopiesTheTailByteForByteAlsoOverItsOwnSource) {
    for (const TemporaryFileMode mode :
         {TemporaryFileMode::Unnamed, TemporaryFileMode::UnnamedCopied, TemporaryFileMode::Named}) {
        SCOPED_TRACE(static_cast<int>(mode));
        SetTemporaryFileMode(mode);
        const std::string source = WriteBytes("source.jww", WithTail(drawing_));
        LoadOutcome loaded = LoadDrawingFile(source);
        ASSERT_TRUE(loaded.ok()) << loaded.message;
        EXPECT_EQ(loaded.doc->trailingBytes.size(), tail_.size());

        ASSERT_TRUE(SaveDrawingFile(Path("other.jww"), *loaded.doc).ok());
        EXPECT_EQ(test::ReadFileBytes(Path("other.jww")), WithTail(resaved_));
        EXPECT_EQ(test::SaveToBytes(*loaded.doc), WithTail(resaved_));
        // Over the file the tail is read from, twice: the tail is copied
        // from the file as it was read, whatever took its name since.
        for (int round = 0; round < 2; ++round) {
            const SaveOutcome saved = SaveDrawingFile(source, *loaded.doc);
            ASSERT_TRUE(saved.ok()) << saved.detail;
            EXPECT_EQ(test::ReadFileBytes(source), WithTail(resaved_)) << round;
        }
        EXPECT_EQ(Names(), (std::vector<std::string>{"other.jww", "source.jww"}));
        fs::remove(Path("other.jww"));
    }
}

TEST_F(DrawingTailFile, ASourceChangedAfterTheReadFailsTheSaveAndLeavesTheTargetWhole) {
    const struct {
        const char* what;
        long newSize;  // -1: the same size, other bytes
    } cases[] = {{"cut short", static_cast<long>(drawing_.size() + 10)},
                 {"grown", static_cast<long>(drawing_.size() + tail_.size() + 100)},
                 {"rewritten in place", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string source = WriteBytes("source.jww", WithTail(drawing_));
        LoadOutcome loaded = LoadDrawingFile(source);
        ASSERT_TRUE(loaded.ok());
        // Another program changes the file in place.
        const int fd = ::open(source.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        if (c.newSize >= 0) {
            ASSERT_EQ(::ftruncate(fd, c.newSize), 0);
        } else {
            timespec later[2] = {{0, UTIME_OMIT}, {1000000, 0}};  // another time of change
            ASSERT_EQ(::pwrite(fd, "zz", 2, static_cast<off_t>(drawing_.size())), 2);
            ASSERT_EQ(::futimens(fd, later), 0);
        }
        ::close(fd);
        WriteBytes("target.jww", ByteWriter().text("old").bytes);
        const SaveOutcome saved = SaveDrawingFile(Path("target.jww"), *loaded.doc);
        EXPECT_EQ(saved.status, SaveOutcome::Status::FileError);
        EXPECT_EQ(saved.message, kLocalWriteErrorMessage);
        EXPECT_NE(saved.detail.find("変更されています"), std::string::npos) << saved.detail;
        EXPECT_EQ(test::ReadFileBytes(Path("target.jww")), ByteWriter().text("old").bytes);
        EXPECT_EQ(Names(), (std::vector<std::string>{"source.jww", "target.jww"}));
    }
}

TEST_F(DrawingTailFile, AGigabyteOfTailIsNeitherReadNorHeld) {
    // A sparse file: the gigabyte takes no room on the disk.
    const std::string source = WriteBytes("big.jww", drawing_);
    ASSERT_EQ(::truncate(source.c_str(), off_t{1} << 30), 0);
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const LoadOutcome loaded = LoadDrawingFile(source);
    getrusage(RUSAGE_SELF, &after);
    ASSERT_TRUE(loaded.ok()) << loaded.message;
    EXPECT_EQ(loaded.doc->trailingBytes.size(), (uint64_t{1} << 30) - drawing_.size());
    EXPECT_EQ(loaded.doc->mainList.size(), 300u);
    // The peak grows by what the drawing takes, not by the gigabyte.
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 128L * 1024) << "KiB";
}

}  // namespace
}  // namespace tolvani
