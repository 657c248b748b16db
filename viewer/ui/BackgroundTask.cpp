#include "viewer/ui/BackgroundTask.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <exception>
#include <thread>

namespace tolvani::viewer {

void RunInBackground(QWidget* parent, const QString& message, const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    // A modal window without a cancel button keeps the other commands out;
    // it shows only when the work takes long enough to be noticed.
    QProgressDialog progress(message, QString(), 0, 0, parent);
    progress.setWindowTitle(QApplication::applicationDisplayName());
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(300);
    progress.setAutoClose(false);
    progress.setValue(0);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    if (!done) loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    QApplication::restoreOverrideCursor();
    progress.reset();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace tolvani::viewer
