#include "settings/ui/CPropColor.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/SettingsSheetRules.h"
#include "settings/ui/ColorText.h"

namespace tolvani::settings {
namespace {

// The button texts as the program has always shown them.
const char* const kButtonTexts[9] = {"",        "線色 １", "線色 ２", "線色 ３", "線色 ４",
                                     "線色 ５", "線色 ６", "線色 7",  "線色 ８"};

QString Num(long v) { return QString::fromStdString(SettingsSheetRules::Number(v)); }

}  // namespace

CPropColor::CPropColor(SettingsSheetRules& rules, QWidget* parent) : QWidget(parent), rules_(rules) {
    auto* grid = new QGridLayout;
    const char* const titles[] = {"赤", "緑", "青", "線幅"};
    for (int c = 0; c < 4; ++c) {
        auto* t = new QLabel(QString::fromUtf8(titles[c]), this);
        t->setAlignment(Qt::AlignCenter);
        grid->addWidget(t, 0, c + 1);
    }
    for (int n = 1; n <= SettingsSheetRules::kLineColors; ++n) {
        buttons_[n] = new QPushButton(QString::fromUtf8(kButtonTexts[n]), this);
        buttons_[n]->setObjectName(QStringLiteral("colorButton%1").arg(n));
        buttons_[n]->setAutoDefault(false);
        red_[n] = MakeNumber({}, this);
        green_[n] = MakeNumber({}, this);
        blue_[n] = MakeNumber({}, this);
        red_[n]->setObjectName(QStringLiteral("red%1").arg(n));
        green_[n]->setObjectName(QStringLiteral("green%1").arg(n));
        blue_[n]->setObjectName(QStringLiteral("blue%1").arg(n));
        auto* width = MakeNumber(Num(rules_.width[n]), this);
        width->setObjectName(QStringLiteral("width%1").arg(n));
        samples_[n] = MakeSample(this);
        samples_[n]->setObjectName(QStringLiteral("sample%1").arg(n));
        grid->addWidget(buttons_[n], n, 0);
        grid->addWidget(red_[n], n, 1);
        grid->addWidget(green_[n], n, 2);
        grid->addWidget(blue_[n], n, 3);
        grid->addWidget(width, n, 4);
        grid->addWidget(samples_[n], n, 5);
        ShowColor(n);
        connect(buttons_[n], &QPushButton::clicked, this, [this, n] { Choose(n); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto* note = new QLabel("線色を変更するには各 『線色番号ボタン』 をクリックして下さい", this);
    note->setWordWrap(true);
    layout->addSpacing(8);
    layout->addWidget(note);
    layout->addStretch(1);
}

void CPropColor::ShowColor(int n) {
    const uint32_t c = rules_.color[n];
    red_[n]->setText(Num(SettingsSheetRules::Red(c)));
    green_[n]->setText(Num(SettingsSheetRules::Green(c)));
    blue_[n]->setText(Num(SettingsSheetRules::Blue(c)));
    PaintSample(samples_[n], c);
}

void CPropColor::Choose(int n) {
    QColorDialog chooser(ToQColor(rules_.color[n]), this);
    chooser.setWindowTitle(QString::fromUtf8(kButtonTexts[n]));
    if (chooser.exec() != QDialog::Accepted) return;
    rules_.ChooseColor(n, FromQColor(chooser.selectedColor()));
    ShowColor(n);
    emit colorChanged(n);
}

}  // namespace tolvani::settings
