// Reads a table text record by record, as spreadsheet programs write their
// CSV files and their clipboard tables: fields between separators, records
// ended by line ends, and quoted fields.
//
// A field whose first character is a double quote is quoted. It ends at the
// first double quote that is not doubled and stands before the separator, a
// line end or the end of the text. Inside it a doubled quote is one quote,
// the separator is text, a line end (LF or CR LF) becomes one space, so that
// the cell stays one line of text, and any other quote is kept. When no such
// ending quote comes, the rest of the line that opened the field is read the
// plain way, and the next record starts on the next line.
//
// Outside quoted fields a line is read the plain way: split at every
// separator, a CSV text loses all its double quotes and keeps a CR that is
// not before an LF; a clipboard text keeps its quotes and loses every CR.
// On the clipboard the table ends at the first empty line, and a last
// record without a line end is not taken.
//
// All texts are code page 932; every scan steps over double-byte
// characters, though never over a line end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvani {

enum class TableTextKind { Csv, Clipboard };

struct TableRecord {
    std::vector<std::string> fields;  // the first ones, as many as asked for
    std::size_t fieldCount = 0;       // every field of the record
};

class TableRecordReader {
public:
    TableRecordReader(std::string_view text, TableTextKind kind);

    // Reads the next record, storing at most maxFields of its fields.
    // False, with the record empty, at the end of the table.
    bool Next(std::size_t maxFields, TableRecord& record);

private:
    enum class Step { Close, Text, Quote, Space, Drop };
    // What the character at i inside a quoted field is, and where the next
    // one starts.
    Step QuotedStep(std::size_t i, std::size_t& next) const;
    // The position of the quote that ends the quoted field opened at
    // `open`, or npos when none comes. Appends the field's text to `out`
    // when it is given.
    std::size_t ScanQuoted(std::size_t open, std::string* out);
    // Where the unquoted field that starts at i ends: at a separator, at
    // a line end or at the end of the text.
    std::size_t UnquotedEnd(std::size_t i) const;
    // The end of the line that holds i, without its line end.
    std::size_t LineContentEnd(std::size_t i, std::size_t& next) const;
    bool IsLineEnd(std::size_t i) const;
    std::size_t LineEndLength(std::size_t i) const;
    std::size_t CharLength(std::size_t i) const;
    // A field's text outside quotes, the way its kind of text reads it.
    std::string Plain(std::string_view raw) const;
    void Store(TableRecord& record, std::size_t maxFields, std::string&& field) const;

    std::string_view text_;
    TableTextKind kind_;
    char separator_;
    std::size_t pos_ = 0;
    // Places inside quoted fields from which no ending quote comes, found
    // by fields that never closed; a later field that reaches one of them
    // stops there, so no text is searched twice for the same missing quote.
    std::vector<bool> unclosed_;
};

}  // namespace tolvani
