#include "viewer/ui/CTolvaniDoc.h"

#include <memory>

namespace tolvani::viewer {

CTolvaniDoc::CTolvaniDoc(settings::SettingsStore& store, bool runningEmbedded, QObject* parent)
    : QObject(parent), core_(store, runningEmbedded) {
    recent_.Load(store);
    core_.onStateChanged = [this] { emit stateChanged(); };
    core_.onMissingDefinitions = [this](const std::string& message) {
        emit missingDefinitions(QString::fromStdString(message));
    };
    core_.onPlacementBudgetSpent = [this](const std::string& message) {
        emit placementBudgetSpent(QString::fromStdString(message));
    };
}

CTolvaniDoc::~CTolvaniDoc() {
    for (QThread* t : loaders_) {
        t->wait();
        delete t;
    }
    recent_.Save(core_.store());
}

void CTolvaniDoc::NewDocument() {
    core_.NewDocument();
    emit drawingReplaced();
}

void CTolvaniDoc::TakeEditedDrawing(std::unique_ptr<CJwwDoc> edited) {
    core_.TakeEditedDrawing(std::move(edited));
    emit drawingReplaced();
}

void CTolvaniDoc::OpenFile(const QString& path) {
    emit openStarted(path);
    ReadOnWorker(path, [this, path](LoadOutcome&& load) {
        const DrawingDocument::OpenResult r = core_.FinishOpen(path.toStdString(), std::move(load));
        if (r.loaded)
            recent_.Add(path.toStdString());
        else
            recent_.Remove(path.toStdString());
        emit recentFilesChanged();
        emit drawingReplaced();
        emit openFinished(path, r.loaded, QString::fromStdString(r.message), QString::fromStdString(r.detail));
    });
}

void CTolvaniDoc::OpenRecovered(const QString& recoveryPath, const QString& sourcePath) {
    emit openStarted(recoveryPath);
    ReadOnWorker(recoveryPath, [this, recoveryPath, sourcePath](LoadOutcome&& load) {
        const QString message = QString::fromStdString(load.message), detail = QString::fromStdString(load.detail);
        const bool restored = core_.FinishRecovery(sourcePath.toStdString(), std::move(load));
        if (restored) emit drawingReplaced();
        // The window's busy state ends as for any read.
        emit openFinished(recoveryPath, true, QString(), QString());
        emit recoveryFinished(restored, message, detail);
    });
}

void CTolvaniDoc::ReadOnWorker(const QString& path, std::function<void(LoadOutcome&&)> done) {
    const uint64_t generation = ++openGeneration_;
    ++loadsRunning_;
    const std::string file = path.toStdString();
    QThread* thread = QThread::create([this, file, generation, done] {
        auto load = std::make_shared<LoadOutcome>(LoadDrawingFile(file));
        QMetaObject::invokeMethod(
            this,
            [this, load, generation, done] {
                --loadsRunning_;
                // A later open has been asked for: this reading is dropped.
                if (generation != openGeneration_) return;
                done(std::move(*load));
            },
            Qt::QueuedConnection);
    });
    // Finished readers are dropped the next time one starts.
    for (auto it = loaders_.begin(); it != loaders_.end();) {
        if ((*it)->isFinished()) {
            delete *it;
            it = loaders_.erase(it);
        } else {
            ++it;
        }
    }
    loaders_.push_back(thread);
    thread->start();
}

}  // namespace tolvani::viewer
