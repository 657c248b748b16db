// Timed runs of the viewer's window on the offscreen platform: how long a
// generated drawing takes from the open to its first picture on screen,
// how long a wheel step takes until its picture shows, and the longest
// time the event loop went unanswered meanwhile.
//   tolvani-viewer-timings [ELEMENTS | FILE.jww] [STEPS]
// With a file, that drawing is opened instead of a generated one; the time
// from the start of main() (application, window, open, first picture) is
// given too.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "model/DrawingGenerator.h"
#include "model/JwwFile.h"
#include "viewer/ui/CMainFrame.h"
#include "viewer/ui/CTolvaniDoc.h"

using namespace tolvani;
using namespace tolvani::viewer;

namespace {

class SilentPrompts : public UiPrompts {
public:
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    SaveAnswer AskSave(QWidget*, const QString&) override { return SaveAnswer::Discard; }
    void Message(QWidget*, Icon, const QString& text, const QString&) override {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
};

// Runs the event loop until the view shows a picture of its current view,
// measuring the longest gap between two turns of the loop.
double WaitForPicture(display::CTolvaniView* view, double& longestGapMs) {
    QElapsedTimer clock;
    clock.start();
    QElapsedTimer gap;
    gap.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGapMs = std::max(longestGapMs, gap.nsecsElapsed() / 1e6);
        gap.restart();
    });
    tick.start(1);
    QEventLoop loop;
    QObject::connect(view, &display::CTolvaniView::pictureReady, &loop, &QEventLoop::quit);
    if (view->redrawPending()) loop.exec();
    return clock.nsecsElapsed() / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString given = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool fromFile = given.endsWith(QStringLiteral(".jww"), Qt::CaseInsensitive);
    long elements = argc > 1 && !fromFile ? std::atol(argv[1]) : 1000000;
    const int steps = argc > 2 ? std::atoi(argv[2]) : 10;

    QTemporaryDir dir;
    const QString path = fromFile ? given : dir.filePath(QStringLiteral("timing.jww"));
    if (!fromFile) {
        CJwwDoc doc;
        GeneratorOptions options;
        options.elements = elements;
        options.seed = 5;
        GenerateDrawing(doc, options);
        SaveJwwFile(path.toStdString(), doc);
    }

    settings::MemorySettingsStore store;
    SilentPrompts prompts;
    CTolvaniDoc doc(store, false);
    CMainFrame frame(doc, prompts);
    frame.resize(1280, 900);
    frame.show();
    display::CTolvaniView* view = frame.view();
    double gap = 0;
    WaitForPicture(view, gap);

    QElapsedTimer open;
    open.start();
    QEventLoop loaded;
    QObject::connect(&doc, &CTolvaniDoc::openFinished, &loaded, &QEventLoop::quit);
    gap = 0;
    doc.OpenFile(path);
    loaded.exec();
    const double loadMs = open.nsecsElapsed() / 1e6;
    double loadGap = gap;
    gap = 0;
    WaitForPicture(view, gap);
    const double firstMs = open.nsecsElapsed() / 1e6;
    const double firstGap = std::max(loadGap, gap);
    const double fromMainMs = sinceMain.nsecsElapsed() / 1e6;
    if (fromFile) elements = static_cast<long>(doc.core().drawing().mainList.size());

    std::vector<double> stepMs;
    double stepGap = 0;
    for (int i = 0; i < steps; ++i) {
        const QPoint at(200, 200);
        QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, i % 2 ? -120 : 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QElapsedTimer t;
        t.start();
        QApplication::sendEvent(view, &wheel);
        WaitForPicture(view, stepGap);
        stepMs.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("view %dx%d, %ld elements\n", view->width(), view->height(), elements);
    std::printf("open to drawing in the document: %.0f ms\n", loadMs);
    std::printf("open to first picture on screen: %.0f ms (event loop never waited more than %.0f ms)\n", firstMs,
                firstGap);
    if (fromFile)
        std::printf("start of main() to the first picture of the file (window, open, draw): %.0f ms\n", fromMainMs);
    if (steps > 0)
        std::printf(
            "wheel step to its picture: median %.0f ms, slowest %.0f ms over %d steps "
            "(event loop never waited more than %.0f ms)\n",
            Median(stepMs), *std::max_element(stepMs.begin(), stepMs.end()), steps, stepGap);
    return 0;
}
