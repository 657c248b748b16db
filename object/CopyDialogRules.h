// The object copy dialog's values and rules: the size the pasted picture
// will have (the view's client area), the part of the drawing it shows (the
// view window), the ratio between them, and setting that ratio.
#pragma once

#include <string>

#include "display/CJwwScreen.h"
#include "display/DrawDocument.h"

namespace tolvani::object {

class CopyDialogRules {
public:
    CopyDialogRules(display::CJwwScreen& screen, const display::ViewValues& values, bool objEdit, bool objOutp)
        : screen_(screen), values_(values), objEdit_(objEdit), objOutp_(objOutp) {}

    double PasteWidth() const { return values_.clientHimetric.width * 0.01; }
    double PasteHeight() const { return values_.clientHimetric.height * 0.01; }

    // " %6.1fmm×%6.1fmm" of the paste size, of the drawing size; "%8.2f" of
    // the paste scale.
    std::string PasteSizeText() const;
    std::string DrawingSizeText() const;
    std::string ScaleText() const;

    // "縮尺再設定": the text read as a decimal number. A text that is not a
    // number, or a scale that is not positive and finite, changes nothing
    // (false); otherwise the view takes the scale about its centre (true:
    // the views are to be redrawn and the texts filled again).
    bool ApplyScale(const std::string& text);

    bool objEdit() const { return objEdit_; }
    bool objOutp() const { return objOutp_; }
    void SetObjEdit(bool v) { objEdit_ = v; }
    void SetObjOutp(bool v) { objOutp_ = v; }

private:
    display::CJwwScreen& screen_;
    const display::ViewValues& values_;
    bool objEdit_;
    bool objOutp_;
};

}  // namespace tolvani::object
