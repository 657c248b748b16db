#include "table/CCsvDoc.h"

#include <cstdio>
#include <memory>

#include "table/TableMessages.h"
#include "table/TableText.h"

namespace tolvani {

std::string TableTooLargeMessage(long long cells) {
    return "表が大きすぎます（" + std::to_string(cells) + " セル）。";
}

namespace {

// Gathers rows while keeping the table within CCsvDoc::kMaxCells: once the
// rows times the first row's fields pass it, the rows read so far are freed
// and only the count of lines goes on, for the message.
class RowCollector {
public:
    RowCollector(std::vector<CCsvDoc::Row>& rows, char separator) : rows_(rows), separator_(separator) {}

    // One line without its line end; quotes are already handled.
    void Add(std::string_view line) {
        if (lines_ == 0) columns_ = static_cast<long long>(CountFields(line, separator_));
        ++lines_;
        if (!tooLarge_ && lines_ * columns_ > CCsvDoc::kMaxCells) {
            tooLarge_ = true;
            std::vector<CCsvDoc::Row>().swap(rows_);
        }
        if (tooLarge_) return;
        CCsvDoc::Row row;
        SplitFields(line, separator_, static_cast<std::size_t>(columns_), row);
        rows_.push_back(std::move(row));
    }

    // Counts a line that is not looked at any more.
    void Skip() { ++lines_; }

    bool tooLarge() const { return tooLarge_; }
    long long cells() const { return lines_ * columns_; }

private:
    std::vector<CCsvDoc::Row>& rows_;
    char separator_;
    long long lines_ = 0;
    long long columns_ = 0;
    bool tooLarge_ = false;
};

TableReadResult Unreadable() {
    TableReadResult r;
    r.status = TableReadResult::Status::Unreadable;
    r.message = kTableReadErrorMessage;
    return r;
}

}  // namespace

bool ReadTableFileBytes(const std::string& path, std::string& out) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return false;
    char buf[1 << 16];
    for (;;) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, f.get());
        if (n > 0) {
            if (out.size() + n > CCsvDoc::kMaxFileBytes) return false;
            out.append(buf, n);
        }
        if (n < sizeof buf) break;
    }
    return !std::ferror(f.get());
}

void CCsvDoc::Clear() {
    std::vector<Row>().swap(rows);
    std::vector<std::vector<CELL_INFO>>().swap(cells);
    rowCount = 0;
    columnCount = 0;
    measure = CTableMeasure();
}

TableReadResult CCsvDoc::ReadCsvFile(const std::string& path) {
    Clear();
    std::string bytes;
    if (!ReadTableFileBytes(path, bytes)) return Unreadable();
    TableReadResult result;
    result.encoding = ChooseTableEncoding(bytes);
    if (result.encoding != TableEncoding::ShiftJis) {
        std::string text = DecodeTableText(bytes, result.encoding, &result.replaced);
        std::string().swap(bytes);  // the file's bytes are not needed any more
        ReadCsvText(text, result);
    } else {
        ReadCsvText(bytes, result);
    }
    return result;
}

TableReadResult CCsvDoc::ReadCsvBytes(std::string_view bytes) {
    Clear();
    TableReadResult result;
    result.encoding = ChooseTableEncoding(bytes);
    if (result.encoding != TableEncoding::ShiftJis) {
        const std::string text = DecodeTableText(bytes, result.encoding, &result.replaced);
        ReadCsvText(text, result);
    } else {
        ReadCsvText(bytes, result);
    }
    return result;
}

void CCsvDoc::ReadCsvText(std::string_view text, TableReadResult& result) {
    // Lines end at LF or CR LF; a last line without a line end is read; a
    // final line end gives no further row.
    RowCollector collector(rows, ',');
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t lf = text.find('\n', pos);
        const std::size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
        if (collector.tooLarge()) {
            collector.Skip();
            pos = next;
            continue;
        }
        std::string_view line = text.substr(pos, (lf == std::string_view::npos ? text.size() : lf) - pos);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        collector.Add(RemoveQuotes(line));
        pos = next;
    }
    result.cellCount = collector.cells();
    if (collector.tooLarge()) {
        Clear();
        result.status = TableReadResult::Status::TooLarge;
        result.message = TableTooLargeMessage(result.cellCount);
        return;
    }
    BuildCells();
}

TableReadResult CCsvDoc::ReadClipboardTable(CClipboardText& clipboard) {
    Clear();
    std::u16string text;
    if (!clipboard.GetUnicodeText(text)) text.clear();
    return ReadClipboardText(text);
}

TableReadResult CCsvDoc::ReadClipboardText(std::u16string_view unicode) {
    Clear();
    TableReadResult result;
    result.encoding = TableEncoding::Utf16LE;
    const std::string text = ConvertUtf16Text(unicode, &result.replaced);

    // Every CR LF counts as LF. A line is taken only when an LF ends it,
    // and the first empty line ends the table. A line made of a lone CR
    // before its LF is empty, as its CR LF became a plain LF.
    RowCollector collector(rows, '\t');
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t lf = text.find('\n', pos);
        if (lf == std::string::npos) break;
        if (lf == pos || (lf == pos + 1 && text[pos] == '\r')) break;
        if (collector.tooLarge()) {
            collector.Skip();
        } else {
            std::string line;
            line.reserve(lf - pos);
            for (std::size_t i = pos; i < lf; ++i)
                if (text[i] != '\r') line.push_back(text[i]);
            collector.Add(line);
        }
        pos = lf + 1;
    }
    result.cellCount = collector.cells();
    if (collector.tooLarge()) {
        Clear();
        result.status = TableReadResult::Status::TooLarge;
        result.message = TableTooLargeMessage(result.cellCount);
        return result;
    }
    BuildCells();
    return result;
}

void CCsvDoc::BuildCells() {
    std::vector<std::vector<CELL_INFO>>().swap(cells);
    measure = CTableMeasure();
    rowCount = static_cast<int>(rows.size());
    columnCount = rows.empty() ? 0 : static_cast<int>(rows.front().size());
    cells.reserve(rows.size());
    for (int r = 0; r < rowCount; ++r) {
        const Row& fields = rows[static_cast<std::size_t>(r)];
        std::vector<CELL_INFO> line(static_cast<std::size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c) {
            CELL_INFO& cell = line[static_cast<std::size_t>(c)];
            cell.column = c;
            cell.row = r;
            cell.textLength = 0;
            if (static_cast<std::size_t>(c) < fields.size()) cell.text = fields[static_cast<std::size_t>(c)];
        }
        cells.push_back(std::move(line));
    }
}

}  // namespace tolvani
