#include "display/qt/GlyphPainter.h"

#include <QFontMetricsF>

namespace tolvani::display {

VerticalForm VerticalFormOf(char32_t cp) {
    switch (cp) {
        // Lines and dashes that run along the line of writing.
        case 0x30FC:
        case 0x2015:
        case 0x2014:
        case 0x2010:
        case 0xFF0D:
        case 0x2212:
        case 0x301C:
        case 0xFF5E:
        case 0x2026:
        case 0x2025:
        case 0xFF1D:
        case 0xFF5C:
        case 0xFF3F:
        case 0xFF1A:
        case 0x2192:
        case 0x2190:
        // Brackets.
        case 0xFF08:
        case 0xFF09:
        case 0xFF3B:
        case 0xFF3D:
        case 0xFF5B:
        case 0xFF5D:
        case 0x300C:
        case 0x300D:
        case 0x300E:
        case 0x300F:
        case 0x3010:
        case 0x3011:
        case 0x3014:
        case 0x3015:
        case 0x3008:
        case 0x3009:
        case 0x300A:
        case 0x300B:
        case 0xFF1C:
        case 0xFF1E:
        case 0x3016:
        case 0x3017: return VerticalForm::Turned;
        case 0x3001:
        case 0x3002:
        case 0xFF0C:
        case 0xFF0E: return VerticalForm::Corner;
        // Small kana.
        case 0x3041:
        case 0x3043:
        case 0x3045:
        case 0x3047:
        case 0x3049:
        case 0x3063:
        case 0x3083:
        case 0x3085:
        case 0x3087:
        case 0x308E:
        case 0x3095:
        case 0x3096:
        case 0x30A1:
        case 0x30A3:
        case 0x30A5:
        case 0x30A7:
        case 0x30A9:
        case 0x30C3:
        case 0x30E3:
        case 0x30E5:
        case 0x30E7:
        case 0x30EE:
        case 0x30F5:
        case 0x30F6: return VerticalForm::SmallKana;
        default: return VerticalForm::Upright;
    }
}

void PaintGlyph(QPainter& painter, const QTransform& base, double x, double y, const ResolvedFont& f, bool doubleByte,
                char32_t cp, const QString& text) {
    QTransform t = base;
    t.translate(x, y);
    if (f.escapement != 0) t.rotate(-f.escapement / 10.0);
    painter.setFont(f.font);
    if (!f.vertical) {
        painter.setTransform(t);
        painter.drawText(QPointF(0, f.ascent), text);
        return;
    }
    if (!doubleByte) {
        // Half-width glyphs stand upright, hanging from the point toward the
        // start of the column; their height is half a step, so they fill
        // half cells one under the other.
        t.rotate(-90);
        painter.setTransform(t);
        painter.drawText(QPointF(0, f.ascent), text);
        return;
    }
    const VerticalForm form = VerticalFormOf(cp);
    if (form == VerticalForm::Turned) {
        painter.setTransform(t);
        painter.drawText(QPointF(0, f.ascent), text);
        return;
    }
    // Upright in the square cell of side h beside the point.
    const double h = f.height;
    t.translate(h / 2, h / 2);
    t.rotate(-90);
    double dx = 0, dy = 0;
    if (form == VerticalForm::Corner) {
        dx = 0.55 * h;
        dy = -0.6 * h;
    } else if (form == VerticalForm::SmallKana) {
        dx = 0.12 * h;
        dy = -0.12 * h;
    }
    painter.setTransform(t);
    const double advance = QFontMetricsF(f.font).horizontalAdvance(text);
    painter.drawText(QPointF(-advance / 2 + dx, -f.cellHeight / 2 + f.ascent + dy), text);
}

}  // namespace tolvani::display
