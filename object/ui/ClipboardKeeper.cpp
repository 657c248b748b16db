#include "object/ui/ClipboardKeeper.h"

#include <QClipboard>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>
#include <QTimer>
#include <memory>

#include "object/ui/ObjectClipboard.h"

namespace tolvani::object {

const char* const kKeepClipboardSwitch = "--keep-clipboard";

namespace {

constexpr quint32 kRecordMagic = 0x544F4C43;  // "TOLC"
constexpr int kHandOverMilliseconds = 5000;

}  // namespace

QByteArray PackMimeData(const QMimeData& data) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    const QStringList formats = data.formats();
    out << kRecordMagic << static_cast<quint32>(formats.size());
    for (const QString& format : formats) out << format << data.data(format);
    return bytes;
}

QMimeData* UnpackMimeData(const QByteArray& bytes) {
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, count = 0;
    in >> magic >> count;
    if (in.status() != QDataStream::Ok || magic != kRecordMagic || count == 0) return nullptr;
    auto data = std::make_unique<QMimeData>();
    // The count is not trusted: every entry must be there in full.
    for (quint32 i = 0; i < count; ++i) {
        QString format;
        QByteArray value;
        in >> format >> value;
        if (in.status() != QDataStream::Ok || format.isEmpty()) return nullptr;
        data->setData(format, value);
    }
    if (!in.atEnd()) return nullptr;
    return data.release();
}

qint64 HandOverClipboard(const QString& program) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return 0;
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard->mimeData();
    if (!clipboard->ownsClipboard() || !data || !data->hasFormat(kObjectMimeType)) return 0;

    QTemporaryFile file(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
                        QStringLiteral("/tolvani-clipboard-XXXXXX"));
    file.setAutoRemove(false);
    const QByteArray bytes = PackMimeData(*data);
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
        file.remove();
        return 0;
    }
    file.close();
    qint64 pid = 0;
    if (!QProcess::startDetached(program, {QString::fromLatin1(kKeepClipboardSwitch), file.fileName()}, QString(),
                                 &pid)) {
        file.remove();
        return 0;
    }
    // The keeper takes the clipboard over from this program.
    QDeadlineTimer deadline(kHandOverMilliseconds);
    while (clipboard->ownsClipboard() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return pid;
}

int RunClipboardKeeper(int& argc, char** argv, const QString& path) {
    QGuiApplication app(argc, argv);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 1;
    const QByteArray bytes = file.readAll();
    file.close();
    // Only a record of ours is removed.
    QMimeData* data = UnpackMimeData(bytes);
    if (!data) return 1;
    file.remove();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(data);  // the clipboard owns it now
    if (!clipboard->ownsClipboard()) return 1;
    // Ownership is looked at now and then: on X11 the clipboard's change
    // is told before its loss is recorded, so the signal cannot tell.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&app, clipboard] {
        if (!clipboard->ownsClipboard()) app.quit();
    });
    poll.start(500);
    return app.exec();
}

}  // namespace tolvani::object
