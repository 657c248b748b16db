// The viewer's window driven as a person drives it, through synthesized
// keys, wheel turns and mouse drags on the offscreen platform: opening,
// navigating, the status texts, saving, the save question and the
// failures that must never lose a file.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>
#include <fstream>
#include <memory>

#include "display/qt/DrawingExport.h"
#include "model/AtomicFile.h"
#include "model/DrawingGenerator.h"
#include "model/JwwErrors.h"
#include "model/JwwFile.h"
#include "model/JwwStream.h"
#include "object/NativeData.h"
#include "object/ObjectData.h"
#include "object/OfficeGraphic.h"
#include "object/ui/CCopyDlg.h"
#include "tests/support/ScriptedPrompts.h"
#include "viewer/CommandTable.h"
#include "viewer/DesktopRegistration.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/CTolvaniApp.h"
#include "viewer/ui/CTolvaniDoc.h"
#include "viewer/ui/commands/ConnectCommands.h"

using namespace tolvani;
using namespace tolvani::viewer;

namespace {

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

}  // namespace

class ViewerGuiTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<settings::MemorySettingsStore> store_;
    std::unique_ptr<tolvani::test::ScriptedPrompts> prompts_;
    std::unique_ptr<CTolvaniDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    QString generated_;

    display::CTolvaniView* view() { return frame_->view(); }
    display::CJwwScreen& screen() { return doc_->core().Screen(); }

    QString Path(const char* name) { return dir_.filePath(QString::fromUtf8(name)); }

    void WaitForPicture() { QTRY_VERIFY_WITH_TIMEOUT(!view()->redrawPending(), 60000); }

    // Gives the view a client area of exactly w × h.
    void SetViewSize(int w, int h) {
        for (int i = 0; i < 5 && view()->size() != QSize(w, h); ++i) {
            frame_->resize(frame_->size() + QSize(w, h) - view()->size());
            QCoreApplication::processEvents();
        }
        QCOMPARE(view()->size(), QSize(w, h));
        WaitForPicture();
    }

    void OpenByKeys(const QString& path) {
        QSignalSpy finished(doc_.get(), &CTolvaniDoc::openFinished);
        prompts_->openNames << path;
        QTest::keyClick(frame_.get(), Qt::Key_O, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        WaitForPicture();
    }

    void SendMouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(type, at, view()->mapToGlobal(at), button, buttons, modifiers);
        QApplication::sendEvent(view(), &event);
    }

    void SendWheel(int delta, Qt::KeyboardModifiers modifiers) {
        const QPoint at(100, 100);
        QWheelEvent event(at, view()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view(), &event);
    }

    // Both buttons down at `from`, a move to `to`, the left one up there.
    QString Drag(QPoint from, QPoint to) {
        SendMouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        SendMouse(QEvent::MouseButtonPress, from, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
        SendMouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
        const QString label = view()->bandLabel();
        SendMouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::RightButton);
        SendMouse(QEvent::MouseButtonRelease, to, Qt::RightButton, Qt::NoButton);
        return label;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        generated_ = Path("generated.jww");
        CJwwDoc doc;
        GeneratorOptions options;
        options.elements = 3000;
        options.seed = 11;
        GenerateDrawing(doc, options);
        SaveJwwFile(generated_.toStdString(), doc);
    }

    void init() {
        store_ = std::make_unique<settings::MemorySettingsStore>();
        prompts_ = std::make_unique<tolvani::test::ScriptedPrompts>();
        doc_ = std::make_unique<CTolvaniDoc>(*store_, false);
        frame_ = std::make_unique<CMainFrame>(*doc_, *prompts_);
        ConnectCommands(*frame_, *prompts_);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        SetViewSize(800, 600);
    }

    void cleanup() {
        // Nothing is left to ask about when the window goes.
        doc_->core().SetModified(false);
        frame_.reset();
        doc_.reset();
        prompts_.reset();
        store_.reset();
    }

    void theMenusHoldEveryCommandWithItsTextEnabledByItsRule() {
        QStringList titles;
        for (QAction* a : frame_->menuBar()->actions()) titles << a->text();
        QCOMPARE(titles, (QStringList{"ファイル(&F)", "編集(&E)", "表示(&V)", "設定", "ヘルプ(&H)"}));
        struct Item {
            int id;
            const char* text;
            bool enabled;
        };
        const Item items[] = {
            {cmd::kFileNew, "新規作成", true},
            {cmd::kOpen, "開く(&O)...\tCtrl+O", true},
            {cmd::kSaveAs, "名前を付けて保存(&A)...", true},
            {cmd::kTableImport, "エクセル表インポート", false},
            {cmd::kRecentFirst, "最近使ったファイル", false},
            {cmd::kAppExit, "アプリケーションの終了(&X)", true},
            {cmd::kEditCopy, "オブジェクトのコピー(&C)\tCtrl+C", true},
            {cmd::kEditWithJwCad, "オブジェクトの編集・印刷", true},
            {cmd::kTableUndo, "表挿入の取消", false},
            {cmd::kViewToolbar, "ツール バー(&T)", true},
            {cmd::kViewStatusBar, "ステータス バー(&S)", true},
            {cmd::kBlockFigures, "ブロック図形", true},
            {cmd::kSettingsSheet, "アプリケーション設定", true},
            {cmd::kJwwPath, "外部アプリケーションの登録", true},
            {cmd::kLayerSettings, "レイヤー設定", true},
            {cmd::kTableOptions, "表挿入オプション", true},  // always offered
            {cmd::kHelp, "使い方", true},
            {cmd::kAppAbout, "Tolvaniについて(&A)...", true},
        };
        QStringList inMenus;
        for (QAction* m : frame_->menuBar()->actions())
            for (QAction* a : m->menu()->actions())
                if (!a->isSeparator()) inMenus << a->text();
        for (const Item& item : items) {
            QAction* a = frame_->Action(item.id);
            QVERIFY2(a, item.text);
            QCOMPARE(a->text(), QString::fromUtf8(item.text));
            QVERIFY2(inMenus.contains(a->text()), item.text);
            QCOMPARE(a->isEnabled(), item.enabled);
        }
        // The document's own prompts and tooltips.
        QCOMPARE(frame_->Action(cmd::kOpen)->statusTip(), QStringLiteral("新しくファイルを開く"));
        QCOMPARE(frame_->Action(cmd::kOpen)->toolTip(), QStringLiteral("ファイルオープン"));
        QCOMPARE(frame_->Action(cmd::kTableImport)->statusTip(), QStringLiteral("エクセル表をインポートする"));
        QCOMPARE(frame_->Action(cmd::kEditCopy)->toolTip(), QStringLiteral("オブジェクトコピー"));
        QList<int> bar;
        for (QAction* a : frame_->toolBar()->actions()) bar << (a->isSeparator() ? 0 : a->data().toInt());
        QCOMPARE(bar, (QList<int>{57600, 32772, 32774, 32809, 0, 57634, 32775, 0, 32797, 32795, 57664}));

        // The table import is offered by its own rule, for a drawing with
        // elements; a later connection replaces a command with its rule.
        QVERIFY(!frame_->Action(cmd::kTableImport)->isEnabled());
        OpenByKeys(generated_);
        QVERIFY(frame_->Action(cmd::kTableImport)->isEnabled());
        bool ran = false;
        frame_->SetCommand(
            cmd::kTableImport, [&ran] { ran = true; }, [] { return false; });
        QVERIFY(!frame_->Action(cmd::kTableImport)->isEnabled());
        frame_->SetCommand(cmd::kTableImport, [&ran] { ran = true; });
        frame_->Action(cmd::kTableImport)->trigger();
        QVERIFY(ran);
        QCOMPARE(frame_->Action(cmd::kRecentFirst)->text(), QString::fromStdString(doc_->recentFiles().MenuText(0)));
    }

    void aFrameAloneConnectsOnlyItsOwnFileAndBarCommands() {
        // The other commands are created by ConnectCommands, never by the
        // frame: a frame of its own offers none of them.
        CMainFrame bare(*doc_, *prompts_);
        for (const int id : {cmd::kFileNew, cmd::kOpen, cmd::kFileOpenApp, cmd::kSaveAs, cmd::kFileSave, cmd::kAppExit,
                             cmd::kViewToolbar, cmd::kViewStatusBar})
            QVERIFY2(bare.Action(id)->isEnabled(), qPrintable(QString::number(id)));
        for (const int id :
             {cmd::kEditCopy, cmd::kFilePrint, cmd::kFilePrintPreview, cmd::kFilePrintSetup, cmd::kEditWithJwCad,
              cmd::kTableImport, cmd::kTableUndo, cmd::kTableOptions, cmd::kLayerSettings, cmd::kBlockFigures,
              cmd::kSettingsSheet, cmd::kJwwPath, cmd::kHelp, cmd::kAppAbout})
            QVERIFY2(!bare.Action(id)->isEnabled(), qPrintable(QString::number(id)));
        QVERIFY(bare.findChildren<QObject*>(QStringLiteral("TableImportCommands")).isEmpty());
        QVERIFY(!frame_->findChildren<QObject*>(QStringLiteral("TableImportCommands")).isEmpty());
    }

    void theBarTogglesHideAndShowTheBars() {
        frame_->Action(cmd::kViewToolbar)->trigger();
        QVERIFY(!frame_->toolBar()->isVisible());
        frame_->Action(cmd::kViewStatusBar)->trigger();
        QVERIFY(!frame_->statusBar()->isVisible());
        frame_->Action(cmd::kViewToolbar)->trigger();
        frame_->Action(cmd::kViewStatusBar)->trigger();
        QVERIFY(frame_->toolBar()->isVisible());
        QVERIFY(frame_->statusBar()->isVisible());
    }

    void anOpenedDrawingShowsAsTheRenderCommandDrawsIt() {
        OpenByKeys(generated_);
        QCOMPARE(prompts_->openFilters.last(), QString::fromUtf8(CMainFrame::kAppOpenFilter));
        QCOMPARE(QString::fromStdString(doc_->core().Title()), generated_);
        QVERIFY(frame_->windowTitle().startsWith(generated_));
        QCOMPARE(doc_->recentFiles().entries().front(), generated_.toStdString());
        QCOMPARE(frame_->pane(1)->text(), QStringLiteral(" 211.7mm×158.8mm "));

        CJwwDoc doc;
        doc.header.SetNewDrawingDefaults();
        LoadJwwFile(generated_.toStdString(), doc);
        display::ExportOptions options;
        options.width = 800;
        options.height = 600;
        options.dpi = view()->dpiX();
        const QImage expected = display::RenderImage(doc, options, nullptr);
        QCOMPARE(view()->picture().convertToFormat(QImage::Format_RGB32), expected);
    }

    void everySampleDrawingOpensAndShows() {
        const QByteArray samples = qgetenv("TOLVANI_SAMPLES");
        const QDir folder(samples.isEmpty() ? QStringLiteral(TOLVANI_SAMPLES_DIR) : QString::fromLocal8Bit(samples));
        const QStringList names = folder.entryList({"*.jww"}, QDir::Files, QDir::Name);
        if (names.isEmpty()) QSKIP("the sample drawings are not here");
        for (const QString& name : names) {
            OpenByKeys(folder.filePath(name));
            QVERIFY2(prompts_->messages.isEmpty(), qPrintable(name + ": " + prompts_->messages.join("; ")));
            QCOMPARE(QString::fromStdString(doc_->core().filePath()), folder.filePath(name));
            // Something other than the white paper shows.
            const QImage picture = view()->picture();
            int ink = 0;
            for (int y = 0; y < picture.height(); y += 3)
                for (int x = 0; x < picture.width(); x += 3) ink += picture.pixel(x, y) != qRgb(255, 255, 255);
            QVERIFY2(ink > 50, qPrintable(name));
        }
    }

    void theWheelZoomsAndPansAsItsModifiersSay_data() {
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("zoomUp");
        QTest::addColumn<double>("widthFactor");
        QTest::addColumn<int>("panX");  // twentieths of the view
        QTest::addColumn<int>("panY");
        QTest::newRow("away zooms in") << 120 << 0 << 0 << 0.8 << 0 << 0;
        QTest::newRow("towards zooms out") << -120 << 0 << 0 << 1.2 << 0 << 0;
        QTest::newRow("ZoomUp reverses") << 120 << 0 << 1 << 1.2 << 0 << 0;
        QTest::newRow("two notches at once") << 240 << 0 << 0 << 0.64 << 0 << 0;
        QTest::newRow("Shift away pans up") << 120 << int(Qt::ShiftModifier) << 0 << 1.0 << 0 << 1;
        QTest::newRow("Shift towards pans down") << -120 << int(Qt::ShiftModifier) << 0 << 1.0 << 0 << -1;
        QTest::newRow("Ctrl away pans right") << 120 << int(Qt::ControlModifier) << 0 << 1.0 << 1 << 0;
        QTest::newRow("Ctrl towards pans left") << -120 << int(Qt::ControlModifier) << 0 << 1.0 << -1 << 0;
    }

    void theWheelZoomsAndPansAsItsModifiersSay() {
        QFETCH(int, delta);
        QFETCH(int, modifiers);
        QFETCH(int, zoomUp);
        QFETCH(double, widthFactor);
        QFETCH(int, panX);
        QFETCH(int, panY);
        doc_->core().settings().zoomUp = zoomUp;
        OpenByKeys(generated_);
        const display::CJwwScreen before = screen();
        SendWheel(delta, Qt::KeyboardModifiers(modifiers));
        WaitForPicture();
        QCOMPARE(screen().viewWidth, before.viewWidth * widthFactor);
        QCOMPARE(screen().centerX, before.centerX + panX * before.viewWidth / 20);
        QCOMPARE(screen().centerY, before.centerY + panY * before.viewHeight / 20);
    }

    void halfStepsOfAFineWheelAddUpToOneStep() {
        const double width = screen().viewWidth;
        SendWheel(60, Qt::NoModifier);
        QCOMPARE(screen().viewWidth, width);
        SendWheel(60, Qt::NoModifier);
        WaitForPicture();
        QCOMPARE(screen().viewWidth, width * 0.8);
    }

    void theKeysZoomPanAndFitThePaper_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<double>("widthFactor");
        QTest::addColumn<int>("panX");
        QTest::addColumn<int>("panY");
        QTest::newRow("Page Up") << int(Qt::Key_PageUp) << 1.2 << 0 << 0;
        QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 0.8 << 0 << 0;
        QTest::newRow("Left") << int(Qt::Key_Left) << 1.0 << -1 << 0;
        QTest::newRow("Up moves the view up") << int(Qt::Key_Up) << 1.0 << 0 << 1;
        QTest::newRow("Right") << int(Qt::Key_Right) << 1.0 << 1 << 0;
        QTest::newRow("Down") << int(Qt::Key_Down) << 1.0 << 0 << -1;
    }

    void theKeysZoomPanAndFitThePaper() {
        QFETCH(int, key);
        QFETCH(double, widthFactor);
        QFETCH(int, panX);
        QFETCH(int, panY);
        OpenByKeys(generated_);
        const display::CJwwScreen fitted = screen();
        QTest::keyClick(view(), Qt::Key(key));
        WaitForPicture();
        QCOMPARE(screen().viewWidth, fitted.viewWidth * widthFactor);
        QCOMPARE(screen().centerX, fitted.centerX + panX * fitted.viewWidth / 20);
        QCOMPARE(screen().centerY, fitted.centerY + panY * fitted.viewHeight / 20);
        QTest::keyClick(view(), Qt::Key_Home);
        WaitForPicture();
        QCOMPARE(screen().viewWidth, fitted.viewWidth);
        QCOMPARE(screen().centerX, 0.0);
        QCOMPARE(screen().centerY, 0.0);
    }

    void theFiveDragsShowTheirLabelAndDoTheirZoom_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QString>("label");
        QTest::newRow("right and down zooms in") << QPoint(200, 150) << QPoint(400, 300) << " 拡　大 ";
        QTest::newRow("right and up shows the paper") << QPoint(200, 300) << QPoint(400, 150) << " 全　体 ";
        QTest::newRow("left and down goes back") << QPoint(400, 150) << QPoint(200, 300) << " 前倍率 ";
        QTest::newRow("left and up zooms out") << QPoint(400, 300) << QPoint(200, 150) << " 縮　小 ";
        QTest::newRow("a click centres") << QPoint(300, 200) << QPoint(302, 202) << " 移　動 ";
    }

    void theFiveDragsShowTheirLabelAndDoTheirZoom() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QString, label);
        OpenByKeys(generated_);
        // Two rectangle zooms first, so that going back has somewhere to go.
        Drag({100, 100}, {700, 500});
        WaitForPicture();
        Drag({100, 100}, {700, 500});
        WaitForPicture();
        display::CJwwScreen expected = screen();
        const display::BandGesture gesture = display::EndBand(expected, {from.x(), from.y()}, {to.x(), to.y()});
        if (gesture == display::BandGesture::WholePaper) {
            display::FitPaper(doc_->core().drawing(), expected, doc_->core().Values());
        }
        QCOMPARE(Drag(from, to), label);
        QVERIFY(view()->bandLabel().isEmpty());
        WaitForPicture();
        QCOMPARE(screen().viewWidth, expected.viewWidth);
        QCOMPARE(screen().centerX, expected.centerX);
        QCOMPARE(screen().centerY, expected.centerY);
    }

    void theZoomBandIsPaintedOverThePictureWithoutARedraw() {
        OpenByKeys(generated_);
        const QImage before = view()->picture();
        SendMouse(QEvent::MouseButtonPress, {200, 200}, Qt::RightButton, Qt::RightButton);
        SendMouse(QEvent::MouseButtonPress, {200, 200}, Qt::LeftButton, Qt::LeftButton | Qt::RightButton);
        SendMouse(QEvent::MouseMove, {300, 260}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
        QVERIFY(!view()->redrawPending());
        const QImage shown = view()->grab().toImage();
        // The label's grey box above the anchor, the picture untouched.
        QCOMPARE(QColor(shown.pixel(201, 186)), QColor(192, 192, 192));
        QCOMPARE(view()->picture(), before);
        SendMouse(QEvent::MouseButtonRelease, {300, 260}, Qt::LeftButton, Qt::RightButton);
        WaitForPicture();
    }

    void anAltClickCentresOnThePoint() {
        OpenByKeys(generated_);
        const JwwPoint p = screen().ToDrawing(123, 456);
        const double width = screen().viewWidth;
        SendMouse(QEvent::MouseButtonPress, {123, 456}, Qt::LeftButton, Qt::LeftButton, Qt::AltModifier);
        SendMouse(QEvent::MouseButtonRelease, {123, 456}, Qt::LeftButton, Qt::NoButton, Qt::AltModifier);
        WaitForPicture();
        QCOMPARE(screen().centerX, p.x);
        QCOMPARE(screen().centerY, p.y);
        QCOMPARE(screen().viewWidth, width);
    }

    void theStatusPanesShowSizeCursorAndWriteLayer() {
        OpenByKeys(generated_);
        QCOMPARE(frame_->pane(1)->text(), QStringLiteral(" 211.7mm×158.8mm "));
        SendMouse(QEvent::MouseMove, {10, 20}, Qt::NoButton, Qt::NoButton);
        const JwwPoint p = screen().ToDrawing(10, 20);
        QCOMPARE(frame_->pane(2)->text(), QString::asprintf(" %6.2f : %6.2f", p.x, p.y));
        doc_->core().ChangeDrawing([](CJwwDoc& d) {
            d.header.writeLayerGroup = 3;
            for (auto& state : d.header.groups[3].layerState) state = kEditable;
            d.header.groups[3].layerState[10] = kWrite;
            d.header.groups[3].layerState[12] = kWrite;
        });
        QCOMPARE(frame_->pane(3)->text(), QStringLiteral("   3  /  A"));
        QVERIFY(doc_->core().modified());
        QVERIFY(frame_->isWindowModified());
    }

    void aMouseModeGetsThePointerInDrawingUnitsAndPaintsOverThePicture() {
        struct Mode : display::ViewMouseMode {
            void Press(const JwwPoint& at, QPoint) override {
                events << QString::asprintf("press %.3f %.3f", at.x, at.y);
            }
            void Move(const JwwPoint& at, QPoint) override {
                events << QString::asprintf("move %.3f %.3f", at.x, at.y);
            }
            void Release(const JwwPoint& at, QPoint) override {
                events << QString::asprintf("release %.3f %.3f", at.x, at.y);
            }
            void Paint(QPainter& p, const display::CJwwScreen&) override { p.fillRect(QRect(0, 0, 5, 5), Qt::red); }
            bool Key(int key) override { return key == Qt::Key_Escape; }
            QStringList events;
        } mode;
        OpenByKeys(generated_);
        view()->SetMouseMode(&mode);
        SendMouse(QEvent::MouseButtonPress, {50, 60}, Qt::LeftButton, Qt::LeftButton);
        SendMouse(QEvent::MouseMove, {70, 80}, Qt::NoButton, Qt::LeftButton);
        SendMouse(QEvent::MouseButtonRelease, {70, 80}, Qt::LeftButton, Qt::NoButton);
        const JwwPoint a = screen().ToDrawing(50, 60), b = screen().ToDrawing(70, 80);
        QCOMPARE(mode.events, (QStringList{QString::asprintf("press %.3f %.3f", a.x, a.y),
                                           QString::asprintf("move %.3f %.3f", b.x, b.y),
                                           QString::asprintf("release %.3f %.3f", b.x, b.y)}));
        QVERIFY(!view()->redrawPending());
        QCOMPARE(QColor(view()->grab().toImage().pixel(2, 2)), QColor(Qt::red));
        const double width = screen().viewWidth;
        QTest::keyClick(view(), Qt::Key_Escape);    // taken by the mode
        QTest::keyClick(view(), Qt::Key_PageDown);  // still the view's
        WaitForPicture();
        QCOMPARE(screen().viewWidth, width * 0.8);
        view()->SetMouseMode(nullptr);
    }

    void saveAsWritesThePlainFileAndReopensFromTheRecentList() {
        OpenByKeys(generated_);
        const QString copy = Path("copy.jww");
        prompts_->saveNames << copy;
        frame_->Action(cmd::kSaveAs)->trigger();
        QCOMPARE(prompts_->saveFilters.last(), QString::fromUtf8(CMainFrame::kSaveFilter));
        QCOMPARE(prompts_->saveInitial.last(), generated_);
        {
            // The file holds the drawing as a plain save writes it.
            CJwwDoc loaded;
            loaded.header.SetNewDrawingDefaults();
            LoadJwwFile(generated_.toStdString(), loaded);
            const QString expected = Path("expected.jww");
            SaveJwwFile(expected.toStdString(), loaded);
            QCOMPARE(FileBytes(copy), FileBytes(expected));
        }
        // Save as changes neither the title nor the file a plain save writes.
        QCOMPARE(QString::fromStdString(doc_->core().Title()), generated_);
        QCOMPARE(doc_->recentFiles().entries().front(), copy.toStdString());
        const std::size_t count = doc_->core().drawing().mainList.size();
        QSignalSpy finished(doc_.get(), &CTolvaniDoc::openFinished);
        frame_->Action(cmd::kRecentFirst)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QCOMPARE(QString::fromStdString(doc_->core().Title()), copy);
        QCOMPARE(doc_->core().drawing().mainList.size(), count);
    }

    void aFailedSaveSaysWhyAndLeavesTheOldFileWhole() {
        const QString target = Path("kept.jww");
        QVERIFY(QFile::copy(generated_, target));
        OpenByKeys(target);
        const QByteArray old = FileBytes(target);
        // With a named temporary file there is one to leave behind.
        SetTemporaryFileMode(TemporaryFileMode::Named);
        const auto everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        const QStringList before = QDir(dir_.path()).entryList(everything);
        doc_->core().ChangeDrawing([](CJwwDoc& d) { d.RemoveElements([](const CData&) { return true; }); });
        doc_->core().SetSaveFunction([](const std::string& path, CJwwDoc& d) {
            // The disk fills once most of the drawing is written.
            SaveOutcome out;
            try {
                WriteFileAtomically(path, [&d](std::FILE* f) {
                    JwwStream ar(f, JwwStream::Mode::Storing);
                    d.Save(ar);
                    ar.Flush();
                    throw JwwFileError("No space left on device");
                });
            } catch (const JwwFileError& e) {
                out.status = SaveOutcome::Status::FileError;
                out.message = kLocalWriteErrorMessage;
                out.detail = e.what();
            }
            return out;
        });
        QTest::keyClick(frame_.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompts_->messages, QStringList{"ローカル保存でエラー！"});
        QVERIFY(prompts_->details.last().contains("No space left"));
        QCOMPARE(FileBytes(target), old);
        QVERIFY(doc_->core().modified());
        SetTemporaryFileMode(TemporaryFileMode::Unnamed);
        QCOMPARE(QDir(dir_.path()).entryList(everything), before);
    }

    void theSaveQuestionGuardsAModifiedDrawing_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("emptied");
        QTest::addColumn<bool>("written");
        QTest::newRow("cancel keeps everything") << int(UiPrompts::SaveAnswer::Cancel) << false << false;
        QTest::newRow("discard goes on") << int(UiPrompts::SaveAnswer::Discard) << true << false;
        QTest::newRow("save writes, then goes on") << int(UiPrompts::SaveAnswer::Save) << true << true;
    }

    void theSaveQuestionGuardsAModifiedDrawing() {
        QFETCH(int, answer);
        QFETCH(bool, emptied);
        QFETCH(bool, written);
        const QString target = Path("asked.jww");
        QFile::remove(target);
        QVERIFY(QFile::copy(generated_, target));
        OpenByKeys(target);
        const QByteArray old = FileBytes(target);
        doc_->core().ChangeDrawing([](CJwwDoc& d) { d.RemoveElement(d.mainList.back().get()); });
        prompts_->answers << UiPrompts::SaveAnswer(answer);
        QTest::keyClick(frame_.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(prompts_->asked, QStringList{target});
        QCOMPARE(doc_->core().drawing().mainList.empty(), emptied);
        QCOMPARE(FileBytes(target) != old, written);
        QCOMPARE(doc_->core().modified(), !emptied);

        // Closing asks too; cancel keeps the window open.
        if (!emptied) {
            prompts_->answers << UiPrompts::SaveAnswer::Cancel;
            QVERIFY(!frame_->close());
            QVERIFY(frame_->isVisible());
            QCOMPARE(prompts_->asked.size(), 2);
        }
    }

    void copyPutsTheDrawingOnTheClipboardAsAnObjectThatReadsBack() {
        OpenByKeys(generated_);
        QTimer::singleShot(0, [] {});
        auto* timer = new QTimer(frame_.get());
        timer->setInterval(10);
        bool sawDialog = false;
        connect(timer, &QTimer::timeout, [&] {
            auto* dlg = qobject_cast<object::CCopyDlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            timer->stop();
            sawDialog = true;
            QCOMPARE(dlg->findChild<QLineEdit*>("pasteSizeEdit")->text(), QString("  211.7mm× 158.8mm"));
            QTest::mouseClick(dlg->findChild<QPushButton*>("copyButton"), Qt::LeftButton);
        });
        timer->start();
        QTest::keyClick(frame_.get(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(sawDialog);
        QVERIFY(prompts_->messages.last().startsWith("オブジェクトのコピーが完了しました。"));

        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data);
        QVERIFY(data->hasFormat("application/x-tolvani-object"));
        QVERIFY(data->hasFormat("image/png"));
        QVERIFY(data->hasFormat("image/svg+xml"));
        QVERIFY(data->hasFormat(object::kOfficeGraphicMimeType));
        QVERIFY(!data->hasText());
        const QByteArray raw = data->data("application/x-tolvani-object");
        // The office suites' picture stream holds the very PNG offered as image/png.
        QVERIFY(data->data(object::kOfficeGraphicMimeType).endsWith(data->data("image/png")));
        for (const char* type :
             {"application/x-tolvani-object", "image/png", "image/svg+xml", object::kOfficeGraphicMimeType}) {
            const QByteArray bytes = data->data(type);
            const auto object = object::ExtractObjectData(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                                          static_cast<std::size_t>(bytes.size()));
            QVERIFY2(object.ok, type);
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(object.native.data()),
                                static_cast<qsizetype>(object.native.size())),
                     raw);
        }
        const auto read = object::ReadNativeData(reinterpret_cast<const uint8_t*>(raw.constData()),
                                                 static_cast<std::size_t>(raw.size()), "");
        QVERIFY2(read.ok, read.message.c_str());
        // The object is the view's size and shows the view's window.
        QCOMPARE(read.prefix.extentWidth, doc_->core().Values().extent.width);
        QCOMPARE(read.prefix.extentHeight, doc_->core().Values().extent.height);
        QCOMPARE(read.prefix.viewWidth, screen().viewWidth);
        QCOMPARE(read.prefix.centerX, screen().centerX);
        QCOMPARE(read.prefix.zubVersion, 100);
        QCOMPARE(read.doc->mainList.size(), doc_->core().drawing().mainList.size());
        QImage picture;
        QVERIFY(picture.loadFromData(data->data("image/png"), "PNG"));
        QCOMPARE(picture.size(), QSize(800, 600));
        QVERIFY(!doc_->core().modified());
    }

    void opensAskToo() {
        OpenByKeys(generated_);
        doc_->core().ChangeDrawing([](CJwwDoc& d) { d.RemoveElement(d.mainList.back().get()); });
        prompts_->openNames << generated_;
        prompts_->answers << UiPrompts::SaveAnswer::Cancel;
        frame_->Action(cmd::kOpen)->trigger();
        QCOMPARE(prompts_->asked.size(), 1);
        QCOMPARE(prompts_->openFilters.last(), QString::fromUtf8(CMainFrame::kOpenFilter));
        QCOMPARE(prompts_->openInitial.last(), generated_);
        QVERIFY(!doc_->loading());
        QVERIFY(doc_->core().modified());
    }

    void aDamagedFileSaysWhyAndIsNeverOverwrittenByAPlainSave() {
        const QString damaged = Path("damaged.jww");
        const QByteArray whole = FileBytes(generated_);
        WriteFile(damaged, whole.left(whole.size() / 2));
        OpenByKeys(damaged);
        QCOMPARE(prompts_->messages.value(0), damaged + " の末尾以降にアクセスしようとしました。");
        // The half that was read may place blocks whose definitions were
        // in the other half; that is said once, after the read's message.
        for (int i = 1; i < prompts_->messages.size(); ++i)
            QVERIFY(prompts_->messages[i].startsWith(QStringLiteral("ブロックが見つかりません！")));
        QCOMPARE(QString::fromStdString(doc_->core().Title()), QStringLiteral("無題"));
        QVERIFY(frame_->windowTitle().startsWith(QStringLiteral("無題")));
        QVERIFY(doc_->recentFiles().entries().empty());
        QTest::keyClick(frame_.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompts_->saveInitial, QStringList{damaged});  // asked for a name
        QCOMPARE(FileBytes(damaged), whole.left(whole.size() / 2));
    }

    void aFileDroppedOntoTheWindowOpensAfterTheSaveQuestion() {
        doc_->core().ChangeDrawing([](CJwwDoc&) {});
        prompts_->answers << UiPrompts::SaveAnswer::Discard;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(generated_)});
        QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame_.get(), &enter);
        QVERIFY(enter.isAccepted());
        QSignalSpy finished(doc_.get(), &CTolvaniDoc::openFinished);
        QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame_.get(), &drop);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QCOMPARE(prompts_->asked.size(), 1);
        QCOMPARE(QString::fromStdString(doc_->core().filePath()), generated_);
        QVERIFY(!QApplication::overrideCursor());

        QMimeData text;
        text.setText("not a file");
        QDragEnterEvent refused(QPoint(300, 300), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        refused.setAccepted(false);
        QApplication::sendEvent(frame_.get(), &refused);
        QVERIFY(!refused.isAccepted());
    }

    void theWindowPlacementIsKeptBetweenRuns() {
        frame_->setGeometry(40, 50, 700, 500);
        QCoreApplication::processEvents();
        const QRect placed = frame_->normalGeometry();
        QVERIFY(frame_->close());
        QCOMPARE(store_->GetInt("Window", "left", -1), placed.left());
        QCOMPARE(store_->GetInt("Window", "top", -1), placed.top());
        QCOMPARE(store_->GetInt("Window", "right", -1), placed.left() + placed.width());
        QCOMPARE(store_->GetInt("Window", "bottom", -1), placed.top() + placed.height());
        QCOMPARE(store_->GetInt("Window", "show", -1), 1);

        frame_ = std::make_unique<CMainFrame>(*doc_, *prompts_);
        ConnectCommands(*frame_, *prompts_);
        frame_->RestorePlacement();
        QCOMPARE(frame_->geometry(), placed);
        QVERIFY(!frame_->isMaximized());
        // Closed maximised, it comes back maximised over the same normal
        // rectangle, and says so again when it closes.
        frame_->showMaximized();
        QCoreApplication::processEvents();
        QVERIFY(frame_->close());
        QCOMPARE(store_->GetInt("Window", "show", -1), 3);
        QCOMPARE(store_->GetInt("Window", "left", -1), placed.left());
        frame_ = std::make_unique<CMainFrame>(*doc_, *prompts_);
        frame_->RestorePlacement();
        QVERIFY(frame_->isMaximized());
        QCOMPARE(frame_->normalGeometry(), placed);
        // Closed minimised, it comes back as a normal window.
        store_->PutInt("Window", "show", 2);
        frame_ = std::make_unique<CMainFrame>(*doc_, *prompts_);
        frame_->RestorePlacement();
        QVERIFY(!frame_->isMaximized() && !frame_->isMinimized());
        store_->PutInt("Window", "show", 1);
        // A stored rectangle that is empty leaves the window where it is.
        store_->PutInt("Window", "right", placed.left());
        frame_ = std::make_unique<CMainFrame>(*doc_, *prompts_);
        ConnectCommands(*frame_, *prompts_);
        const QRect before = frame_->geometry();
        frame_->RestorePlacement();
        QCOMPARE(frame_->geometry(), before);
        // One on a monitor that is no longer there too.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        store_->PutInt("Window", "left", screen.right() + 400);
        store_->PutInt("Window", "right", screen.right() + 1100);
        frame_ = std::make_unique<CMainFrame>(*doc_, *prompts_);
        ConnectCommands(*frame_, *prompts_);
        const QRect unplaced = frame_->geometry();
        frame_->RestorePlacement();
        QCOMPARE(frame_->geometry(), unplaced);
    }

    void anEmbeddingWithoutObjectEndsAtOnceWithAMessage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("-Embedding") << QStringList{"-Embedding"} << QString::fromUtf8(CTolvaniApp::kEmbeddingMessage);
        QTest::newRow("/automation") << QStringList{"/automation"} << QString::fromUtf8(CTolvaniApp::kEmbeddingMessage);
    }

    void anEmbeddingWithoutObjectEndsAtOnceWithAMessage() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(TOLVANI_VIEWER), args);
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 2);
        QVERIFY2(QString::fromUtf8(program.readAllStandardError()).contains(message), qPrintable(message));
        // Nothing was written to the settings.
        QVERIFY(!QFile::exists(dir_.filePath("config/Morlen/Tolvani.conf")));
    }

    void registerAndUnregisterWriteAndRemoveTheUsersDesktopFiles() {
        const QString home = dir_.filePath("data");
        const auto run = [&](const QString& sw, QString* out) {
            QProcess program;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("QT_QPA_PLATFORM", "offscreen");
            env.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
            env.insert("XDG_DATA_HOME", home);
            program.setProcessEnvironment(env);
            program.start(QStringLiteral(TOLVANI_VIEWER), {sw});
            if (!program.waitForFinished(60000)) return -1;
            *out = QString::fromUtf8(program.readAllStandardOutput());
            return program.exitCode();
        };
        QString out;
        QCOMPARE(run("-REGISTER", &out), 0);
        QVERIFY(out.contains(QString::fromUtf8(DesktopRegistration::kRegisteredMessage)));
        QFile entry(home + "/applications/" + kDesktopId + ".desktop");
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString viewer = QFileInfo(QStringLiteral(TOLVANI_VIEWER)).absoluteFilePath();
        QVERIFY2(QString::fromUtf8(entry.readAll()).contains("\nExec=" + viewer + " %f\n"), qPrintable(viewer));
        for (const char* file : {"mime/packages/tolvani.xml", "icons/hicolor/scalable/apps/tolvani.svg",
                                 "thumbnailers/tolvani.thumbnailer"})
            QVERIFY2(QFile::exists(home + "/" + file), file);
        QCOMPARE(run("/Unregserver", &out), 0);
        QVERIFY(out.contains(QString::fromUtf8(DesktopRegistration::kUnregisteredMessage)));
        QVERIFY(QDir(home).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        // Neither switch touched the settings.
        QVERIFY(!QDir(dir_.filePath("config/Morlen")).exists());
    }

    void theWindowAnswersWhileALargeDrawingIsDrawn() {
        const QString large = Path("large.jww");
        {
            CJwwDoc doc;
            GeneratorOptions options;
            options.elements = 200000;
            options.seed = 3;
            GenerateDrawing(doc, options);
            SaveJwwFile(large.toStdString(), doc);
        }
        QSignalSpy finished(doc_.get(), &CTolvaniDoc::openFinished);
        prompts_->openNames << large;
        QTest::keyClick(frame_.get(), Qt::Key_O, Qt::ControlModifier);
        // The key returns at once; the file is read on a worker.
        QVERIFY(doc_->loading());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 120000);
        // While the picture is drawn, events are handled: a wheel step
        // lands at once and the draw moves on to the new view.
        const double width = screen().viewWidth;
        int ticks = 0;
        bool seenWhileDrawing = false;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            ++ticks;
            if (view()->redrawPending()) seenWhileDrawing = true;
        });
        timer.start(0);
        SendWheel(120, Qt::NoModifier);
        QCOMPARE(screen().viewWidth, width * 0.8);
        WaitForPicture();
        timer.stop();
        QVERIFY(ticks > 0);
        QVERIFY(seenWhileDrawing);
    }
};

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true);
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ViewerGuiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ViewerGuiTest.moc"
