// The thumbnailer of file managers: the whole paper as a small PNG.
#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "app/cli/CliGui.h"
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "display/DrawDocument.h"
#include "display/qt/DrawingExport.h"
#include "model/JwwFile.h"

namespace tolvani::cli {

int RunThumbnail(const std::vector<std::string>& argv) {
    Args args(argv, {}, {});
    if (args.positional().size() != 3) UsageError("使い方: " + std::string(FindCommand("thumbnail").usage));
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
    const QImage image = display::RenderImage(*doc, options, nullptr);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        throw CliError{kExitWriteFailed, "画像を作れませんでした。 (" + out + ")"};
    try {
        WriteFileAtomically(out, [&bytes](std::FILE* f) {
            if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), f) !=
                static_cast<std::size_t>(bytes.size()))
                throw std::runtime_error("short write");
        });
    } catch (const std::exception&) {
        throw CliError{kExitWriteFailed, "ファイルを書き込めませんでした。 (" + out + ")"};
    }
    return kExitOk;
}

}  // namespace tolvani::cli
