#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "settings/PathDialogRules.h"
#include "settings/SettingsSheetRules.h"
#include "settings/ui/CApryDisp.h"
#include "settings/ui/CPathDlg.h"
#include "settings/ui/CPropColor.h"
#include "settings/ui/CPropSheet.h"
#include "settings/ui/CPropText.h"
#include "settings/ui/CProptyDisp.h"
#include "settings/ui/DotSizeSpin.h"
#include "tests/support/WhenModal.h"

namespace tolvani::settings {
namespace {

using test::WhenModal;

QRgb SampleColor(QWidget* sample) {
    const QImage image = sample->grab().toImage();
    return image.pixel(image.width() / 2, image.height() / 2) & 0xFFFFFF;
}

template <class T>
T* Child(QWidget* parent, const char* name) {
    auto* w = parent->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

CJwwHeader NewHeader() {
    CJwwHeader h;
    h.SetNewDrawingDefaults();
    return h;
}

TEST(SettingsSheet, ChoosingPureRedForColourThreeShowsAndStoresIt) {
    for (bool ok : {false, true}) {
        CJwwHeader header = NewHeader();
        const uint32_t before = header.color[3];
        SettingsSheetRules rules;
        rules.CopyIn(header, 0, 16);
        CPropSheet sheet(rules);
        sheet.show();
        EXPECT_EQ(sheet.windowTitle(), "Tolvani 設定");
        ASSERT_EQ(sheet.tabs()->count(), 3);
        EXPECT_EQ(sheet.tabs()->tabText(0), "線色");
        EXPECT_EQ(sheet.tabs()->tabText(1), "表示");
        EXPECT_EQ(sheet.tabs()->tabText(2), "文字種");
        EXPECT_EQ(sheet.tabs()->currentIndex(), 0);
        auto* page = sheet.colorPage();
        EXPECT_EQ(page->colorButton(7)->text(), "線色 7");
        EXPECT_EQ(page->colorButton(8)->text(), "線色 ８");
        EXPECT_EQ(Child<QLineEdit>(page, "green3")->text(), "192");
        EXPECT_EQ(SampleColor(page->sample(3)), 0x00C000u);

        WhenModal<QColorDialog>([](QColorDialog* d) {
            d->setCurrentColor(QColor(255, 0, 0));
            d->accept();
        });
        QTest::mouseClick(page->colorButton(3), Qt::LeftButton);
        EXPECT_EQ(Child<QLineEdit>(page, "red3")->text(), "255");
        EXPECT_EQ(Child<QLineEdit>(page, "green3")->text(), "0");
        EXPECT_EQ(Child<QLineEdit>(page, "blue3")->text(), "0");
        EXPECT_EQ(SampleColor(page->sample(3)), 0xFF0000u);

        // Cancel in the chooser changes nothing.
        WhenModal<QColorDialog>([](QColorDialog* d) {
            d->setCurrentColor(QColor(0, 0, 255));
            d->reject();
        });
        QTest::mouseClick(page->colorButton(3), Qt::LeftButton);
        EXPECT_EQ(Child<QLineEdit>(page, "red3")->text(), "255");

        QTest::mouseClick(Child<QPushButton>(&sheet, ok ? "okButton" : "cancelButton"), Qt::LeftButton);
        EXPECT_FALSE(sheet.isVisible());
        int zoomUp = 0, dotSize = 16;
        if (sheet.result() == QDialog::Accepted) {
            EXPECT_TRUE(rules.CopyOut(header, zoomUp, dotSize).drawing);
        }
        EXPECT_EQ(header.color[3], ok ? 0x0000FFu : before);
    }
}

TEST(SettingsSheet, TextTypesShowTheirSizesAndTakeAColourNumber) {
    CJwwHeader header = NewHeader();
    SettingsSheetRules rules;
    rules.CopyIn(header, 0, 16);
    CPropSheet sheet(rules);
    sheet.show();
    sheet.tabs()->setCurrentIndex(2);
    auto* page = sheet.textPage();
    EXPECT_TRUE(page->findChildren<QLabel*>().size() > 10);
    auto* number = page->colorNumber(3);
    EXPECT_EQ(number->text(), "2");
    EXPECT_EQ(SampleColor(page->sample(3)), 0x000000u);  // colour 2: black
    number->selectAll();
    QTest::keyClicks(number, "6");
    EXPECT_EQ(rules.textColor[3], 6u);
    EXPECT_EQ(SampleColor(page->sample(3)), 0x0000FFu);  // colour 6: 0xFF0000 is blue
    // A line colour chosen on the first page repaints the text type's sample.
    sheet.tabs()->setCurrentIndex(0);
    WhenModal<QColorDialog>([](QColorDialog* d) {
        d->setCurrentColor(QColor(0, 128, 0));
        d->accept();
    });
    QTest::mouseClick(sheet.colorPage()->colorButton(6), Qt::LeftButton);
    EXPECT_EQ(SampleColor(page->sample(3)), 0x008000u);
    // The sizes are read-only.
    for (auto* e : page->findChildren<QLineEdit*>()) {
        if (!e->objectName().startsWith("textColor")) {
            EXPECT_TRUE(e->isReadOnly()) << e->objectName().toStdString();
        }
    }
}

TEST(SettingsSheet, DisplayPageStepsThePointSizeInsideItsRange) {
    CJwwHeader header = NewHeader();
    SettingsSheetRules rules;
    rules.CopyIn(header, 0, 16);
    CPropSheet sheet(rules);
    sheet.show();
    sheet.tabs()->setCurrentIndex(1);
    auto* page = sheet.displayPage();
    EXPECT_EQ(page->zoomUp()->text(), "マウスホイール手前でズームアップ");
    QTest::mouseClick(page->zoomUp(), Qt::LeftButton);
    EXPECT_EQ(rules.zoomUp, 1);
    auto* spin = page->dotSize();
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(rules.dotSize, 17);
    for (int i = 0; i < 60; ++i) QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(rules.dotSize, 50);
    for (int i = 0; i < 60; ++i) QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(rules.dotSize, 2);
    // Typing is not the way to change it.
    QTest::keyClicks(spin, "9");
    EXPECT_EQ(rules.dotSize, 2);
}

TEST(DisplayDialog, StepsAndHandsBackThePointSize) {
    CApryDisp dlg(16);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "表示設定");
    dlg.spin()->setFocus();
    QTest::keyClick(dlg.spin(), Qt::Key_Up);
    EXPECT_EQ(dlg.value(), 17);
    QTest::mouseClick(Child<QPushButton>(&dlg, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.value(), 17);
    // A value outside the range shows inside it and is handed back unchanged
    // unless stepped.
    CApryDisp wide(120);
    EXPECT_EQ(wide.spin()->value(), 50);
    EXPECT_EQ(wide.value(), 120);
}

TEST(PathDialog, ShowsTheValuesBrowsesAndTakesThemOnOk) {
    QTemporaryDir dir;
    const QString program = dir.filePath("jwcad-native");
    {
        QFile f(program);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    for (bool ok : {false, true}) {
        PathDialogRules rules;
        rules.CopyIn(PathDialogRules::kDefaultPath, 1, 0);
        CPathDlg dlg(rules);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), "外部アプリケーションの登録");
        EXPECT_EQ(dlg.pathEdit()->text(), "c:\\JWW\\Jw_win.exe");
        auto* edit = Child<QCheckBox>(&dlg, "allowEditCheck");
        auto* outport = Child<QCheckBox>(&dlg, "allowOutportCheck");
        EXPECT_TRUE(edit->isChecked());
        EXPECT_FALSE(outport->isChecked());
        EXPECT_EQ(edit->text(), "貼付けたオブジェクトの編集を許可する");

        // A program without ".exe" is taken from the chooser.
        QStringList filters;
        WhenModal<QFileDialog>([&](QFileDialog* d) {
            filters = d->nameFilters();
            d->setDirectory(dir.path());
            d->selectNameFilter(d->nameFilters().back());
            d->selectFile(program);
            static_cast<QDialog*>(d)->accept();
        });
        QTest::mouseClick(dlg.browseButton(), Qt::LeftButton);
        ASSERT_EQ(filters.size(), 2);
        EXPECT_EQ(filters[0], "アプリケーションファイル(*.exe)");
        EXPECT_EQ(dlg.pathEdit()->text(), program);
        QTest::mouseClick(outport, Qt::LeftButton);

        QTest::mouseClick(Child<QPushButton>(&dlg, ok ? "okButton" : "cancelButton"), Qt::LeftButton);
        std::string path = PathDialogRules::kDefaultPath;
        int objEdit = 1, objOutp = 0;
        if (dlg.result() == QDialog::Accepted) {
            EXPECT_TRUE(rules.CopyOut(path, objEdit, objOutp));
        }
        EXPECT_EQ(path, ok ? program.toStdString() : std::string(PathDialogRules::kDefaultPath));
        EXPECT_EQ(objOutp, ok ? 1 : 0);
    }
}

}  // namespace
}  // namespace tolvani::settings
