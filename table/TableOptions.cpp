#include "table/TableOptions.h"

namespace tolvani {

namespace {

void Keep(int& value, int lo, int hi, int fallback) {
    if (value < lo || value > hi) value = fallback;
}

}  // namespace

TableOptions TableOptions::Sanitized() const {
    const TableOptions d;
    TableOptions o = *this;
    Keep(o.cellLeft, 0, 50, d.cellLeft);
    Keep(o.cellRight, 0, 50, d.cellRight);
    Keep(o.cellTop, 0, 50, d.cellTop);
    Keep(o.cellBottom, 0, 50, d.cellBottom);
    Keep(o.gridStyle, 1, 8, d.gridStyle);
    Keep(o.gridColor, 1, 8, d.gridColor);
    Keep(o.cellTextType, 1, 10, d.cellTextType);
    Keep(o.layerGroup, 0, 15, d.layerGroup);
    Keep(o.layerLine, 0, 15, d.layerLine);
    Keep(o.layerText, 0, 15, d.layerText);
    return o;
}

}  // namespace tolvani
