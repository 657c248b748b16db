// The drawing view: shows the document's drawing from a picture drawn on a
// worker, turns the wheel, keys and two-button drags into zoom and pan,
// and keeps the three status texts (window size, cursor position, write
// layer). While a redraw runs the last picture stays on screen; overlays
// (the zoom band, a mouse mode's outline) are painted over the picture,
// so moving the pointer never redraws the drawing.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "display/ViewDocument.h"
#include "display/ViewNavigation.h"
#include "display/ui/ViewMouseMode.h"

namespace tolvani::display {

class BackgroundDraw;
struct ViewPicture;

class CTolvaniView : public QWidget, public ViewObserver {
    Q_OBJECT
public:
    enum Pane { kSizePane = 1, kCursorPane = 2, kLayerPane = 3 };

    explicit CTolvaniView(QWidget* parent = nullptr);
    ~CTolvaniView() override;

    // Attaches the view to its document (null detaches); the first set-up
    // of a stand-alone view fits the paper.
    void SetDocument(ViewDocument* doc);
    ViewDocument* document() const { return doc_; }

    // The mode that takes the mouse (not owned; null for none). The view
    // repaints its overlay when it changes.
    void SetMouseMode(ViewMouseMode* mode);
    ViewMouseMode* mouseMode() const { return mouseMode_; }
    // Repaints the overlays over the cached picture without redrawing.
    void RefreshOverlay() { update(); }

    // The last finished picture, and whether a newer one is being drawn.
    const QImage& picture() const { return picture_; }
    bool redrawPending() const;
    // The drawing position of the last mouse event.
    JwwPoint cursor() const { return cursor_; }
    QString paneText(int pane) const;
    // The zoom drag's label while a drag is on, else empty.
    QString bandLabel() const;

    // Device units per inch of the view (its logical resolution).
    double dpiX() const;
    double dpiY() const;

    // ViewObserver
    void OnUpdate() override;
    void StopDrawing() override;

signals:
    void statusTextChanged(int pane, const QString& text);
    // A picture that shows the current view state has been put on screen.
    void pictureReady();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void StartRedraw();
    void TakePicture(uint64_t request, ViewPicture&& picture);
    void ShowSizePane(DeviceSize himetric);
    void SizeDisplay();
    void SetPane(int pane, const QString& text);
    void StartBand(QPoint at);
    void PaintBand(QPainter& painter);
    void ShowLayerPane();
    void FirstSetUp();

    ViewDocument* doc_ = nullptr;
    ViewMouseMode* mouseMode_ = nullptr;
    std::unique_ptr<BackgroundDraw> drawer_;
    QImage picture_;
    uint64_t wantedRequest_ = 0;
    // The first set-up waits until the view has its size on screen.
    bool setUpPending_ = false;

    bool bandActive_ = false;
    QPoint bandAnchor_;
    QPoint bandCorner_;
    QPoint bandPointer_;
    JwwPoint cursor_;
    int wheelRemainder_ = 0;
    QString panes_[4];
};

}  // namespace tolvani::display
