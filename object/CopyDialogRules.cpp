#include "object/CopyDialogRules.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tolvani::object {
namespace {

std::string SizeText(double w, double h) {
    char buf[128];
    std::snprintf(buf, sizeof buf, " %6.1fmm×%6.1fmm", w, h);
    return buf;
}

// The decimal number at the start of the text (after white space and an
// optional sign), whatever the user's locale; 0 when there is none.
double ReadNumber(const std::string& text) {
    const char* p = text.c_str();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    double v = 0;
    const auto r = std::from_chars(p, end, v);
    if (r.ec != std::errc()) return 0;
    return negative ? -v : v;
}

}  // namespace

std::string CopyDialogRules::PasteSizeText() const { return SizeText(PasteWidth(), PasteHeight()); }

std::string CopyDialogRules::DrawingSizeText() const { return SizeText(screen_.viewWidth, screen_.viewHeight); }

std::string CopyDialogRules::ScaleText() const {
    char buf[64];
    const double s = screen_.viewWidth != 0 ? PasteWidth() / screen_.viewWidth : 0;
    std::snprintf(buf, sizeof buf, "%8.2f", s);
    return buf;
}

bool CopyDialogRules::ApplyScale(const std::string& text) {
    const double s = ReadNumber(text);
    // A negative scale would turn the view window inside out.
    if (!(s > 0) || !std::isfinite(s)) return false;
    return display::SetViewScale(screen_, values_, s);
}

}  // namespace tolvani::object
