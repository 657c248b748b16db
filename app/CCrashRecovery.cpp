#include "app/CCrashRecovery.h"

#include <QDateTime>

#include "app/CMainFrame.h"
#include "app/CTolvaniDoc.h"
#include "model/JwwStream.h"

namespace tolvani {

const char* const CCrashRecovery::kRestoreFailed = "前回終了時の図面を復元できませんでした。";

CCrashRecovery::CCrashRecovery(CMainFrame& frame, CUiPrompts& prompts, std::unique_ptr<CRecoveryFiles> files,
                               int intervalMs)
    : QObject(&frame), frame_(frame), prompts_(prompts), files_(files ? std::move(files) : std::make_unique<CRecoveryFiles>()) {
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { WriteNow(); });
    timer_.start();
    CTolvaniDoc& doc = frame_.document();
    connect(&doc, &CTolvaniDoc::stateChanged, this, &CCrashRecovery::StateChanged);
    connect(&doc, &CTolvaniDoc::recoveryFinished, this,
            [this](bool restored, const QString& message, const QString& detail) {
                if (!restored) {
                    prompts_.Message(&frame_, CUiPrompts::Icon::Stop, QString::fromUtf8(kRestoreFailed),
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

CCrashRecovery::~CCrashRecovery() {
    if (writer_.joinable()) writer_.join();
    // files_ removes this process's file as it goes.
}

void CCrashRecovery::StateChanged() {
    if (frame_.document().rules().modified()) return;
    // Saved, replaced or emptied: there is nothing to recover any more.
    if (writer_.joinable())
        removeAfterWrite_ = true;
    else
        files_->Remove();
}

bool CCrashRecovery::WriteNow() {
    CTolvaniDoc& doc = frame_.document();
    CDrawingDocument& rules = doc.rules();
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
        QMetaObject::invokeMethod(this, [this, ok] { WriteFinished(ok); }, Qt::QueuedConnection);
    });
    return true;
}

void CCrashRecovery::WriteFinished(bool ok) {
    if (writer_.joinable()) writer_.join();
    if (removeAfterWrite_ || !frame_.document().rules().modified()) files_->Remove();
    removeAfterWrite_ = false;
    if (discardAfterWrite_ && ok) {
        CRecoveryFiles::Discard(restoring_);
        discardAfterWrite_ = false;
    }
    emit written(ok);
}

bool CCrashRecovery::OfferLeftOver() {
    const std::vector<CRecoveryFiles::LeftOver> left = files_->FindLeftOvers();
    if (left.empty()) return false;
    const CRecoveryFiles::LeftOver& newest = left.front();
    const QString name = newest.sourcePath.isEmpty() ? QStringLiteral("無題") : newest.sourcePath;
    const QString when = QDateTime::fromMSecsSinceEpoch(newest.modified).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    switch (prompts_.AskRestore(&frame_, QStringLiteral("%1（%2 の状態）").arg(name, when))) {
        case CUiPrompts::RestoreAnswer::Restore:
            restoring_ = newest;
            frame_.document().OpenRecovered(newest.drawingPath, newest.sourcePath);
            return true;
        case CUiPrompts::RestoreAnswer::Discard:
            CRecoveryFiles::Discard(newest);
            return false;
        case CUiPrompts::RestoreAnswer::Later:
            break;
    }
    return false;
}

}  // namespace tolvani
