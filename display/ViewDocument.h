// What a view of a drawing needs from the document that owns it, and how
// the document tells its views about changes. Views change only the view
// state of the drawing context and then ask the document to redraw all
// views; nothing else changes the drawing behind a view's back.
#pragma once

#include <memory>

#include "display/CJwwScreen.h"
#include "display/DrawDocument.h"
#include "model/CJwwDoc.h"

namespace tolvani::display {

// Device units per inch of a target, for the HIMETRIC (0.01 mm) sizes.
struct DeviceResolution {
    double dpiX = 96;
    double dpiY = 96;
    DeviceSize ToHimetric(DeviceSize device) const;
    DeviceSize ToDevice(DeviceSize himetric) const;
};

class ViewObserver {
public:
    virtual ~ViewObserver() = default;
    // The document or its view state changed: redraw.
    virtual void OnUpdate() = 0;
    // The drawing is about to change: stop reading it, and return only when
    // no draw of it is running any more.
    virtual void StopDrawing() = 0;
};

class ViewDocument {
public:
    virtual ~ViewDocument() = default;

    // The drawing, shared so that a draw running on a worker keeps it alive
    // while the document moves on to another one.
    virtual std::shared_ptr<const CJwwDoc> Drawing() const = 0;
    virtual CJwwScreen& Screen() = 0;
    virtual ViewValues& Values() = 0;
    // Wheel direction: 0 = the wheel turned away from the user zooms in.
    virtual int ZoomUp() const = 0;
    virtual bool RunningEmbedded() const = 0;

    // Shows the whole paper and redraws all views.
    virtual void FitPaper() = 0;
    // Redraws all views.
    virtual void UpdateAllViews() = 0;
    // A view finished drawing the drawing it was given.
    virtual void DrawFinished(const CJwwDoc& drawn, const DrawReport& report) = 0;

    virtual void AddView(ViewObserver* view) = 0;
    virtual void RemoveView(ViewObserver* view) = 0;
};

}  // namespace tolvani::display
