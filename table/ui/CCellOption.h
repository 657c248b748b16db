// The options dialog "表の挿入／オプション設定": text type, line colour and
// line type of the ruled lines, cell margins, layers and the block figure,
// on a working copy that the caller takes back only after OK.
#pragma once

#include <QDialog>

#include "table/CellOptionRules.h"
#include "table/ui/TableDialogPrompts.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace tolvani {

class CCellOption : public QDialog {
    Q_OBJECT
public:
    explicit CCellOption(TableDialogPrompts prompts, QWidget* parent = nullptr);

    // Fills the dialog from the options, the drawing's text types and its
    // screen colours, and runs it. After OK, options() holds what was
    // confirmed.
    int Open(const TableOptions& current, const CJwwHeader& header);
    const TableOptions& options() const { return rules_.options; }

    QComboBox* textTypeList() const { return textType_; }
    QComboBox* lineColorList() const { return lineColor_; }
    QLineEdit* colorSample() const { return sample_; }
    QComboBox* lineTypeList() const { return lineType_; }
    // Left, right, top, bottom.
    QSpinBox* margin(int i) const { return margins_[i]; }
    QCheckBox* layerCheck() const { return layerCheck_; }
    QComboBox* groupList() const { return group_; }
    QComboBox* lineLayerList() const { return lineLayer_; }
    QComboBox* textLayerList() const { return textLayer_; }
    QCheckBox* blockCheck() const { return blockCheck_; }
    QLineEdit* blockNameEdit() const { return blockName_; }

    void accept() override;

private:
    void PaintSample();

    CellOptionRules rules_;
    TableDialogPrompts prompts_;
    QComboBox* textType_ = nullptr;
    QComboBox* lineColor_ = nullptr;
    QLineEdit* sample_ = nullptr;
    QComboBox* lineType_ = nullptr;
    QSpinBox* margins_[4] = {};
    QCheckBox* layerCheck_ = nullptr;
    QComboBox* group_ = nullptr;
    QComboBox* lineLayer_ = nullptr;
    QComboBox* textLayer_ = nullptr;
    QCheckBox* blockCheck_ = nullptr;
    QLineEdit* blockName_ = nullptr;
};

}  // namespace tolvani
