#include "blocks/ui/BlockImages.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace tolvani {
namespace {

const char* const kImagePaths[4] = {
    ":/blocks/images/block-page.svg",
    ":/blocks/images/block-page-selected.svg",
    ":/blocks/images/block-folder.svg",
    ":/blocks/images/block-folder-open.svg",
};

}  // namespace

QPixmap BlockImage(int image, int size, qreal ratio) {
    const int px = qRound(size * ratio);
    QPixmap pm(px, px);
    pm.fill(Qt::transparent);
    QSvgRenderer svg(QString::fromLatin1(kImagePaths[image & 3]));
    QPainter p(&pm);
    svg.render(&p, QRectF(0, 0, px, px));
    p.end();
    pm.setDevicePixelRatio(ratio);
    return pm;
}

QIcon BlockIcon(int image) {
    QIcon icon;
    const int normal = image & 2;
    for (qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
        icon.addPixmap(BlockImage(normal, 16, ratio), QIcon::Normal);
        icon.addPixmap(BlockImage(normal + 1, 16, ratio), QIcon::Selected);
    }
    return icon;
}

}  // namespace tolvani
