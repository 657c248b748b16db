#include "app/CTolvaniDoc.h"

#include <memory>

namespace tolvani {

CTolvaniDoc::CTolvaniDoc(CSettingsStore& store, bool runningEmbedded, QObject* parent)
    : QObject(parent), rules_(store, runningEmbedded) {
    recent_.Load(store);
    rules_.onStateChanged = [this] { emit stateChanged(); };
    rules_.onMissingDefinitions = [this](const std::string& message) {
        emit missingDefinitions(QString::fromStdString(message));
    };
}

CTolvaniDoc::~CTolvaniDoc() {
    for (QThread* t : loaders_) {
        t->wait();
        delete t;
    }
    recent_.Save(rules_.store());
}

void CTolvaniDoc::NewDocument() {
    rules_.NewDocument();
    emit drawingReplaced();
}

void CTolvaniDoc::TakeEditedDrawing(std::unique_ptr<CJwwDoc> edited) {
    rules_.TakeEditedDrawing(std::move(edited));
    emit drawingReplaced();
}

void CTolvaniDoc::OpenFile(const QString& path) {
    const uint64_t generation = ++openGeneration_;
    ++loadsRunning_;
    emit openStarted(path);
    const std::string file = path.toStdString();
    QThread* thread = QThread::create([this, file, path, generation] {
        auto load = std::make_shared<LoadOutcome>(LoadDrawingFile(file));
        QMetaObject::invokeMethod(
            this,
            [this, load, path, generation] {
                --loadsRunning_;
                // A later open has been asked for: this reading is dropped.
                if (generation != openGeneration_) return;
                const CDrawingDocument::OpenResult r = rules_.FinishOpen(path.toStdString(), std::move(*load));
                if (r.loaded)
                    recent_.Add(path.toStdString());
                else
                    recent_.Remove(path.toStdString());
                emit recentFilesChanged();
                emit drawingReplaced();
                emit openFinished(path, r.loaded, QString::fromStdString(r.message),
                                  QString::fromStdString(r.detail));
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

}  // namespace tolvani
