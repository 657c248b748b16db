// The thumbnailer of file managers: the whole paper as a small PNG.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/qt/CliGui.h"
#include "cli/qt/CommandList.h"
#include "display/DrawDocument.h"
#include "display/qt/DrawingExport.h"

namespace tolvani::cli {

int RunThumbnail(const std::vector<std::string>& argv) {
    Args args(argv, {}, {});
    if (args.positional().size() != 3) UsageError("使い方: " + std::string(kThumbnailCommand.usage));
    const std::string& in = args.positional()[0];
    const std::string& out = args.positional()[1];
    const long size = ParseLong(args.positional()[2], 1, 4096, "SIZE");

    const std::unique_ptr<CJwwDoc> doc = LoadDrawingOrFail(in);
    // The paper's own proportions, its long side `size` pixels.
    double pw = 0, ph = 0;
    display::PaperSize(doc->shownPaperSize, pw, ph);
    display::ExportOptions options;
    const double scale = static_cast<double>(size) / std::max(pw, ph);
    options.width = std::clamp(static_cast<int>(std::lround(pw * scale)), 1, static_cast<int>(size));
    options.height = std::clamp(static_cast<int>(std::lround(ph * scale)), 1, static_cast<int>(size));
    options.threads = 1;

    auto app = StartGui();
    const QByteArray bytes = display::ExportPng(*doc, options, nullptr);
    if (bytes.isEmpty()) throw CliError{kExitWriteFailed, "画像を作れませんでした。 (" + out + ")"};
    WriteBytesOrFail(out, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return kExitOk;
}

const Command kThumbnailCommand = {
    "thumbnail", "tolvani-cli thumbnail IN OUT SIZE",
    "ファイルマネージャのサムネイル用に、用紙全体を長い辺が SIZE 画素（1〜4096）の PNG に描きます。\n"
    "  読めない図面では何も書かずに終了コード 1 で終わります。\n",
    RunThumbnail};

}  // namespace tolvani::cli
