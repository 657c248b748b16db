#include "viewer/ui/RecoveryFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "model/JwwFile.h"

namespace tolvani::viewer {

namespace {

// The companions of a recovery file "X.jww": "X.source" with the path of
// the drawing's own file (UTF-8), "X.lock" with the lock of its process.
QString BaseOf(const QString& drawingPath) { return drawingPath.left(drawingPath.size() - 4); }

void WriteAtomically(const QString& path, const void* data, std::size_t size) {
    WriteBytesAtomically(QFile::encodeName(path).toStdString(), data, size);
}

}  // namespace

RecoveryFiles::RecoveryFiles(const QString& folder) : folder_(folder) {
    if (folder_.isEmpty())
        folder_ = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

RecoveryFiles::~RecoveryFiles() {
    Remove();
    std::lock_guard<std::mutex> hold(mutex_);
    if (lock_) lock_->unlock();
}

QString RecoveryFiles::drawingPath() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return written_ ? base_ + QStringLiteral(".jww") : QString();
}

bool RecoveryFiles::EnsureOwnFiles(std::string* error) {
    if (lock_) return true;
    if (!QDir().mkpath(folder_)) {
        if (error) *error = "フォルダ " + QFile::encodeName(folder_).toStdString() + " を作れません。";
        return false;
    }
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QString base = QStringLiteral("%1/recovery-%2-%3")
                                 .arg(folder_)
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        if (QFileInfo::exists(base + QStringLiteral(".jww"))) continue;
        auto lock = std::make_unique<QLockFile>(base + QStringLiteral(".lock"));
        // Held for as long as the process runs; never stale by age.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) continue;
        base_ = base;
        lock_ = std::move(lock);
        return true;
    }
    if (error) *error = "回復用ファイルのロックを取れません。";
    return false;
}

bool RecoveryFiles::Write(const std::vector<uint8_t>& drawing, const std::string& sourcePath, std::string* error) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (!EnsureOwnFiles(error)) return false;
    try {
        // The source first: a drawing file never stands without it.
        WriteAtomically(base_ + QStringLiteral(".source"), sourcePath.data(), sourcePath.size());
        WriteAtomically(base_ + QStringLiteral(".jww"), drawing.data(), drawing.size());
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
    written_ = true;
    return true;
}

void RecoveryFiles::Remove() {
    std::lock_guard<std::mutex> hold(mutex_);
    if (!lock_) return;
    QFile::remove(base_ + QStringLiteral(".jww"));
    QFile::remove(base_ + QStringLiteral(".source"));
    written_ = false;
}

std::vector<RecoveryFiles::LeftOver> RecoveryFiles::FindLeftOvers() const {
    std::vector<LeftOver> found;
    QString own;
    {
        std::lock_guard<std::mutex> hold(mutex_);
        own = base_;
    }
    const QDir dir(folder_);
    const QStringList names = dir.entryList({QStringLiteral("recovery-*.jww")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        const QString base = BaseOf(path);
        if (base == own) continue;
        // A lock held by a running program: its file is not left over. A
        // lock of a process that is gone is stale and is taken here.
        QLockFile lock(base + QStringLiteral(".lock"));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0)) continue;
        lock.unlock();
        LeftOver l;
        l.drawingPath = path;
        QFile source(base + QStringLiteral(".source"));
        if (source.open(QIODevice::ReadOnly)) l.sourcePath = QString::fromUtf8(source.read(64 * 1024));
        l.modified = QFileInfo(path).lastModified().toMSecsSinceEpoch();
        found.push_back(l);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const LeftOver& a, const LeftOver& b) { return a.modified > b.modified; });
    return found;
}

void RecoveryFiles::Discard(const LeftOver& leftOver) {
    const QString base = BaseOf(leftOver.drawingPath);
    QFile::remove(leftOver.drawingPath);
    QFile::remove(base + QStringLiteral(".source"));
    QFile::remove(base + QStringLiteral(".lock"));
}

}  // namespace tolvani::viewer
