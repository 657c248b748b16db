// Runs work on a worker thread while the window goes on painting: the user
// sees a busy window with a message (after a short moment) and every other
// command waits until the work is done.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace tolvani::viewer {

// Returns when `work` has finished. `work` must not touch widgets.
void RunInBackground(QWidget* parent, const QString& message, const std::function<void()>& work);

}  // namespace tolvani::viewer
