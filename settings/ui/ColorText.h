// Colours of the drawing (0x00BBGGRR) as Qt colours, and the painted
// samples of the settings pages.
#pragma once

#include <QColor>
#include <QLineEdit>
#include <cstdint>

namespace tolvani::settings {

inline QColor ToQColor(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
inline uint32_t FromQColor(const QColor& c) {
    return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
           static_cast<uint32_t>(c.blue()) << 16;
}

// A read-only edit that shows nothing but its background colour.
QLineEdit* MakeSample(QWidget* parent);
void PaintSample(QLineEdit* sample, uint32_t color);
// A sample with no colour to show (a colour number outside the table).
void ClearSample(QLineEdit* sample);

// A read-only edit for a number.
QLineEdit* MakeNumber(const QString& text, QWidget* parent);

}  // namespace tolvani::settings
