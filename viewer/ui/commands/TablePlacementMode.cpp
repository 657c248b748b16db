#include "viewer/ui/commands/TablePlacementMode.h"

#include <QPen>
#include <QRect>

namespace tolvani::viewer {

void TablePlacementMode::Arm(double width, double height) {
    armed_ = true;
    tracking_ = false;
    width_ = width;
    height_ = height;
}

void TablePlacementMode::Disarm() {
    armed_ = false;
    tracking_ = false;
}

void TablePlacementMode::Press(const JwwPoint& at, QPoint) {
    if (!armed_) return;
    corner_ = at;
    tracking_ = true;
}

void TablePlacementMode::Move(const JwwPoint& at, QPoint) {
    if (armed_ && tracking_) corner_ = at;
}

void TablePlacementMode::Release(const JwwPoint& at, QPoint) {
    if (!armed_ || !tracking_) return;
    tracking_ = false;
    corner_ = at;
    if (onPlace && onPlace(at)) Disarm();
}

void TablePlacementMode::Paint(QPainter& painter, const display::CJwwScreen& screen) {
    if (!armed_ || !tracking_) return;
    const display::DevicePoint a = screen.ToDevice(corner_.x, corner_.y);
    const display::DevicePoint b = screen.ToDevice(corner_.x + width_, corner_.y - height_);
    // Drawn inverted over the picture, as the zoom band is.
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    const QRect box = QRect(QPoint(a.x, a.y), QPoint(b.x, b.y)).normalized();
    painter.drawRect(box.adjusted(0, 0, -1, -1));
}

bool TablePlacementMode::Key(int qtKey) {
    if (!armed_ || qtKey != Qt::Key_Escape) return false;
    Disarm();
    if (onCancel) onCancel();
    return true;
}

}  // namespace tolvani::viewer
