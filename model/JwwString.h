// A text held by the drawing: code page 932 bytes, exactly as read or as the
// program made them. A string that a file stored in the 16-bit form and that
// holds characters without a code page 932 form also keeps its UTF-16 text,
// so that showing and saving it loses nothing while it is unchanged.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tolvani {

class JwwString {
public:
    JwwString() = default;
    JwwString(std::string bytes) : bytes_(std::move(bytes)) {}  // NOLINT: implicit by design
    JwwString(const char* bytes) : bytes_(bytes) {}             // NOLINT

    const std::string& bytes() const { return bytes_; }
    std::string_view view() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }

    // Replaces the text; any UTF-16 original is dropped.
    void assign(std::string bytes) {
        bytes_ = std::move(bytes);
        wide_.reset();
    }

    // Holds a 16-bit string whose characters do not all map to code page 932:
    // `bytes` is its code page 932 form with 〓 for those characters.
    void assignWide(std::string bytes, std::u16string wide) {
        bytes_ = std::move(bytes);
        wide_ = std::make_shared<const std::u16string>(std::move(wide));
    }

    // The UTF-16 original, or null when the code page 932 bytes are the text.
    const std::u16string* wide() const { return wide_.get(); }

    // The text as UTF-8, for output.
    std::string toUtf8() const;

    friend bool operator==(const JwwString& a, const JwwString& b) {
        if (a.bytes_ != b.bytes_) return false;
        if (!a.wide_ || !b.wide_) return !a.wide_ && !b.wide_;
        return *a.wide_ == *b.wide_;
    }
    friend bool operator!=(const JwwString& a, const JwwString& b) { return !(a == b); }

private:
    std::string bytes_;
    std::shared_ptr<const std::u16string> wide_;
};

}  // namespace tolvani
