// tolvani-cli object: the drawing as an object (native data, or a picture
// that carries it), made from a JWW file, listed, and taken back out.
#include <sys/stat.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "model/JwwErrors.h"
#include "model/JwwFile.h"
#include "model/JwwStream.h"
#include "object/CompoundFile.h"
#include "object/NativeData.h"
#include "object/ObjectData.h"
#include "object/ObjectFile.h"
#include "object/OfficePackage.h"

namespace tolvani::cli {
namespace {

ObjectPictureMaker pictureMaker = nullptr;

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string reason;
    switch (object::ReadObjectFile(path, bytes, reason)) {
        case object::ObjectFileStatus::Read: return bytes;
        case object::ObjectFileStatus::TooLarge:
            throw CliError{kExitRefused, "オブジェクトのファイルが大きすぎます。 (" + path + ")"};
        case object::ObjectFileStatus::CannotOpen: break;
    }
    throw CliError{kExitRefused,
                   std::string(kLocalReadErrorMessage) + " (" + path + ")" + (reason.empty() ? "" : "\n" + reason)};
}

// The drawing in `bytes`, loaded into a fresh drawing, or exit 1.
std::unique_ptr<CJwwDoc> LoadDrawingBytes(const std::vector<uint8_t>& bytes, const std::string& path) {
    auto doc = std::make_unique<CJwwDoc>();
    doc->header.SetNewDrawingDefaults();
    try {
        JwwStream ar(bytes.data(), bytes.size());
        if (doc->Load(ar) == CJwwDoc::LoadResult::TooOld) throw CliError{kExitRefused, CJwwDoc::kTooOldMessage};
    } catch (const JwwStreamError& e) {
        throw CliError{kExitRefused, e.UserMessage(path)};
    }
    return doc;
}

// The object's size in 0.01 mm; 0 × 0: the paper's.
struct Extent {
    int32_t width = 0;
    int32_t height = 0;
};

Extent ParseExtent(const std::string& text) {
    const WidthHeight size = ParseWidthHeight(text, ",", "W,H", 1, 10000000, "--extent");
    return {static_cast<int32_t>(size.width), static_cast<int32_t>(size.height)};
}

// The object in a file, with its drawing read; exit 1 when refused.
struct ReadObject {
    object::ObjectBytes bytes;
    object::NativeReadResult native;
};

// The drawings of an office document, or exit 1.
std::vector<object::PackageObject> ListDocument(const std::string& path, const std::vector<uint8_t>& file) {
    std::vector<object::PackageObject> objects;
    if (!object::ListPackageObjects(file.data(), file.size(), objects))
        throw CliError{kExitRefused, "文書（zip パッケージ）として読めません。 (" + path + ")"};
    return objects;
}

// IN, or DOC#N for the N-th drawing of an office document.
ReadObject ReadObjectFile(const std::string& name) {
    ReadObject r;
    std::string path = name;
    long index = 0;
    const auto hash = name.rfind('#');
    struct stat st;
    if (hash != std::string::npos && hash + 1 < name.size() && ::stat(name.c_str(), &st) != 0) {
        path = name.substr(0, hash);
        index = ParseLong(name.substr(hash + 1), 1, 1000000, "文書の中のオブジェクトの番号");
    }
    const std::vector<uint8_t> file = ReadWholeFile(path);
    if (index > 0 || object::HasZipSignature(file.data(), file.size())) {
        const auto objects = ListDocument(path, file);
        if (index == 0)
            throw CliError{kExitRefused, "文書の中のオブジェクトは " + path +
                                             "#番号 で指定してください（object list で一覧できます）。"};
        if (static_cast<std::size_t>(index) > objects.size())
            throw CliError{kExitRefused, "文書には図面のオブジェクトが " + std::to_string(objects.size()) +
                                             " 個しかありません。 (" + path + ")"};
        const object::PackageObject& o = objects[static_cast<std::size_t>(index - 1)];
        r.bytes.ok = true;
        r.bytes.form = o.form;
        r.bytes.native = o.native;
    } else {
        r.bytes = object::ExtractObjectData(file.data(), file.size());
    }
    if (!r.bytes.ok) throw CliError{kExitRefused, r.bytes.message + " (" + path + ")"};
    r.native = object::ReadNativeData(r.bytes.native.data(), r.bytes.native.size(), name);
    if (!r.native.ok) throw CliError{kExitRefused, r.native.message};
    return r;
}

std::string Number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

int RunPack(const std::vector<std::string>& argv) {
    Args args(argv, {}, {"extent"});
    if (args.positional().size() != 2) UsageError("使い方: tolvani-cli object pack IN.jww OUT [--extent W,H]");
    const std::string& in = args.positional()[0];
    const std::string& out = args.positional()[1];
    const std::string ext = LowerExtension(out);
    if (ext != "bin" && ext != "png" && ext != "svg" && ext != "ole")
        UsageError("出力ファイルの拡張子は .bin、.ole、.png、.svg のいずれかにしてください: " + out);
    if ((ext == "png" || ext == "svg") && !pictureMaker)
        UsageError("この tolvani-cli は画像を作れません（.bin と .ole のみ）。");
    Extent extent;
    if (args.has("extent")) extent = ParseExtent(args.value("extent"));
    if (SameFile(in, out)) UsageError("出力先 OUT が入力 IN と同じです。別のファイルを指定してください: " + out);

    // The object holds the drawing exactly as the file has it, once it is
    // known to read completely.
    const std::vector<uint8_t> file = ReadWholeFile(in);
    std::unique_ptr<CJwwDoc> doc = LoadDrawingBytes(file, in);
    const object::NativePrefix prefix = object::WholePaperPrefix(*doc, extent.width, extent.height);
    std::vector<uint8_t> native = object::WriteNativePrefix(prefix);
    native.insert(native.end(), file.begin(), file.end());

    if (ext == "bin") {
        WriteBytesOrFail(out, native.data(), native.size());
        return kExitOk;
    }
    if (ext == "ole") {
        std::vector<uint8_t> file;
        if (!object::WriteCompoundFile(native, file))
            throw CliError{kExitWriteFailed, "複合ファイルを作れませんでした。 (" + out + ")"};
        WriteBytesOrFail(out, file.data(), file.size());
        return kExitOk;
    }
    const std::vector<uint8_t> picture = pictureMaker(ext, *doc, prefix, native);
    if (picture.empty()) throw CliError{kExitWriteFailed, "画像を作れませんでした。 (" + out + ")"};
    WriteBytesOrFail(out, picture.data(), picture.size());
    return kExitOk;
}

int RunExtract(const std::vector<std::string>& argv) {
    Args args(argv, {}, {});
    if (args.positional().size() != 2) UsageError("使い方: tolvani-cli object extract IN OUT.jww");
    if (SameFile(args.positional()[0], args.positional()[1]))
        UsageError("出力先 OUT が入力 IN と同じです。別のファイルを指定してください: " + args.positional()[1]);
    const ReadObject r = ReadObjectFile(args.positional()[0]);
    SaveDrawingOrFail(args.positional()[1], *r.native.doc);
    return kExitOk;
}

int RunList(const std::vector<std::string>& argv) {
    Args args(argv, {}, {});
    if (args.positional().size() != 1) UsageError("使い方: tolvani-cli object list DOC");
    const std::string& path = args.positional()[0];
    const auto objects = ListDocument(path, ReadWholeFile(path));
    std::string out;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const auto& o = objects[i];
        char buf[256];
        std::snprintf(buf, sizeof buf, "#%zu\t%s\t%d × %d (0.01 mm)\t", i + 1, object::FormName(o.form),
                      o.prefix.extentWidth, o.prefix.extentHeight);
        out += buf + o.path + "\n";
    }
    if (objects.empty()) out = "図面のオブジェクトはありません。\n";
    PrintOut(out);
    return kExitOk;
}

