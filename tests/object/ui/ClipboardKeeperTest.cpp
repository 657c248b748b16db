// The object copy outlives the program: its formats go to a keeper process
// that offers them until something else is copied. The hand-over needs an X
// server; ctest runs this under xvfb-run when it is there.
#include <gtest/gtest.h>

#include <signal.h>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "object/ui/ClipboardKeeper.h"
#include "object/ui/ObjectClipboard.h"

namespace tolvani::object {
namespace {

std::unique_ptr<QMimeData> SomeObject() {
    NativePrefix prefix;
    prefix.extentWidth = 21000;
    prefix.extentHeight = 14850;
    const std::vector<uint8_t> native = {'T', 'o', 'l', 'v', 'a', 'n', 'i', 0, 1, 2};
    return std::unique_ptr<QMimeData>(
        MakeObjectMimeData(prefix, native, QByteArray("\x89PNG not really", 15), QByteArray("<svg/>")));
}

TEST(ClipboardRecord, EveryFormatComesBackAndDamageIsRefused) {
    const auto object = SomeObject();
    object->setData("application/x-empty", QByteArray());
    const QByteArray packed = PackMimeData(*object);
    const std::unique_ptr<QMimeData> back(UnpackMimeData(packed));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->formats(), object->formats());
    for (const QString& format : object->formats())
        EXPECT_EQ(back->data(format), object->data(format)) << format.toStdString();

    for (qsizetype cut = 0; cut < packed.size(); ++cut) ASSERT_EQ(UnpackMimeData(packed.left(cut)), nullptr) << cut;
    EXPECT_EQ(UnpackMimeData(packed + QByteArray(1, 'x')), nullptr);
    QByteArray otherMagic = packed;
    otherMagic[0] = 'X';
    EXPECT_EQ(UnpackMimeData(otherMagic), nullptr);
    QByteArray hugeCount = packed;
    hugeCount[4] = '\x7F';  // the count's high byte
    EXPECT_EQ(UnpackMimeData(hugeCount), nullptr);
}

TEST(ClipboardRecord, KeeperLeavesAFileThatIsNoRecordAlone) {
    QFile notes(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/notes.txt");
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("not a record");
    notes.close();
    QProcess keeper;
    keeper.start(QStringLiteral(TOLVANI_VIEWER), {QString::fromLatin1(kKeepClipboardSwitch), notes.fileName()});
    ASSERT_TRUE(keeper.waitForFinished(60000));
    EXPECT_EQ(keeper.exitCode(), 1);
    EXPECT_TRUE(notes.exists());
}

// A keeper that has ended is gone or a zombie (nobody may reap it here).
bool Running(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close > 0 && close + 2 < text.size() && text[close + 2] != 'Z';
}

bool WaitUntil(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

QStringList PendingRecords() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .entryList({QStringLiteral("tolvani-clipboard-*")}, QDir::Files);
}

TEST(ClipboardKeeper, ObjectCopyStaysUntilSomethingElseIsCopied) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X server";
    QClipboard* clipboard = QGuiApplication::clipboard();

    // Text is not ours to keep.
    clipboard->setText(QStringLiteral("plain"));
    EXPECT_EQ(HandOverClipboard(QStringLiteral(TOLVANI_VIEWER)), 0);

    const auto expected = SomeObject();
    clipboard->setMimeData(SomeObject().release());
    ASSERT_TRUE(clipboard->ownsClipboard());
    const qint64 pid = HandOverClipboard(QStringLiteral(TOLVANI_VIEWER));
    ASSERT_GT(pid, 0);
    EXPECT_FALSE(clipboard->ownsClipboard());
    EXPECT_TRUE(Running(pid));
    EXPECT_TRUE(WaitUntil([] { return PendingRecords().isEmpty(); }, 10000)) << "the keeper removes its file";

    // Another program (this one, no longer the owner) reads every format.
    const QMimeData* offered = clipboard->mimeData();
    ASSERT_TRUE(offered);
    for (const QString& format : expected->formats()) {
        EXPECT_TRUE(offered->hasFormat(format)) << format.toStdString();
        EXPECT_EQ(offered->data(format), expected->data(format)) << format.toStdString();
    }
    EXPECT_FALSE(offered->hasText());

    // Another program copies something else. (This one cannot: X refuses a
    // new owner whose time is older than the keeper's, and this program's
    // time is that of its last event.) A second keeper is such a program.
    QMimeData other;
    other.setData(QStringLiteral("text/plain"), "something else");
    QFile record(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/other-record");
    ASSERT_TRUE(record.open(QIODevice::WriteOnly));
    record.write(PackMimeData(other));
    record.close();
    qint64 second = 0;
    ASSERT_TRUE(QProcess::startDetached(QStringLiteral(TOLVANI_VIEWER),
                                        {QString::fromLatin1(kKeepClipboardSwitch), record.fileName()}, QString(),
                                        &second));
    EXPECT_TRUE(WaitUntil([pid] { return !Running(pid); }, 10000)) << "the keeper ends when it loses the clipboard";
    EXPECT_TRUE(Running(second));
    EXPECT_EQ(clipboard->text(), QStringLiteral("something else"));
    for (qint64 keeper : {pid, second})
        if (Running(keeper)) ::kill(static_cast<pid_t>(keeper), SIGKILL);
}

}  // namespace
}  // namespace tolvani::object

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (!runtime.isValid()) return 2;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
