#include "display/ui/CTolvaniView.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include "display/qt/FontMapper.h"
#include "display/ui/BackgroundDraw.h"

namespace tolvani::display {

namespace {

constexpr int kWheelStep = 120;

}  // namespace

CTolvaniView::CTolvaniView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    drawer_ = std::make_unique<BackgroundDraw>([this](uint64_t request, ViewPicture&& picture) {
        auto shared = std::make_shared<ViewPicture>(std::move(picture));
        QMetaObject::invokeMethod(
            this, [this, request, shared] { TakePicture(request, std::move(*shared)); }, Qt::QueuedConnection);
    });
}

CTolvaniView::~CTolvaniView() {
    drawer_.reset();
    if (doc_) doc_->RemoveView(this);
}

double CTolvaniView::dpiX() const { return logicalDpiX(); }
double CTolvaniView::dpiY() const { return logicalDpiY(); }

void CTolvaniView::SetDocument(ViewDocument* doc) {
    if (doc_ == doc) return;
    drawer_->Stop();
    if (doc_) doc_->RemoveView(this);
    doc_ = doc;
    wantedRequest_ = 0;
    picture_ = QImage();
    if (!doc_) {
        update();
        return;
    }
    doc_->AddView(this);
    setUpPending_ = true;
    if (isVisible()) FirstSetUp();
}

void CTolvaniView::FirstSetUp() {
    setUpPending_ = false;
    OnUpdate();
    if (!doc_->RunningEmbedded()) {
        SizeDisplay();
        doc_->FitPaper();
    } else {
        // An object's view keeps the values it came with; the pane shows them.
        ShowSizePane(doc_->Values().extent);
    }
}

void CTolvaniView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (doc_ && setUpPending_) FirstSetUp();
}

void CTolvaniView::SetMouseMode(ViewMouseMode* mode) {
    mouseMode_ = mode;
    update();
}

bool CTolvaniView::redrawPending() const { return drawer_->Busy() || wantedRequest_ != 0; }

QString CTolvaniView::paneText(int pane) const { return pane >= 1 && pane <= 3 ? panes_[pane] : QString(); }

QString CTolvaniView::bandLabel() const {
    if (!bandActive_) return QString();
    return QString::fromUtf8(
        BandLabel(ClassifyBand({bandAnchor_.x(), bandAnchor_.y()}, {bandPointer_.x(), bandPointer_.y()})));
}

void CTolvaniView::SetPane(int pane, const QString& text) {
    if (panes_[pane] == text) return;
    panes_[pane] = text;
    emit statusTextChanged(pane, text);
}

void CTolvaniView::OnUpdate() {
    if (!doc_ || setUpPending_) return;
    ViewValues& values = doc_->Values();
    values.clientSize = {width(), height()};
    values.extent = DeviceResolution{dpiX(), dpiY()}.ToHimetric(values.clientSize);
    ShowLayerPane();
    StartRedraw();
    update();
}

void CTolvaniView::StopDrawing() {
    drawer_->Stop();
    // What was being drawn will never arrive; the next update asks again.
    wantedRequest_ = 0;
}

void CTolvaniView::ShowLayerPane() {
    const auto drawing = doc_->Drawing();
    if (!drawing) return;
    const uint32_t g = drawing->header.writeLayerGroup;
    uint32_t layer = 0;
    if (g < static_cast<uint32_t>(kLayerGroups)) {
        for (int i = 0; i < kLayers; ++i) {
            if (drawing->header.groups[g].layerState[i] == kWrite) {
                layer = static_cast<uint32_t>(i);
                break;
            }
        }
    }
    SetPane(kLayerPane, QString::asprintf("   %X  /  %X", g, layer));
}

void CTolvaniView::StartRedraw() {
    if (!doc_ || width() <= 0 || height() <= 0) return;
    SetUpScreen(doc_->Screen(), doc_->Values(), dpiX(), dpiY());
    ViewPictureJob job;
    job.drawing = doc_->Drawing();
    job.screen = doc_->Screen();
    job.values = doc_->Values();
    job.size = size();
    job.dpiX = dpiX();
    job.dpiY = dpiY();
    job.pixelRatio = devicePixelRatioF();
    wantedRequest_ = drawer_->Start(std::move(job));
}

void CTolvaniView::TakePicture(uint64_t request, ViewPicture&& picture) {
    if (request != wantedRequest_) return;  // a newer view state is being drawn
    wantedRequest_ = 0;
    picture_ = std::move(picture.image);
    update();
    if (doc_ && picture.drawing) {
        const auto drawing = doc_->Drawing();
        if (drawing.get() == picture.drawing) doc_->DrawFinished(*drawing, picture.report);
    }
    emit pictureReady();
}

void CTolvaniView::SizeDisplay() {
    if (!doc_) return;
    const DeviceSize himetric = DeviceResolution{dpiX(), dpiY()}.ToHimetric({width(), height()});
    doc_->Values().clientHimetric = himetric;
    ShowSizePane(himetric);
}

void CTolvaniView::ShowSizePane(DeviceSize himetric) {
    SetPane(kSizePane, QString::asprintf(" %5.1fmm×%5.1fmm ", himetric.width * 0.01, himetric.height * 0.01));
}

