// The Qt application object that drawing needs, started quietly and on the
// offscreen platform when there is no display.
#pragma once

#include <QGuiApplication>
#include <memory>

namespace tolvani::cli {

// Null when an application object exists already.
std::unique_ptr<QGuiApplication> StartGui();

}  // namespace tolvani::cli
