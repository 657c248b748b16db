#include "viewer/ui/CrashRecovery.h"

#include <QDateTime>

#include "model/JwwStream.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/CTolvaniDoc.h"

namespace tolvani::viewer {

const char* const CrashRecovery::kRestoreFailed = "前回終了時の図面を復元できませんでした。";

CrashRecovery::CrashRecovery(CMainFrame& frame, UiPrompts& prompts, std::unique_ptr<RecoveryFiles> files,
                             int intervalMs)
    : QObject(&frame), frame_(frame), prompts_(prompts),
      files_(files ? std::move(files) : std::make_unique<RecoveryFiles>()) {
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { WriteNow(); });
    timer_.start();
    CTolvaniDoc& doc = frame_.document();
    connect(&doc, &CTolvaniDoc::stateChanged, this, &CrashRecovery::StateChanged);
    connect(&doc, &CTolvaniDoc::recoveryFinished, this,
            [this](bool restored, const QString& message, const QString& detail) {
                if (!restored) {
                    prompts_.Message(&frame_, UiPrompts::Icon::Stop, QString::fromUtf8(kRestoreFailed),
                                     message + (detail.isEmpty() ? QString() : QStringLiteral("\n") + detail));
                } else {
                    // The left-over file goes once this process holds its
                    // own copy of the drawing.
                    discardAfterWrite_ = true;
                    WriteNow();
                }
                emit restoreFinished(restored);
            });
}

CrashRecovery::~CrashRecovery() {
    if (writer_.joinable()) writer_.join();
    // files_ removes this process's file as it goes.
}

void CrashRecovery::StateChanged() {
    if (frame_.document().core().modified()) return;
    // Saved, replaced or emptied: there is nothing to recover any more.
    if (writer_.joinable())
        removeAfterWrite_ = true;
    else
        files_->Remove();
}

bool CrashRecovery::WriteNow() {
    CTolvaniDoc& doc = frame_.document();
    DrawingDocument& rules = doc.core();
    if (!rules.modified() || doc.loading() || writer_.joinable()) return false;
    auto bytes = std::make_shared<std::vector<uint8_t>>();
    try {
        // Saving counts the layers again, so it goes through the document.
        rules.ChangeDrawing(
            [&](CJwwDoc& d) {
                JwwStream ar(*bytes);
                d.Save(ar);
                ar.Flush();
            },
            false);
    } catch (const std::exception&) {
        return false;  // out of memory: the next round tries again
    }
    const std::string source = rules.filePath().empty() ? rules.lastPath() : rules.filePath();
    removeAfterWrite_ = false;
    writer_ = std::thread([this, bytes, source] {
        const bool ok = files_->Write(*bytes, source);
        QMetaObject::invokeMethod(
            this, [this, ok] { WriteFinished(ok); }, Qt::QueuedConnection);
    });
    return true;
}

void CrashRecovery::WriteFinished(bool ok) {
    if (writer_.joinable()) writer_.join();
    if (removeAfterWrite_ || !frame_.document().core().modified()) files_->Remove();
    removeAfterWrite_ = false;
    if (discardAfterWrite_ && ok) {
        RecoveryFiles::Discard(restoring_);
        discardAfterWrite_ = false;
    }
    emit written(ok);
}

bool CrashRecovery::OfferLeftOver() {
    const std::vector<RecoveryFiles::LeftOver> left = files_->FindLeftOvers();
    if (left.empty()) return false;
    const RecoveryFiles::LeftOver& newest = left.front();
    const QString name = newest.sourcePath.isEmpty() ? QStringLiteral("無題") : newest.sourcePath;
    const QString when = QDateTime::fromMSecsSinceEpoch(newest.modified).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    switch (prompts_.AskRestore(&frame_, QStringLiteral("%1（%2 の状態）").arg(name, when))) {
        case UiPrompts::RestoreAnswer::Restore:
            restoring_ = newest;
            frame_.document().OpenRecovered(newest.drawingPath, newest.sourcePath);
            return true;
        case UiPrompts::RestoreAnswer::Discard: RecoveryFiles::Discard(newest); return false;
        case UiPrompts::RestoreAnswer::Later: break;
    }
    return false;
}

}  // namespace tolvani::viewer