void CTolvaniView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    if (picture_.isNull()) {
        painter.fillRect(area, Qt::white);
    } else {
        // The picture may have more pixels than the view has device units
        // (a high-density screen): its own ratio maps them.
        const qreal ratio = picture_.devicePixelRatio();
        painter.drawImage(QRectF(area), picture_,
                          QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
        // A picture of an earlier, smaller size leaves the rest white.
        const QRect shown(QPoint(0, 0), picture_.deviceIndependentSize().toSize());
        if (!shown.contains(area)) {
            const QRegion rest = QRegion(area).subtracted(QRegion(shown));
            for (const QRect& r : rest) painter.fillRect(r, Qt::white);
        }
    }
    if (doc_ && mouseMode_) {
        painter.save();
        mouseMode_->Paint(painter, doc_->Screen());
        painter.restore();
    }
    if (bandActive_) PaintBand(painter);
}

void CTolvaniView::PaintBand(QPainter& painter) {
    painter.save();
    painter.setPen(Qt::black);
    painter.drawPoint(bandAnchor_);
    // The outline is inverted, as it is drawn over the picture; it shows
    // from the first time the pointer was right of and below the anchor.
    if (bandCorner_ != bandAnchor_) {
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        const QRect box = QRect(bandAnchor_, bandCorner_).normalized();
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    QFont font(FontMapper::Resolve(QStringLiteral("ＭＳ ゴシック")));
    font.setPixelSize(12);
    painter.setFont(font);
    const QString label = bandLabel();
    const QFontMetrics metrics(font);
    const QRect box(bandAnchor_.x(), bandAnchor_.y() - 15, metrics.horizontalAdvance(label), metrics.height());
    painter.fillRect(box, QColor(192, 192, 192));
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, label);
    painter.restore();
}

void CTolvaniView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!doc_ || setUpPending_) return;
    SizeDisplay();
    OnUpdate();
}

void CTolvaniView::StartBand(QPoint at) {
    bandAnchor_ = bandCorner_ = bandPointer_ = at;
    bandActive_ = true;
    update();
}

void CTolvaniView::mousePressEvent(QMouseEvent* event) {
    if (!doc_) return;
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        cursor_ = doc_->Screen().ToDrawing(at.x(), at.y());
        if (event->modifiers() & Qt::AltModifier) {
            doc_->Screen().CenterOn(cursor_.x, cursor_.y);
            doc_->UpdateAllViews();
        } else if (mouseMode_) {
            mouseMode_->Press(cursor_, at);
            update();
        }
        if (!bandActive_ && (event->buttons() & Qt::RightButton)) StartBand(at);
    } else if (event->button() == Qt::RightButton) {
        if (!bandActive_ && (event->buttons() & Qt::LeftButton)) StartBand(at);
    }
}

void CTolvaniView::mouseMoveEvent(QMouseEvent* event) {
    if (!doc_) return;
    const QPoint at = event->position().toPoint();
    cursor_ = doc_->Screen().ToDrawing(at.x(), at.y());
    if (mouseMode_) {
        mouseMode_->Move(cursor_, at);
        update();
    }
    SetPane(kCursorPane, QString::asprintf(" %6.2f : %6.2f", cursor_.x, cursor_.y));
    if (bandActive_) {
        bandPointer_ = at;
        if (at.x() > bandAnchor_.x() && at.y() > bandAnchor_.y()) bandCorner_ = at;
        update();
    }
}

void CTolvaniView::mouseReleaseEvent(QMouseEvent* event) {
    if (!doc_ || event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    if (mouseMode_) {
        mouseMode_->Release(doc_->Screen().ToDrawing(at.x(), at.y()), at);
        update();
    }
    if (!bandActive_) return;
    bandActive_ = false;
    update();
    const BandGesture done = EndBand(doc_->Screen(), {bandAnchor_.x(), bandAnchor_.y()}, {at.x(), at.y()});
    if (done == BandGesture::WholePaper)
        doc_->FitPaper();
    else
        doc_->UpdateAllViews();
}

void CTolvaniView::wheelEvent(QWheelEvent* event) {
    event->accept();
    if (!doc_) return;
    // Some platforms turn the wheel with Alt (or Shift) held into a
    // horizontal one; either axis counts.
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (delta == 0) return;
    // A fine-grained wheel or a touchpad sends small parts of a step; a
    // step is taken for each whole one.
    if ((wheelRemainder_ > 0) != (delta > 0)) wheelRemainder_ = 0;
    wheelRemainder_ += delta;
    const int steps = wheelRemainder_ / kWheelStep;
    if (steps == 0) return;
    wheelRemainder_ -= steps * kWheelStep;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    for (int i = 0; i < std::abs(steps); ++i)
        WheelStep(doc_->Screen(), shift, ctrl, steps > 0 ? 1 : -1, doc_->ZoomUp());
    doc_->UpdateAllViews();
}

void CTolvaniView::keyPressEvent(QKeyEvent* event) {
    if (!doc_) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (mouseMode_ && mouseMode_->Key(event->key())) {
        update();
        return;
    }
    NavKey key;
    switch (event->key()) {
        case Qt::Key_PageUp: key = NavKey::PageUp; break;
        case Qt::Key_PageDown: key = NavKey::PageDown; break;
        case Qt::Key_Home: doc_->FitPaper(); return;
        case Qt::Key_Left: key = NavKey::Left; break;
        case Qt::Key_Up: key = NavKey::Up; break;
        case Qt::Key_Right: key = NavKey::Right; break;
        case Qt::Key_Down: key = NavKey::Down; break;
        default: QWidget::keyPressEvent(event); return;
    }
    KeyStep(doc_->Screen(), key);
    doc_->UpdateAllViews();
}

}  // namespace tolvani::display
