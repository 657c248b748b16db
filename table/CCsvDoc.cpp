#include "table/CCsvDoc.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "model/InputFile.h"
#include "model/JwwErrors.h"
#include "table/TableMessages.h"
#include "table/TableRecordReader.h"

namespace tolvani {

std::string TableTooLargeMessage(long long cells) { return "表が大きすぎます（" + std::to_string(cells) + " セル）。"; }

namespace {

// Gathers rows while keeping the table within CCsvDoc::kMaxCells: once the
// records times the first record's fields pass it, the rows read so far are
// freed and the records are only counted, for the message.
class RowCollector {
public:
    explicit RowCollector(std::vector<CCsvDoc::Row>& rows) : rows_(rows) {}

    // Reads every record of the table.
    void ReadAll(TableRecordReader& reader) {
        TableRecord record;
        while (reader.Next(Wanted(), record)) Add(record);
    }

    bool tooLarge() const { return tooLarge_; }
    long long cells() const { return records_ * columns_; }

private:
    // How many fields of the next record are kept: the first record's
    // fields only as far as the limit can take, and none once it is passed.
    std::size_t Wanted() const {
        if (tooLarge_) return 0;
        if (records_ == 0) return static_cast<std::size_t>(CCsvDoc::kMaxCells) + 1;
        return static_cast<std::size_t>(columns_);
    }

    void Add(TableRecord& record) {
        if (records_ == 0) columns_ = static_cast<long long>(record.fieldCount);
        ++records_;
        if (!tooLarge_ && records_ * columns_ > CCsvDoc::kMaxCells) {
            tooLarge_ = true;
            std::vector<CCsvDoc::Row>().swap(rows_);
        }
        if (tooLarge_) return;
        rows_.push_back(std::move(record.fields));
        record.fields = CCsvDoc::Row();
    }

    std::vector<CCsvDoc::Row>& rows_;
    long long records_ = 0;
    long long columns_ = 0;
    bool tooLarge_ = false;
};

TableReadResult NotRead(TableFileStatus status) {
    TableReadResult r;
    r.status =
        status == TableFileStatus::TooLarge ? TableReadResult::Status::TooLarge : TableReadResult::Status::Unreadable;
    r.message = TableFileMessage(status);
    return r;
}

}  // namespace

TableFileStatus ReadTableFileBytes(const std::string& path, std::string& out, int* error) {
    int ignored = 0;
    int& err = error ? *error : ignored;
    err = 0;
    int fd = -1;
    try {
        fd = OpenInputFile(path);
    } catch (const JwwNotRegularFileError& e) {
        err = e.systemError();
        return TableFileStatus::NotAFile;
    } catch (const JwwFileError& e) {
        err = e.systemError();
        return TableFileStatus::Unreadable;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(::fdopen(fd, "rb"), &std::fclose);
    if (!f) {
        err = errno;
        ::close(fd);
        return TableFileStatus::Unreadable;
    }
    char buf[1 << 16];
    for (;;) {
        errno = 0;
        const std::size_t n = std::fread(buf, 1, sizeof buf, f.get());
        if (n > 0) {
            if (out.size() + n > CCsvDoc::kMaxFileBytes) return TableFileStatus::TooLarge;
            out.append(buf, n);
        }
        if (n < sizeof buf) break;
    }
    if (std::ferror(f.get())) {
        err = errno;
        return TableFileStatus::Unreadable;
    }
    // A drawing given where a table belongs is named as what it is.
    if (out.compare(0, 8, "JwwData.") == 0) return TableFileStatus::Drawing;
    return TableFileStatus::Read;
}

std::string TableFileMessage(TableFileStatus status) {
    switch (status) {
        case TableFileStatus::Read: return "";
        case TableFileStatus::TooLarge: return kTableFileTooLargeMessage;
        case TableFileStatus::Drawing: return kTableIsDrawingMessage;
        case TableFileStatus::NotAFile: return kTableNotAFileMessage;
        case TableFileStatus::Unreadable: break;
    }
    return kTableReadErrorMessage;
}

void CCsvDoc::Clear() {
    std::vector<Row>().swap(rows);
    std::vector<std::vector<CELL_INFO>>().swap(cells);
    rowCount = 0;
    columnCount = 0;
    measure = TableMeasure();
}

TableReadResult CCsvDoc::ReadCsvFile(const std::string& path) {
    Clear();
    std::string bytes;
    const TableFileStatus file = ReadTableFileBytes(path, bytes);
    if (file != TableFileStatus::Read) return NotRead(file);
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
    TableRecordReader reader(text, TableTextKind::Csv);
    Collect(reader, result);
}

void CCsvDoc::Collect(TableRecordReader& reader, TableReadResult& result) {
    RowCollector collector(rows);
    collector.ReadAll(reader);
    result.cellCount = collector.cells();
    if (collector.tooLarge()) {
        Clear();
        result.status = TableReadResult::Status::TooLarge;
        result.message = TableTooLargeMessage(result.cellCount);
        return;
    }
    BuildCells();
}

TableReadResult CCsvDoc::ReadClipboardTable(ClipboardText& clipboard) {
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

    TableRecordReader reader(text, TableTextKind::Clipboard);
    Collect(reader, result);
    return result;
}

void CCsvDoc::BuildCells() {
    std::vector<std::vector<CELL_INFO>>().swap(cells);
    measure = TableMeasure();
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
