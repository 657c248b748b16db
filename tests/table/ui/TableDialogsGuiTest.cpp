// The two dialogs of the table import, driven with synthesized clicks and
// keys: what the list shows after each read, the refusals and their
// messages, the options' controls and what OK and cancel hand back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <string>

#include "model/Cp932.h"
#include "table/CCsvDoc.h"
#include "table/TableMessages.h"
#include "table/ui/CCellOption.h"
#include "table/ui/CCsvDlg.h"
#include "table/ui/QtClipboardText.h"
#include "tests/support/TestSupport.h"
#include "tests/table/ui/GuiTestSupport.h"

namespace tolvani {
namespace {

using test::RecordingPrompts;
using test::RunModal;

QStringList Headings(const QTableWidget* list) {
    QStringList out;
    for (int c = 0; c < list->columnCount(); ++c) out << list->horizontalHeaderItem(c)->text();
    return out;
}

QStringList Line(const QTableWidget* list, int row) {
    QStringList out;
    for (int c = 0; c < list->columnCount(); ++c) {
        const QTableWidgetItem* item = list->item(row, c);
        out << (item ? item->text() : QString());
    }
    return out;
}

void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center()); }

// A check box is clicked on its box; its label may end well before the
// middle of a wide check box.
void Click(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

class CsvDlgGui : public ::testing::Test {
protected:
    void SetUp() override { dir = test::MakeTempDir(); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string File(const std::string& name, const std::string& bytes) {
        return test::WriteTestFile(dir, name, bytes);
    }

    std::string dir;
    CCsvDoc table;
    QtClipboardText clipboard;
    RecordingPrompts answers;
};

TEST_F(CsvDlgGui, ClipboardTableIsListedAndTaken) {
    QGuiApplication::clipboard()->setText(
        QStringLiteral("品名\t寸法\t数量\r\n六角ボルト\t\"M16\nL=45\"\t1,234\r\nナット\tM16\r\n"));
    CCsvDlg dialog(table, clipboard, answers.Prompts());
    const int result = RunModal(
        dialog, [&] { return dialog.Open(); },
        [&] {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("エクセル表インポート"));
            EXPECT_EQ(dialog.list()->columnCount(), 0);
            Click(dialog.clipboardButton());
            EXPECT_EQ(Headings(dialog.list()), (QStringList{"品名", "寸法", "数量"}));
            ASSERT_EQ(dialog.list()->rowCount(), 2);
            EXPECT_EQ(Line(dialog.list(), 0), (QStringList{"六角ボルト", "M16 L=45", "1,234"}));
            EXPECT_EQ(Line(dialog.list(), 1), (QStringList{"ナット", "M16", ""}));
            EXPECT_EQ(dialog.list()->horizontalHeader()->sectionSize(0), 100);
            EXPECT_TRUE(dialog.list()->showGrid());
            EXPECT_EQ(dialog.list()->selectionBehavior(), QAbstractItemView::SelectRows);
            Click(dialog.okButton());
        });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(answers.messages.isEmpty());
    ASSERT_EQ(table.rowCount, 3);
    EXPECT_EQ(table.cells[1][1].text, Utf8ToCp932("M16 L=45"));
}

TEST_F(CsvDlgGui, EmptyTableIsRefusedAndCancelKeepsWhatWasRead) {
    QGuiApplication::clipboard()->clear();
    CCsvDlg dialog(table, clipboard, answers.Prompts());
    int result = RunModal(
        dialog, [&] { return dialog.Open(); },
        [&] {
            Click(dialog.clipboardButton());  // no text on the clipboard
            Click(dialog.okButton());
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(answers.messages, QStringList{"表が読み込まれていません！"});
            answers.files << QString::fromStdString(File("a.csv", Utf8ToCp932("a,b,c\r\n1,2,3\r\n4,5,6\r\n")));
            Click(dialog.fileButton());
            EXPECT_EQ(dialog.list()->rowCount(), 2);
            Click(dialog.cancelButton());
        });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(answers.filters, QStringList{"エクセルCSVファイル(*.csv)|*.csv|全てのファイル(*.*)|*.*|"});
    EXPECT_EQ(table.rowCount, 3);

    // Opened again, the dialog shows the table read before.
    result = RunModal(
        dialog, [&] { return dialog.Open(); },
        [&] {
            EXPECT_EQ(Headings(dialog.list()), (QStringList{"a", "b", "c"}));
            EXPECT_EQ(Line(dialog.list(), 1), (QStringList{"4", "5", "6"}));
            Click(dialog.okButton());
        });
    EXPECT_EQ(result, QDialog::Accepted);
}

TEST_F(CsvDlgGui, FileReadsReplaceTheListAndSayWhatWentWrong) {
    CCsvDlg dialog(table, clipboard, answers.Prompts());
    RunModal(
        dialog, [&] { return dialog.Open(); },
        [&] {
            // A Shift-JIS file, then a UTF-8 file with a character that has no
            // Shift-JIS form: only the second table shows, with a note.
            answers.files << QString::fromStdString(File("s.csv", Utf8ToCp932("部材,数\r\nｱﾝｶｰ,\"1,200\"\r\n")));
            answers.files << QString::fromStdString(File("u.csv",
                                                         "\xEF\xBB\xBF"
                                                         "x\xF0\x9F\x98\x80,y,z\n"));
            Click(dialog.fileButton());
            EXPECT_EQ(Headings(dialog.list()), (QStringList{"部材", "数"}));
            EXPECT_EQ(Line(dialog.list(), 0), (QStringList{"ｱﾝｶｰ", "1,200"}));
            EXPECT_TRUE(dialog.noteLabel()->text().isEmpty());
            Click(dialog.fileButton());
            EXPECT_EQ(Headings(dialog.list()), (QStringList{"x〓", "y", "z"}));
            EXPECT_EQ(dialog.list()->rowCount(), 0);
            EXPECT_EQ(dialog.noteLabel()->text(),
                      QStringLiteral("Shift-JIS で表せない文字 1 個を「〓」に置き換えました。"));
            EXPECT_TRUE(answers.messages.isEmpty());

            // A file that cannot be read: its message, an empty list.
            answers.files << QString::fromStdString(dir + "/missing.csv");
            Click(dialog.fileButton());
            EXPECT_EQ(answers.messages, QStringList{"ファイルの読込でエラーが発生しました。"});
            EXPECT_EQ(dialog.list()->columnCount(), 0);
            EXPECT_TRUE(dialog.noteLabel()->text().isEmpty());

            // A cancelled file choice leaves the list empty too.
            Click(dialog.clipboardButton());
            Click(dialog.fileButton());
            EXPECT_EQ(dialog.list()->columnCount(), 0);
            EXPECT_TRUE(table.empty());
            Click(dialog.cancelButton());
        });
}

CJwwHeader Header() {
    CJwwHeader h;
    h.SetNewDrawingDefaults();
    h.textWidth[3] = 2.5;
    h.textHeight[3] = 3;
    h.textSpacing[3] = 0.5;
    h.textColor[3] = 1;
    h.color[2] = 0x0000FF;  // red
    h.color[3] = 0x00FF00;  // green
    return h;
}

// Japanese text as an input method hands it over.
void Type(QWidget* w, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(w, &event);
}

QColor Sample(const CCellOption& dialog) { return dialog.colorSample()->palette().color(QPalette::Base); }

TEST(CellOptionGui, ControlsShowTheOptionsAndOkTakesThem) {
    RecordingPrompts answers;
    CCellOption dialog(answers.Prompts());
    TableOptions current;
    current.blockName = Utf8ToCp932("前の表");
    const int result = RunModal(
        dialog, [&] { return dialog.Open(current, Header()); },
        [&] {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("表の挿入／オプション設定"));
            ASSERT_EQ(dialog.textTypeList()->count(), 10);
            EXPECT_EQ(dialog.textTypeList()->currentIndex(), 2);
            EXPECT_EQ(dialog.textTypeList()->currentText(),
                      QStringLiteral(" / 文字種  3 /              2.5                     3.0                      0.5 "
                                     "                   1"));
            EXPECT_EQ(dialog.lineColorList()->currentText(), QStringLiteral("  線色 2 "));
            EXPECT_EQ(dialog.lineTypeList()->itemText(7), QStringLiteral("  線種 8 "));
            EXPECT_EQ(dialog.groupList()->itemText(15), QStringLiteral("F"));
            EXPECT_EQ(Sample(dialog), QColor(255, 0, 0));
            EXPECT_EQ(dialog.margin(0)->value(), 10);
            EXPECT_EQ(dialog.margin(3)->value(), 6);
            EXPECT_EQ(dialog.margin(0)->maximum(), 50);
            EXPECT_TRUE(dialog.blockNameEdit()->isReadOnly());
            EXPECT_EQ(dialog.blockNameEdit()->text(), QStringLiteral("前の表"));

            // The line colour by the keyboard: the sample follows.
            dialog.lineColorList()->setFocus();
            QTest::keyClick(dialog.lineColorList(), Qt::Key_Down);
            EXPECT_EQ(Sample(dialog), QColor(0, 255, 0));
            dialog.lineTypeList()->setFocus();
            QTest::keyClick(dialog.lineTypeList(), Qt::Key_End);
            QTest::keyClick(dialog.groupList(), Qt::Key_End);
            QTest::keyClick(dialog.textLayerList(), Qt::Key_Home);
            QTest::keyClick(dialog.textTypeList(), Qt::Key_Down);

            // Margins move by their arrows only; typed digits are ignored.
            for (int i = 0; i < 45; ++i) QTest::keyClick(dialog.margin(0), Qt::Key_Up);
            QTest::keyClicks(dialog.margin(1), "7");
            QTest::keyClick(dialog.margin(3), Qt::Key_Down);
            EXPECT_EQ(dialog.margin(0)->value(), 50);
            EXPECT_EQ(dialog.margin(1)->value(), 10);

            Click(dialog.layerCheck());
            // The name is typed while the box is ticked, then the box is
            // cleared again: the name is still taken.
            Click(dialog.blockCheck());
            EXPECT_TRUE(dialog.blockCheck()->isChecked());
            EXPECT_FALSE(dialog.blockNameEdit()->isReadOnly());
            dialog.blockNameEdit()->setFocus();
            QTest::keyClick(dialog.blockNameEdit(), Qt::Key_A, Qt::ControlModifier);
            Type(dialog.blockNameEdit(), QStringLiteral("部材表"));
            Click(dialog.blockCheck());
            EXPECT_TRUE(dialog.blockNameEdit()->isReadOnly());
            Click(dialog.findChild<QPushButton*>(QStringLiteral("button1")));
        });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(answers.messages.isEmpty());
    const TableOptions& o = dialog.options();
    EXPECT_EQ(o.cellTextType, 4);
    EXPECT_EQ(o.gridColor, 3);
    EXPECT_EQ(o.gridStyle, 8);
    EXPECT_EQ(o.layerGroup, 15);
    EXPECT_EQ(o.layerText, 0);
    EXPECT_EQ(o.cellLeft, 50);
    EXPECT_EQ(o.cellRight, 10);
    EXPECT_EQ(o.cellBottom, 5);
    EXPECT_TRUE(o.cellLayer);
    EXPECT_FALSE(o.cellBlock);
    EXPECT_EQ(o.blockName, Utf8ToCp932("部材表"));
}

TEST(CellOptionGui, BlockWithoutANameKeepsTheDialogOpenAndCancelTakesNothing) {
    RecordingPrompts answers;
    CCellOption dialog(answers.Prompts());
    TableOptions current;
    const int result = RunModal(
        dialog, [&] { return dialog.Open(current, Header()); },
        [&] {
            Click(dialog.blockCheck());
            Click(dialog.findChild<QPushButton*>(QStringLiteral("button1")));
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(answers.messages, QStringList{"ブロック挿入するためには、名前が必要です！"});
            QTest::keyClick(dialog.margin(2), Qt::Key_Up);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
    EXPECT_EQ(result, QDialog::Rejected);
    // Opened again, the dialog shows the caller's options, not the
    // cancelled changes.
    RunModal(
        dialog, [&] { return dialog.Open(current, Header()); },
        [&] {
            EXPECT_FALSE(dialog.blockCheck()->isChecked());
            EXPECT_EQ(dialog.margin(2)->value(), 8);
            Click(dialog.findChild<QPushButton*>(QStringLiteral("button2")));
        });
}

}  // namespace
}  // namespace tolvani