int RunObjectInfo(const std::vector<std::string>& argv) {
    Args args(argv, {"json"}, {});
    if (args.positional().size() != 1) UsageError("使い方: tolvani-cli object info IN [--json]");
    const ReadObject r = ReadObjectFile(args.positional()[0]);
    const object::NativePrefix& p = r.native.prefix;
    const std::size_t body = r.bytes.native.size() - r.native.bodyOffset;
    std::string out;
    if (args.has("json")) {
        out += "{\"form\": " + JsonString(object::FormName(r.bytes.form));
        out += ", \"zubVersion\": " + std::to_string(p.zubVersion);
        out += ", \"extentWidth\": " + std::to_string(p.extentWidth);
        out += ", \"extentHeight\": " + std::to_string(p.extentHeight);
        out += ", \"viewWidth\": " + Number(p.viewWidth);
        out += ", \"viewHeight\": " + Number(p.viewHeight);
        out += ", \"centerX\": " + Number(p.centerX);
        out += ", \"centerY\": " + Number(p.centerY);
        out += ", \"dotSize\": " + std::to_string(p.dotSize);
        out += ", \"bodyOffset\": " + std::to_string(r.native.bodyOffset);
        out += ", \"bodyBytes\": " + std::to_string(body);
        out += ", \"version\": " + std::to_string(r.native.doc->header.version);
        out += ", \"elements\": " + std::to_string(r.native.doc->mainList.size());
        out += ", \"definitions\": " + std::to_string(r.native.doc->blockList.size()) + "}\n";
    } else {
        char buf[512];
        std::snprintf(
            buf, sizeof buf,
            "形式: %s\nZubVersion: %d\n大きさ: %d × %d (0.01 mm)\n表示範囲: %.6g × %.6g mm、中心 (%.6g, %.6g)\n"
            "点の大きさ: %d (0.1 mm)\n図面: %zu バイト（%zu バイト目から）、版 %u、要素 %zu、ブロック定義 %zu\n",
            object::FormName(r.bytes.form), p.zubVersion, p.extentWidth, p.extentHeight, p.viewWidth, p.viewHeight,
            p.centerX, p.centerY, p.dotSize, body, r.native.bodyOffset, r.native.doc->header.version,
            r.native.doc->mainList.size(), r.native.doc->blockList.size());
        out = buf;
    }
    PrintOut(out);
    return kExitOk;
}

}  // namespace

