// The toolbar is complete on a desktop without an icon theme: every button
// has a picture of the program's own, drawn from its SVG.
#include <gtest/gtest.h>

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "viewer/CommandTable.h"
#include "viewer/ui/ToolbarIcons.h"

namespace tolvani::viewer {
namespace {

bool HasInk(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) return true;
    return false;
}

TEST(ToolbarIcons, EveryButtonHasAPictureWithoutAnIconTheme) {
    QIcon::setThemeName(QString());
    QIcon::setThemeSearchPaths({});
    for (const int id : MainToolbar()) {
        if (id == 0) continue;
        SCOPED_TRACE(id);
        const QIcon icon = ToolbarIcon(id);
        ASSERT_FALSE(icon.isNull());
        for (const int size : {16, 24, 48}) EXPECT_TRUE(HasInk(icon.pixmap(size, size))) << size;
        EXPECT_TRUE(QFile::exists(ToolbarOwnIcon(id)));
    }
    // The program's own commands have no theme name; standard ones do.
    EXPECT_TRUE(ToolbarThemeName(cmd::kTableImport).isEmpty());
    EXPECT_TRUE(ToolbarThemeName(cmd::kLayerSettings).isEmpty());
    EXPECT_EQ(ToolbarThemeName(cmd::kFileNew), "document-new");
    EXPECT_EQ(ToolbarThemeName(cmd::kEditCopy), "edit-copy");
    EXPECT_TRUE(ToolbarIcon(cmd::kHelp).isNull());
}

}  // namespace
}  // namespace tolvani::viewer
