// insert-table: reads a CSV file, or a clipboard text kept in a UTF-8 file,
// and inserts it into a drawing as ruled lines and texts, optionally as a
// block figure.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "model/Cp932.h"
#include "table/CCsvDoc.h"
#include "table/TableBuilder.h"
#include "table/TableChecks.h"
#include "table/TableMessages.h"

namespace tolvani::cli {
namespace {

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return parts;
        start = comma + 1;
    }
}

std::vector<long> ParseList(const std::string& text, std::size_t count, long lo, long hi, const std::string& what) {
    const std::vector<std::string> parts = SplitCommas(text);
    if (parts.size() != count)
        UsageError(what + " は " + std::to_string(count) + " 個の整数をコンマで区切って指定してください: " + text);
    std::vector<long> values;
    for (const auto& p : parts) values.push_back(ParseLong(p, lo, hi, what));
    return values;
}

// Where a table may be placed: within 100 km of the origin either way.
constexpr double kMaxCoordinate = 100000000.0;

double ParseCoordinate(const std::string& text) {
    return ParseDecimal(text, kMaxCoordinate,
                        "--at は X,Y（mm、-100000000 から 100000000 までの数値）で指定してください");
}

}  // namespace

int RunInsertTable(const std::vector<std::string>& argv) {
    Args args(argv, {"new", "clipboard-text"},
              {"at", "block", "margins", "text-type", "line-type", "line-colour", "layers"});
    const bool fresh = args.has("new");
    const std::size_t want = fresh ? 2 : 3;
    if (args.positional().size() != want || !args.has("at"))
        UsageError("使い方: " + std::string(kInsertTableCommand.usage));

    // Every option is checked before anything is read.
    TableOptions options;
    const std::vector<std::string> at = SplitCommas(args.value("at"));
    if (at.size() != 2) UsageError("--at は X,Y（mm）の数値で指定してください: " + args.value("at"));
    const double x = ParseCoordinate(at[0]);
    const double y = ParseCoordinate(at[1]);
    if (args.has("block")) {
        const std::string problem = CheckTableBlockName(args.value("block"), options.blockName);
        if (!problem.empty()) UsageError(problem);
        options.cellBlock = true;
    }
    if (args.has("margins")) {
        const auto m = ParseList(args.value("margins"), 4, 0, 50, "--margins");
        options.cellLeft = static_cast<int>(m[0]);
        options.cellRight = static_cast<int>(m[1]);
        options.cellTop = static_cast<int>(m[2]);
        options.cellBottom = static_cast<int>(m[3]);
    }
    if (args.has("text-type"))
        options.cellTextType = static_cast<int>(ParseLong(args.value("text-type"), 1, 10, "--text-type"));
    if (args.has("line-type"))
        options.gridStyle = static_cast<int>(ParseLong(args.value("line-type"), 1, 8, "--line-type"));
    if (args.has("line-colour"))
        options.gridColor = static_cast<int>(ParseLong(args.value("line-colour"), 1, 8, "--line-colour"));
    if (args.has("layers")) {
        const auto l = ParseList(args.value("layers"), 3, 0, 15, "--layers");
        options.cellLayer = true;
        options.layerGroup = static_cast<int>(l[0]);
        options.layerLine = static_cast<int>(l[1]);
        options.layerText = static_cast<int>(l[2]);
    }

    const std::string& tablePath = args.positional()[fresh ? 0 : 1];
    const std::string& outPath = args.positional()[fresh ? 1 : 2];
    // The table is only read: a save over it would lose it.
    if (SameFile(tablePath, outPath))
        UsageError("出力先 OUT が表のファイル TABLE と同じです。別のファイルを指定してください: " + outPath);

    std::unique_ptr<CJwwDoc> drawing;
    if (fresh) {
        drawing = std::make_unique<CJwwDoc>();
        drawing->header.SetNewDrawingDefaults();
    } else {
        drawing = LoadDrawingOrFail(args.positional()[0]);
    }
    CJwwDoc& doc = *drawing;

    CCsvDoc table;
    TableReadResult read;
    if (args.has("clipboard-text")) {
        std::string bytes;
        const TableFileStatus file = ReadTableFileBytes(tablePath, bytes);
        if (file != TableFileStatus::Read) throw CliError{kExitRefused, TableFileMessage(file)};
        std::string_view text = bytes;
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        FixedClipboardText clipboard(Utf8ToUtf16Text(text));
        read = table.ReadClipboardTable(clipboard);
    } else {
        read = table.ReadCsvFile(tablePath);
    }
    if (!read.ok()) throw CliError{kExitRefused, read.message};
    const std::string problem = CheckTableInsertion(doc, table, options);
    if (!problem.empty()) throw CliError{kExitRefused, problem};

    const int rows = table.rowCount, columns = table.columnCount;
    MeasureTable(table, doc, options);
    TableUndo undo;
    PlaceTable(doc, table, options, x, y, undo);
    SaveDrawingOrFail(outPath, doc);

    if (read.replaced != 0)
        std::fprintf(stderr, "Shift-JIS で表せない文字 %zu 個を「〓」に置き換えました。\n", read.replaced);
    std::printf("%d 行 × %d 列の表を挿入しました（%s）。\n", rows, columns,
                options.cellBlock ? "ブロック図形" : "線と文字");
    return kExitOk;
}

const Command kInsertTableCommand = {
    "insert-table", "tolvani-cli insert-table (DRAWING | --new) TABLE OUT --at X,Y [options]",
    "CSV ファイル TABLE の表を、左上隅を (X, Y) mm として罫線と文字で図面に挿入し、OUT に保存します。\n"
    "  --new                 DRAWING の代わりに新規図面に挿入します。\n"
    "  --clipboard-text      TABLE をクリップボードの文字列（UTF-8、タブ区切り）として読みます。\n"
    "  --at X,Y              挿入位置（表の左上、mm、-100000000〜100000000）。\n"
    "                        --at=-20,-10 の形も使えます。\n"
    "  --block NAME          ブロック図形 NAME として挿入します。\n"
    "  --margins L,R,T,B     セルマージン（× 0.1 mm、0〜50、既定 10,10,8,6）\n"
    "  --text-type N         文字種（1〜10、既定 3）\n"
    "  --line-type N         枠線の線種（1〜8、既定 1）\n"
    "  --line-colour N       枠線の線色（1〜8、既定 2）\n"
    "  --layers G,LINE,TEXT  書込レイヤグループと直線・文字のレイヤ（0〜15）。\n"
    "                        指定しなければ現在の書込レイヤに挿入します。\n",
    RunInsertTable};

}  // namespace tolvani::cli
