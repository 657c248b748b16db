#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/qt/CliGui.h"
#include "cli/qt/CommandList.h"
#include "display/qt/DrawingExport.h"

namespace tolvani::cli {
namespace {

// The picture's size in pixels.
WidthHeight ParseSize(const std::string& text) { return ParseWidthHeight(text, "xX", "WxH", 1, 20000, "--size"); }

}  // namespace

int RunRender(const std::vector<std::string>& argv) {
    Args args(argv, {}, {"size", "dpi", "threads", "format"});
    if (args.positional().size() != 2) UsageError("使い方: " + std::string(kRenderCommand.usage));
    const std::string& in = args.positional()[0];
    const std::string& out = args.positional()[1];
    // The form: --format, else OUT's extension; a device or descriptor such
    // as /dev/stdout, which has none, gets PNG.
    std::string ext = args.has("format") ? args.value("format") : LowerExtension(out);
    if (!args.has("format") && ext != "png" && ext != "svg" && ext != "pdf" &&
        (out.compare(0, 5, "/dev/") == 0 || out.compare(0, 6, "/proc/") == 0))
        ext = "png";
    if (ext != "png" && ext != "svg" && ext != "pdf")
        UsageError(args.has("format") ? "--format は png、svg、pdf のいずれかにしてください: " + ext
                                      : "出力ファイルの拡張子は .png、.svg、.pdf のいずれかにしてください: " + out);
    display::ExportOptions options;
    if (args.has("size")) {
        const WidthHeight s = ParseSize(args.value("size"));
        options.width = static_cast<int>(s.width);
        options.height = static_cast<int>(s.height);
    }
    if (args.has("dpi")) options.dpi = static_cast<double>(ParseLong(args.value("dpi"), 1, 2400, "--dpi"));
    options.threads = args.has("threads") ? static_cast<int>(ParseLong(args.value("threads"), 1, 64, "--threads")) : 0;
    options.maxVectorShapes = display::kMaxVectorShapes;
    if (SameFile(in, out)) UsageError("出力先 OUT が図面 FILE と同じです。別のファイルを指定してください: " + out);

    const std::unique_ptr<CJwwDoc> loaded = LoadDrawingOrFail(in);
    CJwwDoc& doc = *loaded;
    auto app = StartGui();

    display::DrawReport report;
    QByteArray bytes;
    if (ext == "png")
        bytes = display::ExportPng(doc, options, &report);
    else if (ext == "svg")
        bytes = display::ExportSvg(doc, options, &report);
    else
        bytes = display::ExportPdf(doc, options, &report);
    if (report.cancelled)
        throw CliError{kExitRefused, "図形が 200 万個を超えるため、" + std::string(ext == "svg" ? "SVG" : "PDF") +
                                         " を作るのをやめました（何も書き込んでいません）。"
                                         "PNG なら描けます。"};
    if (bytes.isEmpty()) throw CliError{kExitWriteFailed, "画像を作れませんでした。 (" + out + ")"};
    WriteBytesOrFail(out, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (!report.missingDefinitions.empty()) {
        std::string numbers;
        for (const int32_t n : report.missingDefinitions) numbers += (numbers.empty() ? "" : ", ") + std::to_string(n);
        std::fprintf(stderr, "警告: %s (定義番号 %s)\n", display::kBlockMissingMessage, numbers.c_str());
    }
    if (report.budgetExhausted) std::fprintf(stderr, "警告: %s\n", display::kPlacementBudgetMessage);
    return kExitOk;
}

const Command kRenderCommand = {
    "render", "tolvani-cli render FILE OUT [--size WxH] [--dpi N] [--threads N] [--format F]",
    "図面の用紙全体を PNG、SVG または PDF に描きます（OUT の拡張子で選びます）。\n"
    "  --format F   png、svg、pdf のいずれか（OUT の拡張子より優先。/dev/stdout などは既定で png）\n"
    "  --size WxH   描画範囲の画素数（既定 1600x1131。PDF では無視され、A4 横 1 ページ）\n"
    "  --dpi N      1 インチあたりの画素数（既定 96）\n"
    "  --threads N  PNG を描くスレッド数（1〜64、既定 CPU のコア数）。SVG と PDF は 1 スレッドで描きます。\n"
    "  SVG と PDF には図形（線、文字など）を 200 万個まで描きます。それを超える図面は PNG にしてください。\n",
    RunRender};

}  // namespace tolvani::cli
