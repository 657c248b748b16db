#include "settings/ui/ColorText.h"

#include <QFontMetrics>

namespace tolvani::settings {

QLineEdit* MakeSample(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    return e;
}

void PaintSample(QLineEdit* sample, uint32_t color) {
    sample->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; }").arg(ToQColor(color).name()));
}

void ClearSample(QLineEdit* sample) { sample->setStyleSheet(QString()); }

QLineEdit* MakeNumber(const QString& text, QWidget* parent) {
    auto* e = new QLineEdit(text, parent);
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    return e;
}

}  // namespace tolvani::settings
