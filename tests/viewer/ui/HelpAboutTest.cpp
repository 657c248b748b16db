#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "viewer/HelpText.h"
#include "viewer/ui/CAboutDlg.h"
#include "viewer/ui/CHelpDlg.h"

namespace tolvani::viewer {
namespace {

template <class T>
T* Child(QWidget* parent, const char* name) {
    auto* w = parent->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

class HelpFiles : public testing::Test {
protected:
    void Write(const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    std::vector<std::string> Folders() const { return {dir.path().toStdString()}; }
    QTemporaryDir dir;
};

TEST_F(HelpFiles, ButtonsSwitchTextsAndAMissingFileLeavesTheText) {
    Write(kHelpIntroFile, "\x82\xcd\x82\xb6\x82\xdf\x82\xc9\r\n");  // はじめに in Shift-JIS
    Write(kHelpToSpreadsheetFile, "エクセルに\n");
    CHelpDlg dlg(Folders(), nullptr);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "10分で分かるTolvani");
    EXPECT_EQ(dlg.text()->toPlainText(), "はじめに\n");
    EXPECT_TRUE(dlg.text()->isReadOnly());
    QTest::mouseClick(Child<QPushButton>(&dlg, "toSpreadsheetButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.text()->toPlainText(), "エクセルに\n");
    // "エクセルをJWW.txt" is missing: the text stays.
    QTest::mouseClick(Child<QPushButton>(&dlg, "fromSpreadsheetButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.text()->toPlainText(), "エクセルに\n");
    QTest::mouseClick(Child<QPushButton>(&dlg, "closeButton"), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(HelpFiles, WithoutTheIntroductionTheTextStartsEmpty) {
    Write(kHelpFromSpreadsheetFile, "表を\n");
    CHelpDlg dlg(Folders(), nullptr);
    EXPECT_TRUE(dlg.text()->toPlainText().isEmpty());
    QTest::mouseClick(Child<QPushButton>(&dlg, "fromSpreadsheetButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.text()->toPlainText(), "表を\n");
}

TEST(HelpDialog, FindsTheShippedManualsFromTheProgramsFolder) {
    CHelpDlg dlg;
    EXPECT_TRUE(dlg.text()->toPlainText().contains("はじめに"));
    QTest::mouseClick(Child<QPushButton>(&dlg, "fromSpreadsheetButton"), Qt::LeftButton);
    EXPECT_TRUE(dlg.text()->toPlainText().contains("insert-table"));
}

TEST(AboutBox, ShowsTheProgramAndItsVersion) {
    CAboutDlg dlg;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Tolvani について");
    EXPECT_EQ(Child<QLabel>(&dlg, "versionText")->text(), "Tolvani、バージョン 1.0.0");
    EXPECT_FALSE(Child<QLabel>(&dlg, "programIcon")->pixmap().isNull());
    QTest::mouseClick(Child<QPushButton>(&dlg, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace tolvani::viewer
