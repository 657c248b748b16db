#include "table/ui/CCellOption.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tolvani {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

QComboBox* List(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(false);
    return box;
}

}  // namespace

CCellOption::CCellOption(TableDialogPrompts prompts, QWidget* parent) : QDialog(parent), prompts_(std::move(prompts)) {
    setWindowTitle(QString::fromUtf8(CellOptionRules::kTitle));
    setObjectName(QStringLiteral("CCellOption"));

    // Text type, with the labels of the list's columns above it.
    textType_ = List(this, "list1017");
    textType_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (int t = 0; t < kTextTypes; ++t) textType_->addItem(QString());
    auto* typeLabels = new QHBoxLayout;
    typeLabels->addWidget(new QLabel(QStringLiteral("文字種"), this));
    typeLabels->addStretch(2);
    for (const char* label : {"横", "縦", "間隔", "色No."}) {
        typeLabels->addWidget(new QLabel(QString::fromUtf8(label), this));
        typeLabels->addStretch(1);
    }

    // Ruled lines.
    lineColor_ = List(this, "list1075");
    lineType_ = List(this, "list1081");
    for (int n = 1; n <= CellOptionRules::kChoices; ++n) {
        lineColor_->addItem(Q(CellOptionRules::LineColorLine(n)));
        lineType_->addItem(Q(CellOptionRules::LineTypeLine(n)));
    }
    sample_ = new QLineEdit(this);
    sample_->setObjectName(QStringLiteral("edit1023"));
    sample_->setReadOnly(true);
    sample_->setFocusPolicy(Qt::NoFocus);
    sample_->setFixedWidth(48);
    auto* frame = new QGroupBox(QStringLiteral("枠線"), this);
    auto* frameLayout = new QGridLayout(frame);
    frameLayout->addWidget(new QLabel(QStringLiteral("線色"), frame), 0, 0);
    frameLayout->addWidget(lineColor_, 0, 1);
    frameLayout->addWidget(sample_, 0, 2);
    frameLayout->addWidget(new QLabel(QStringLiteral("線種"), frame), 1, 0);
    frameLayout->addWidget(lineType_, 1, 1);

    // Cell margins: numbers set by their spin buttons only.
    auto* marginBox = new QGroupBox(QStringLiteral("セルマージン（ × 0.1 mm ）"), this);
    auto* marginLayout = new QGridLayout(marginBox);
    const char* marginLabels[4] = {"左", "右", "上", "下"};
    const char* marginNames[4] = {"edit1000", "edit1004", "edit1005", "edit1012"};
    for (int i = 0; i < 4; ++i) {
        auto* spin = new QSpinBox(marginBox);
        spin->setObjectName(QString::fromLatin1(marginNames[i]));
        spin->setRange(CellOptionRules::kMarginMin, CellOptionRules::kMarginMax);
        // The number changes by the spin buttons and the arrow keys only.
        if (auto* edit = spin->findChild<QLineEdit*>()) edit->setReadOnly(true);
        margins_[i] = spin;
        marginLayout->addWidget(new QLabel(QString::fromUtf8(marginLabels[i]), marginBox), i / 2, (i % 2) * 2);
        marginLayout->addWidget(spin, i / 2, (i % 2) * 2 + 1);
    }

    // Layers.
    auto* layerBox = new QGroupBox(QStringLiteral("レイヤー"), this);
    layerCheck_ = new QCheckBox(
        QStringLiteral("書き込みレイヤーを指定する（指定しなければすべて現在の書き込みレイヤー）"), layerBox);
    layerCheck_->setObjectName(QStringLiteral("check1002"));
    group_ = List(layerBox, "list1078");
    lineLayer_ = List(layerBox, "list1079");
    textLayer_ = List(layerBox, "list1080");
    for (int n = 0; n < CellOptionRules::kLayerChoices; ++n)
        for (QComboBox* box : {group_, lineLayer_, textLayer_}) box->addItem(Q(CellOptionRules::LayerLine(n)));
    auto* layerLayout = new QGridLayout(layerBox);
    layerLayout->addWidget(layerCheck_, 0, 0, 1, 6);
    layerLayout->addWidget(new QLabel(QStringLiteral("グループ"), layerBox), 1, 0);
    layerLayout->addWidget(group_, 1, 1);
    layerLayout->addWidget(new QLabel(QStringLiteral("直線"), layerBox), 1, 2);
    layerLayout->addWidget(lineLayer_, 1, 3);
    layerLayout->addWidget(new QLabel(QStringLiteral("文字"), layerBox), 1, 4);
    layerLayout->addWidget(textLayer_, 1, 5);

    // Block figure.
    auto* blockBox = new QGroupBox(QStringLiteral("図形形式"), this);
    blockCheck_ = new QCheckBox(QStringLiteral("ブロック図形として挿入する"), blockBox);
    blockCheck_->setObjectName(QStringLiteral("check1062"));
    blockName_ = new QLineEdit(blockBox);
    blockName_->setObjectName(QStringLiteral("edit1022"));
    auto* blockLayout = new QGridLayout(blockBox);
    blockLayout->addWidget(blockCheck_, 0, 0, 1, 2);
    blockLayout->addWidget(new QLabel(QStringLiteral("ブロック名"), blockBox), 1, 0);
    blockLayout->addWidget(blockName_, 1, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("button1"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("button2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CCellOption::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCellOption::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(typeLabels);
    layout->addWidget(textType_);
    auto* middle = new QHBoxLayout;
    middle->addWidget(frame);
    middle->addWidget(marginBox);
    layout->addLayout(middle);
    layout->addWidget(layerBox);
    layout->addWidget(blockBox);
    layout->addWidget(buttons);

    connect(lineColor_, &QComboBox::activated, this, [this](int line) {
        rules_.ChooseLineColor(line);
        PaintSample();
    });
    connect(lineType_, &QComboBox::activated, this, [this](int line) { rules_.ChooseLineType(line); });
    connect(group_, &QComboBox::activated, this, [this](int line) { rules_.ChooseLayerGroup(line); });
    connect(lineLayer_, &QComboBox::activated, this, [this](int line) { rules_.ChooseLayerLine(line); });
    connect(textLayer_, &QComboBox::activated, this, [this](int line) { rules_.ChooseLayerText(line); });
    connect(blockCheck_, &QCheckBox::toggled, this, [this](bool on) { blockName_->setReadOnly(!on); });
}

int CCellOption::Open(const TableOptions& current, const CJwwHeader& header) {
    rules_.CopyIn(current, header);
    for (int t = 0; t < kTextTypes; ++t) textType_->setItemText(t, Q(rules_.TextTypeListLine(t)));
    const CellOptionRules::Shown shown = rules_.Opening();
    textType_->setCurrentIndex(shown.textTypeLine);
    lineColor_->setCurrentIndex(rules_.LineColorIndex());
    lineType_->setCurrentIndex(rules_.LineTypeIndex());
    for (int i = 0; i < 4; ++i) margins_[i]->setValue(shown.margins[i]);
    layerCheck_->setChecked(shown.cellLayer);
    group_->setCurrentIndex(rules_.options.layerGroup);
    lineLayer_->setCurrentIndex(rules_.options.layerLine);
    textLayer_->setCurrentIndex(rules_.options.layerText);
    blockCheck_->setChecked(shown.cellBlock);
    blockName_->setText(Q(shown.blockName));
    blockName_->setReadOnly(!shown.cellBlock);
    PaintSample();
    return exec();
}

void CCellOption::PaintSample() {
    const uint32_t c = rules_.SampleColor();
    QPalette palette = sample_->palette();
    palette.setColor(QPalette::Base, QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                                            static_cast<int>((c >> 16) & 0xFF)));
    sample_->setPalette(palette);
    sample_->setAutoFillBackground(true);
    sample_->update();
}

void CCellOption::accept() {
    CellOptionRules::Shown shown;
    shown.textTypeLine = textType_->currentIndex();
    for (int i = 0; i < 4; ++i) shown.margins[i] = margins_[i]->value();
    shown.cellLayer = layerCheck_->isChecked();
    shown.cellBlock = blockCheck_->isChecked();
    shown.blockName = blockName_->text().toStdString();
    const std::string refusal = rules_.Confirm(shown);
    if (!refusal.empty()) {
        prompts_.Message(this, QString::fromStdString(refusal));
        return;
    }
    QDialog::accept();
}

}  // namespace tolvani
