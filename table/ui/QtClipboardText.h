// The system clipboard's text for the table source.
#pragma once

#include "table/ClipboardText.h"

namespace tolvani {

class QtClipboardText : public ClipboardText {
public:
    // The clipboard's Unicode text; false when it offers none.
    bool GetUnicodeText(std::u16string& text) override;
};

}  // namespace tolvani
