// The table source: one spreadsheet table, read from a CSV file or from the
// clipboard's text, held as rows of fields and as a grid of cells until it
// is inserted into the drawing. Every text is code page 932.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "table/CellInfo.h"
#include "table/ClipboardText.h"
#include "table/TableEncoding.h"
#include "table/TableOptions.h"

namespace tolvani {

class TableRecordReader;

// What a read gave.
struct TableReadResult {
    enum class Status { Read, Unreadable, TooLarge };
    Status status = Status::Read;
    std::string message;       // for the user (UTF-8); empty when read
    std::size_t replaced = 0;  // characters that became 〓
    long long cellCount = 0;   // rows × columns of the table found
    TableEncoding encoding = TableEncoding::ShiftJis;

    bool ok() const { return status == Status::Read; }
};

// The geometry of the measured table, in millimetres, and the options it
// was measured with.
struct TableMeasure {
    bool valid = false;
    TableOptions options;  // the snapshot used to measure and to build
    double left = 0, right = 0, top = 0, bottom = 0;
    double rowHeight = 0;
    std::vector<double> columnWidths;
    double totalWidth = 0;
    double totalHeight = 0;
};

class CCsvDoc {
public:
    using Row = std::vector<std::string>;

    // A table of more cells than this is refused rather than read.
    static constexpr long long kMaxCells = 100000;
    // A file larger than this is not read at all.
    static constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

    // Drops the rows, the cells and the measure.
    void Clear();

    // Reads the CSV file at `path`. The table is empty unless the result
    // is ok().
    TableReadResult ReadCsvFile(const std::string& path);
    // The same for the bytes of a file already read.
    TableReadResult ReadCsvBytes(std::string_view bytes);

    // Reads the tab-separated table on the clipboard, up to its first empty
    // line. A clipboard without text gives an empty table and ok().
    TableReadResult ReadClipboardTable(ClipboardText& clipboard);
    TableReadResult ReadClipboardText(std::u16string_view text);

    // Rows → cells. The first row fixes the number of columns; fields
    // beyond it are dropped and missing ones are empty texts.
    void BuildCells();

    bool empty() const { return rows.empty(); }

    // The fields as read, one row per record. A row keeps at most as many
    // fields as the first row has; the others could never be shown or
    // inserted.
    std::vector<Row> rows;
    std::vector<std::vector<CELL_INFO>> cells;
    int rowCount = 0;
    int columnCount = 0;
    TableMeasure measure;

private:
    // Records, quotes and fields of a CSV text in code page 932.
    void ReadCsvText(std::string_view text, TableReadResult& result);
    // Takes the reader's records as rows and builds the cells, or refuses
    // a table past the cell limit.
    void Collect(TableRecordReader& reader, TableReadResult& result);
};

// What reading a table file gave.
enum class TableFileStatus {
    Read,
    Unreadable,  // cannot be opened or read (error: the system's number)
    TooLarge,    // larger than CCsvDoc::kMaxFileBytes
    Drawing,     // a drawing file ("JwwData." at its start), not a table
    NotAFile,    // a folder, a FIFO, a device or a socket: never opened to wait on
};

// Reads a whole table file (at most CCsvDoc::kMaxFileBytes). Only a regular
// file is read, or the process's own descriptor named on purpose
// (/dev/stdin); see model/InputFile.h.
TableFileStatus ReadTableFileBytes(const std::string& path, std::string& out, int* error = nullptr);

// The user's message for a table file that was not read.
std::string TableFileMessage(TableFileStatus status);

}  // namespace tolvani
