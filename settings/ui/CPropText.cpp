#include "settings/ui/CPropText.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "settings/SettingsSheetRules.h"
#include "settings/ui/ColorText.h"

namespace tolvani::settings {

CPropText::CPropText(SettingsSheetRules& rules, QWidget* parent) : QWidget(parent), rules_(rules) {
    auto* grid = new QGridLayout;
    const char* const titles[] = {"横", "縦", "間隔", "色No."};
    for (int c = 0; c < 4; ++c) {
        auto* t = new QLabel(QString::fromUtf8(titles[c]), this);
        t->setAlignment(Qt::AlignCenter);
        grid->addWidget(t, 0, c + 1);
    }
    auto size = [this](double v) { return MakeNumber(QString::fromStdString(SettingsSheetRules::Size(v)), this); };
    for (int t = 1; t <= kTextTypes; ++t) {
        grid->addWidget(new QLabel(QStringLiteral("文字種 %1").arg(t), this), t, 0);
        grid->addWidget(size(rules_.textWidth[t]), t, 1);
        grid->addWidget(size(rules_.textHeight[t]), t, 2);
        grid->addWidget(size(rules_.textSpacing[t]), t, 3);
        auto* number = new QLineEdit(QString::number(rules_.textColor[t]), this);
        number->setObjectName(QStringLiteral("textColor%1").arg(t));
        number->setAlignment(Qt::AlignRight);
        number->setValidator(new QIntValidator(0, static_cast<int>(SettingsSheetRules::kMaxColorNumber), number));
        number->setFixedWidth(number->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
        numbers_[t] = number;
        samples_[t] = MakeSample(this);
        samples_[t]->setObjectName(QStringLiteral("textSample%1").arg(t));
        grid->addWidget(number, t, 4);
        grid->addWidget(samples_[t], t, 5);
        PaintType(t);
        connect(number, &QLineEdit::textEdited, this, [this, t](const QString& text) {
            rules_.SetTextColor(t, text.toStdString());
            PaintType(t);
        });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto* note = new QLabel(
        "ここで変更できるのは、色番号だけです。それ以外の項目はメニューのオブジェクトの編集・印刷からJw_"
        "cadを起動して変更して下さい。",
        this);
    note->setWordWrap(true);
    layout->addSpacing(8);
    layout->addWidget(note);
    layout->addStretch(1);
}

void CPropText::PaintType(int t) {
    uint32_t color = 0;
    if (rules_.ScreenColor(rules_.textColor[t], color))
        PaintSample(samples_[t], color);
    else
        ClearSample(samples_[t]);
}

void CPropText::RefreshSamples() {
    for (int t = 1; t <= kTextTypes; ++t) PaintType(t);
}

}  // namespace tolvani::settings
