#include "table/TableRecordReader.h"

#include <utility>

#include "model/Cp932.h"
#include "table/TableText.h"

namespace tolvani {

TableRecordReader::TableRecordReader(std::string_view text, TableTextKind kind)
    : text_(text), kind_(kind), separator_(kind == TableTextKind::Csv ? ',' : '\t') {}

bool TableRecordReader::IsLineEnd(std::size_t i) const {
    return i < text_.size() && (text_[i] == '\n' || (text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n'));
}

std::size_t TableRecordReader::LineEndLength(std::size_t i) const { return text_[i] == '\r' ? 2 : 1; }

std::size_t TableRecordReader::CharLength(std::size_t i) const {
    return IsCp932LeadByte(static_cast<uint8_t>(text_[i])) && i + 1 < text_.size() && !IsLineEnd(i + 1) ? 2 : 1;
}

TableRecordReader::Step TableRecordReader::QuotedStep(std::size_t i, std::size_t& next) const {
    const std::size_t n = text_.size();
    if (text_[i] == '"') {
        next = i + 1;
        if (i + 1 < n && text_[i + 1] == '"') {
            next = i + 2;
            return Step::Quote;
        }
        if (i + 1 == n || text_[i + 1] == separator_ || IsLineEnd(i + 1)) return Step::Close;
        return Step::Quote;
    }
    if (IsLineEnd(i)) {
        next = i + LineEndLength(i);
        return Step::Space;
    }
    if (kind_ == TableTextKind::Clipboard && text_[i] == '\r') {
        next = i + 1;
        return Step::Drop;
    }
    next = i + CharLength(i);
    return Step::Text;
}

std::size_t TableRecordReader::ScanQuoted(std::size_t open, std::string* out) {
    const std::size_t n = text_.size();
    std::size_t i = open + 1;
    while (i < n && (unclosed_.empty() || !unclosed_[i])) {
        std::size_t next = 0;
        const Step step = QuotedStep(i, next);
        if (step == Step::Close) return i;
        if (out) {
            switch (step) {
                case Step::Text: out->append(text_.substr(i, next - i)); break;
                case Step::Quote: out->push_back('"'); break;
                case Step::Space: out->push_back(' '); break;
                default: break;
            }
        }
        i = next;
    }
    // Every place this field went through leads to no ending quote either.
    if (unclosed_.empty()) unclosed_.assign(n, false);
    for (std::size_t j = open + 1; j < n && !unclosed_[j];) {
        unclosed_[j] = true;
        std::size_t next = 0;
        QuotedStep(j, next);
        j = next;
    }
    return std::string_view::npos;
}

std::size_t TableRecordReader::UnquotedEnd(std::size_t i) const {
    while (i < text_.size() && text_[i] != separator_ && !IsLineEnd(i)) i += CharLength(i);
    return i;
}

std::size_t TableRecordReader::LineContentEnd(std::size_t i, std::size_t& next) const {
    while (i < text_.size() && !IsLineEnd(i)) ++i;
    next = i < text_.size() ? i + LineEndLength(i) : i;
    return i;
}

std::string TableRecordReader::Plain(std::string_view raw) const {
    if (kind_ == TableTextKind::Csv) return RemoveQuotes(raw);
    std::string out;
    out.reserve(raw.size());
    for (char c : raw)
        if (c != '\r') out.push_back(c);
    return out;
}

void TableRecordReader::Store(TableRecord& record, std::size_t maxFields, std::string&& field) const {
    ++record.fieldCount;
    if (record.fields.size() < maxFields) record.fields.push_back(std::move(field));
}

bool TableRecordReader::Next(std::size_t maxFields, TableRecord& record) {
    record.fields.clear();
    record.fieldCount = 0;
    const std::size_t n = text_.size();
    if (pos_ >= n) return false;
    const bool clipboard = kind_ == TableTextKind::Clipboard;
    if (clipboard && IsLineEnd(pos_)) {
        pos_ = n;  // the first empty line ends the table
        return false;
    }

    std::size_t i = pos_;
    for (;;) {
        if (i < n && text_[i] == '"') {
            std::string field;
            const bool keep = record.fields.size() < maxFields;
            const std::size_t close = ScanQuoted(i, keep ? &field : nullptr);
            if (close != std::string_view::npos) {
                Store(record, maxFields, std::move(field));
                i = close + 1;
                if (i < n && text_[i] == separator_) {
                    ++i;
                    continue;
                }
                break;
            }
            // No ending quote: the rest of this line, the plain way.
            std::size_t next = 0;
            const std::size_t end = LineContentEnd(i, next);
            const std::string rest = Plain(text_.substr(i, end - i));
            record.fieldCount += CountFields(rest, separator_);
            const std::size_t stored = record.fields.size();
            SplitFields(rest, separator_, maxFields > stored ? maxFields - stored : 0, record.fields);
            i = end;
            break;
        }
        const std::size_t end = UnquotedEnd(i);
        Store(record, maxFields, Plain(text_.substr(i, end - i)));
        i = end;
        if (i < n && text_[i] == separator_) {
            ++i;
            continue;
        }
        break;
    }

    if (i >= n) {
        pos_ = n;
        if (clipboard) {  // a last record without a line end is not taken
            record.fields.clear();
            record.fieldCount = 0;
            return false;
        }
        return true;
    }
    pos_ = i + LineEndLength(i);
    return true;
}

}  // namespace tolvani
