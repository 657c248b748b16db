#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/cli/CliGui.h"
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "display/qt/DrawingExport.h"

namespace tolvani::cli {
namespace {

struct Size {
    long width = 1600;
    long height = 1131;
};

Size ParseSize(const std::string& text) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) UsageError("--size は WxH の形で指定してください: " + text);
    Size s;
    s.width = ParseLong(text.substr(0, x), 1, 20000, "--size の幅");
    s.height = ParseLong(text.substr(x + 1), 1, 20000, "--size の高さ");
    return s;
}

}  // namespace

int RunRender(const std::vector<std::string>& argv) {
    Args args(argv, {}, {"size", "dpi", "threads", "format"});
    if (args.positional().size() != 2) UsageError("使い方: " + std::string(FindCommand("render").usage));
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
        const Size s = ParseSize(args.value("size"));
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
        throw CliError{kExitRefused, "図形が 200 万個を超えるため、" + std::string(ext == "svg" ? "SVG" : "PDF") + " を作るのをやめました（何も書き込んでいません）。"
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

}  // namespace tolvani::cli