void SetObjectPictureMaker(ObjectPictureMaker maker) { pictureMaker = maker; }

int RunObject(const std::vector<std::string>& argv) {
    if (!argv.empty() && (argv[0] == "--help" || argv[0] == "-h")) throw HelpRequested{};
    if (argv.empty()) UsageError("使い方: " + std::string(kObjectCommand.usage));
    const std::vector<std::string> rest(argv.begin() + 1, argv.end());
    if (argv[0] == "pack") return RunPack(rest);
    if (argv[0] == "extract") return RunExtract(rest);
    if (argv[0] == "info") return RunObjectInfo(rest);
    if (argv[0] == "list") return RunList(rest);
    UsageError("object の後には pack、extract、info、list のいずれかを指定してください: " + argv[0]);
}

const Command kObjectCommand = {
    "object", "tolvani-cli object (pack IN.jww OUT | extract IN OUT.jww | info IN [--json] | list DOC)",
    "図面をオブジェクト（貼り付け用のデータ）として扱います。\n"
    "  pack IN.jww OUT [--extent W,H]\n"
    "      図面をオブジェクトにします。OUT の拡張子で形式を選びます:\n"
    "      .bin  オブジェクトのデータそのもの\n"
    "      .ole  データを Contents に持つ複合ファイル（Windows の文書が埋め込むオブジェクトの形）\n"
    "      .png  データを含む PNG 画像（表計算ソフトなどに貼り付けられます）\n"
    "      .svg  データを含む SVG 画像\n"
    "      --extent W,H  オブジェクトの大きさ（0.01 mm 単位）。既定は用紙の大きさ（1:1）\n"
    "  extract IN OUT.jww\n"
    "      オブジェクト（.bin、.ole、PNG、SVG）から図面を取り出して JWW ファイルに保存します。\n"
    "  info IN [--json]\n"
    "      オブジェクトの大きさ、表示範囲などを表示します。\n"
    "  list DOC\n"
    "      文書（.xlsx、.docx、.pptx、.ods、.odt など）の中の図面を一覧します。\n"
    "      その N 番目は extract DOC#N OUT.jww で取り出せます（info DOC#N も使えます）。\n",
    RunObject};

}  // namespace tolvani::cli
