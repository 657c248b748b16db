// Where the table source gets the clipboard's text from. The user interface
// fills it from the system clipboard; tests and the command-line tool give
// fixed texts.
#pragma once

#include <string>
#include <string_view>

namespace tolvani {

class ClipboardText {
public:
    virtual ~ClipboardText() = default;
    // The clipboard's whole Unicode text. False when the clipboard offers
    // no Unicode text or cannot be opened.
    virtual bool GetUnicodeText(std::u16string& text) = 0;
};

// A clipboard that holds a fixed text, or nothing.
class FixedClipboardText : public ClipboardText {
public:
    FixedClipboardText() = default;
    explicit FixedClipboardText(std::u16string text) : text_(std::move(text)), has_(true) {}
    bool GetUnicodeText(std::u16string& text) override {
        if (!has_) return false;
        text = text_;
        return true;
    }

private:
    std::u16string text_;
    bool has_ = false;
};

// UTF-8 text as UTF-16, for a clipboard text kept in a file. Each byte
// that is not part of a valid sequence becomes U+FFFD.
std::u16string Utf8ToUtf16Text(std::string_view text);

}  // namespace tolvani
