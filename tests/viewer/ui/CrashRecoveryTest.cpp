// Crash recovery: the modified drawing written to this process's recovery
// file and removed on a save; a running program's file never offered to
// another, a crashed one's offered; 復元, 破棄 and 後で.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "model/DrawingGenerator.h"
#include "model/JwwFile.h"
#include "model/JwwStream.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/CTolvaniDoc.h"
#include "viewer/ui/CrashRecovery.h"

#include "tests/support/ScriptedPrompts.h"

namespace tolvani::viewer {
namespace {

std::vector<uint8_t> Bytes(CJwwDoc& doc) {
    std::vector<uint8_t> out;
    JwwStream ar(out);
    doc.Save(ar);
    ar.Flush();
    return out;
}

std::vector<uint8_t> Drawing(long elements, uint64_t seed) {
    CJwwDoc doc;
    GenerateDrawing(doc, {elements, seed, 5});
    return Bytes(doc);
}

// A program that writes a recovery file and is then killed: its lock file
// stays behind with the number of a process that is gone. It runs as a
// program of its own, as a fork of this process (which has threads) could
// stop on a lock another thread held.
void CrashAfterWriting(const QString& folder, const std::vector<uint8_t>& drawing, const std::string& source) {
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("drawing.jww"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(drawing.data()), static_cast<qint64>(drawing.size()));
    out.close();
    QProcess child;
    child.start(QStringLiteral(TOLVANI_RECOVERY_CRASH_CHILD), {folder, path, QString::fromStdString(source)});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardError().toStdString();
}

class CrashRecoveryTest : public testing::Test {
protected:
    CrashRecoveryTest() : doc_(store_, false), frame_(doc_, prompts_) {
        folder_ = dir_.filePath("recovery");
        recovery_ = new CrashRecovery(frame_, prompts_, std::make_unique<RecoveryFiles>(folder_), 40);
        frame_.show();
    }
    QStringList Files() const { return QDir(folder_).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir dir_;
    QString folder_;
    settings::MemorySettingsStore store_;
    test::QuietPrompts prompts_;
    CTolvaniDoc doc_;
    CMainFrame frame_;
    CrashRecovery* recovery_ = nullptr;
};

TEST_F(CrashRecoveryTest, AModifiedDrawingIsWrittenByTheTimerAndGoesWhenSaved) {
    QSignalSpy written(recovery_, &CrashRecovery::written);
    // Unmodified: nothing is written.
    QTest::qWait(150);
    EXPECT_EQ(written.count(), 0);
    EXPECT_TRUE(recovery_->files().drawingPath().isEmpty());

    doc_.core().ChangeDrawing([](CJwwDoc& d) { GenerateDrawing(d, {1500, 31, 6}); });
    ASSERT_TRUE(written.wait(5000));
    EXPECT_TRUE(written.at(0).at(0).toBool());
    const QString path = recovery_->files().drawingPath();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(path.startsWith(folder_));
    LoadOutcome back = LoadDrawingFile(QFile::encodeName(path).toStdString());
    ASSERT_TRUE(back.ok()) << back.message;
    // What a plain save of the drawing reads back as.
    const std::string reference = dir_.filePath("reference.jww").toStdString();
    doc_.core().ChangeDrawing([&](CJwwDoc& d) { ASSERT_TRUE(SaveDrawingFile(reference, d).ok()); }, false);
    LoadOutcome expected = LoadDrawingFile(reference);
    ASSERT_TRUE(expected.ok());
    EXPECT_EQ(Bytes(*back.doc), Bytes(*expected.doc));

    // A save ends the need for it.
    const QString saved = dir_.filePath("saved.jww");
    ASSERT_TRUE(doc_.core().SaveTo(saved.toStdString()).ok());
    EXPECT_FALSE(doc_.core().modified());
    if (recovery_->writing()) {
        ASSERT_TRUE(written.wait(5000));
    }
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(Files().filter(".jww").isEmpty()) << Files().join(" ").toStdString();
}

TEST_F(CrashRecoveryTest, ARunningProgramsFileIsNeverOfferedACrashedOnesIs) {
    // This program's own file, held under its lock.
    ASSERT_TRUE(recovery_->files().Write(Drawing(200, 1), "/home/a/own.jww"));
    // Another running program's file.
    RecoveryFiles other(folder_);
    ASSERT_TRUE(other.Write(Drawing(200, 2), "/home/a/other.jww"));
    RecoveryFiles third(folder_);
    EXPECT_TRUE(third.FindLeftOvers().empty());

    CrashAfterWriting(folder_, Drawing(300, 3), "/home/a/図面.jww");
    const auto left = third.FindLeftOvers();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].sourcePath, QStringLiteral("/home/a/図面.jww"));
    EXPECT_TRUE(LoadDrawingFile(QFile::encodeName(left[0].drawingPath).toStdString()).ok());
    // Still not the running ones' files, looked at from either of them.
    EXPECT_EQ(other.FindLeftOvers().size(), 1u);
    EXPECT_EQ(recovery_->files().FindLeftOvers().size(), 1u);
}

TEST_F(CrashRecoveryTest, RestoreOpensAModifiedUntitledDrawingThatRemembersItsFile) {
    CJwwDoc crashed;
    GenerateDrawing(crashed, {800, 41, 4});
    const std::size_t elements = crashed.mainList.size();
    CrashAfterWriting(folder_, Bytes(crashed), "/work/図面/敷地.jww");

    prompts_.restoreAnswer = UiPrompts::RestoreAnswer::Restore;
    QSignalSpy restored(recovery_, &CrashRecovery::restoreFinished);
    QSignalSpy written(recovery_, &CrashRecovery::written);
    ASSERT_TRUE(recovery_->OfferLeftOver());
    ASSERT_EQ(prompts_.restoreAsked.size(), 1);
    EXPECT_TRUE(prompts_.restoreAsked[0].contains("/work/図面/敷地.jww"));
    ASSERT_TRUE(restored.wait(5000));
    EXPECT_TRUE(restored.at(0).at(0).toBool());
    EXPECT_TRUE(doc_.core().modified());
    EXPECT_TRUE(doc_.core().filePath().empty());
    EXPECT_EQ(doc_.core().lastPath(), "/work/図面/敷地.jww");
    EXPECT_EQ(doc_.core().Title(), DrawingDocument::kUntitled);
    EXPECT_EQ(doc_.core().drawing().mainList.size(), elements);

    // Once this program holds its own copy, the crashed run's file goes.
    if (recovery_->writing() || written.isEmpty()) {
        ASSERT_TRUE(written.wait(5000));
    }
    EXPECT_TRUE(recovery_->files().FindLeftOvers().empty());
    EXPECT_FALSE(recovery_->files().drawingPath().isEmpty());
    EXPECT_TRUE(prompts_.messages.isEmpty());
}

TEST_F(CrashRecoveryTest, DiscardRemovesTheFileLaterKeepsItAndABrokenOneSaysSo) {
    CrashAfterWriting(folder_, Drawing(100, 5), "");
    prompts_.restoreAnswer = UiPrompts::RestoreAnswer::Later;
    EXPECT_FALSE(recovery_->OfferLeftOver());
    EXPECT_EQ(recovery_->files().FindLeftOvers().size(), 1u);
    EXPECT_FALSE(doc_.core().modified());
    EXPECT_TRUE(prompts_.restoreAsked.at(0).startsWith("無題"));

    prompts_.restoreAnswer = UiPrompts::RestoreAnswer::Discard;
    EXPECT_FALSE(recovery_->OfferLeftOver());
    EXPECT_TRUE(recovery_->files().FindLeftOvers().empty());
    EXPECT_TRUE(Files().isEmpty()) << Files().join(" ").toStdString();

    // A recovery file cut short: the drawing stays as it was, the user is
    // told, and the file stays to be discarded.
    std::vector<uint8_t> cut = Drawing(400, 6);
    cut.resize(cut.size() / 2);
    CrashAfterWriting(folder_, cut, "/x/y.jww");
    prompts_.restoreAnswer = UiPrompts::RestoreAnswer::Restore;
    QSignalSpy restored(recovery_, &CrashRecovery::restoreFinished);
    ASSERT_TRUE(recovery_->OfferLeftOver());
    ASSERT_TRUE(restored.wait(5000));
    EXPECT_FALSE(restored.at(0).at(0).toBool());
    ASSERT_EQ(prompts_.messages.size(), 1);
    EXPECT_EQ(prompts_.messages[0], QString::fromUtf8(CrashRecovery::kRestoreFailed));
    EXPECT_FALSE(doc_.core().modified());
    EXPECT_TRUE(doc_.core().drawing().mainList.empty());
    EXPECT_EQ(recovery_->files().FindLeftOvers().size(), 1u);
}

TEST(CrashRecoveryFiles, ANormalEndLeavesNothingBehind) {
    QTemporaryDir dir;
    {
        RecoveryFiles files(dir.path());
        ASSERT_TRUE(files.Write(Drawing(100, 7), "/a.jww"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);  // drawing, source, lock
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

}  // namespace
}  // namespace tolvani::viewer
