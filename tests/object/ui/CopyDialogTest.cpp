// The object copy dialog driven through its widgets.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "object/CopyDialogRules.h"
#include "object/ui/CCopyDlg.h"

namespace tolvani::object {
namespace {

struct CopyView {
    CopyView() {
        values.clientSize = {800, 600};
        values.clientHimetric = {21167, 15875};
        values.extent = values.clientHimetric;
        screen.viewWidth = 423.3;
        screen.viewHeight = 423.3 * 15875 / 21167;
        screen.deviceWidth = 800;
        screen.deviceHeight = 600;
        screen.UpdateVisibleRect();
        screen.UpdateScales();
    }
    display::CJwwScreen screen;
    display::ViewValues values;
};

QString Text(QWidget& dlg, const char* name) { return dlg.findChild<QLineEdit*>(name)->text(); }

void TypeScale(QWidget& dlg, const QString& text) {
    auto* edit = dlg.findChild<QLineEdit*>("scaleEdit");
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

TEST(CopyDialog, RescaleShowsTheDrawingAtTheNewScaleAndCopyDoesNotApplyTheTypedOne) {
    CopyView v;
    object::CopyDialogRules rules(v.screen, v.values, true, true);
    int redraws = 0;
    CCopyDlg dlg(rules, [&] { ++redraws; });
    EXPECT_EQ(dlg.windowTitle(), "オブジェクトのコピー");
    EXPECT_EQ(Text(dlg, "pasteSizeEdit"), "  211.7mm× 158.8mm");
    EXPECT_EQ(Text(dlg, "drawingSizeEdit"), "  423.3mm× 317.5mm");
    EXPECT_EQ(Text(dlg, "scaleEdit"), "    0.50");
    EXPECT_EQ(dlg.findChild<QLineEdit*>("scaleEdit")->selectedText(), "    0.50");

    for (const char* ignored : {"abc", "0"}) {
        TypeScale(dlg, ignored);
        QTest::mouseClick(dlg.findChild<QPushButton*>("rescaleButton"), Qt::LeftButton);
        EXPECT_EQ(redraws, 0);
        EXPECT_EQ(Text(dlg, "drawingSizeEdit"), "  423.3mm× 317.5mm");
    }
    TypeScale(dlg, "1");
    QTest::mouseClick(dlg.findChild<QPushButton*>("rescaleButton"), Qt::LeftButton);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(Text(dlg, "drawingSizeEdit"), Text(dlg, "pasteSizeEdit"));
    EXPECT_EQ(Text(dlg, "scaleEdit"), "    1.00");

    TypeScale(dlg, "2");
    QTest::mouseClick(dlg.findChild<QCheckBox*>("allowOutportCheck"), Qt::LeftButton);
    QTest::mouseClick(dlg.findChild<QPushButton*>("copyButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(v.screen.viewWidth, 211.67);  // the typed 2 was not applied
    EXPECT_TRUE(rules.objEdit());
    EXPECT_FALSE(rules.objOutp());
}

TEST(CopyDialog, CancelAfterRescaleKeepsTheNewScaleAndTakesNoCheckBox) {
    CopyView v;
    object::CopyDialogRules rules(v.screen, v.values, true, true);
    CCopyDlg dlg(rules, [] {});
    TypeScale(dlg, "1");
    QTest::mouseClick(dlg.findChild<QPushButton*>("rescaleButton"), Qt::LeftButton);
    QTest::mouseClick(dlg.findChild<QCheckBox*>("allowEditCheck"), Qt::LeftButton);
    QTest::mouseClick(dlg.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_DOUBLE_EQ(v.screen.viewWidth, 211.67);
    EXPECT_TRUE(rules.objEdit());
}

}  // namespace
}  // namespace tolvani::object
