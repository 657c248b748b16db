// Answering a modal dialog from a GUI test: the dialog runs its own event
// loop, so the answer comes from a timer that waits for it to open.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace tolvani::test {

// Runs `act` on the modal dialog of type T as soon as one is open. A dialog
// that stays open after its answer would hold the test for ever: it fails
// the test instead, closing what it left open.
template <class T>
void WhenModal(std::function<void(T*)> act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        auto* d = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!d) return;
        timer->stop();
        timer->deleteLater();
        act(d);
        QTimer::singleShot(20000, qApp, [answered = QPointer<QWidget>(d)] {
            if (!answered || !answered->isVisible()) return;
            ADD_FAILURE() << "a dialog stayed open after its answer: " << answered->metaObject()->className();
            while (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                open->reject();
                if (open == answered) break;
            }
        });
    });
    timer->start();
}

}  // namespace tolvani::test
