// tolvani-cli: inspect, convert and generate JWW drawings from the shell.
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "model/AtomicFile.h"
#include "model/JwwErrors.h"

namespace tolvani::cli {

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"info", "tolvani-cli info FILE [--json]",
         "図面の版、メモ、用紙サイズ、書込レイヤグループ、要素数、ブロック定義数、末尾の値を表示します。\n"
         "  --json  JSON オブジェクトで出力します。\n",
         RunInfo},
        {"dump", "tolvani-cli dump FILE",
         "全要素を 1 行ずつ、続いてブロック定義と、ブロック構造の診断ダンプ 2 種を表示します。\n", RunDump},
        {"resave", "tolvani-cli resave IN OUT",
         "図面を読み込み、そのまま OUT に保存します（一時ファイルに書いてから置き換えます）。\n", RunResave},
        {"gen", "tolvani-cli gen OUT --elements N [--seed S]",
         "再現可能な試験用図面（A1、N 要素、ブロック定義 50 個）を作ります。\n"
         "  --elements N  要素数（0〜50000000）\n"
         "  --seed S      乱数の種（既定 1）\n",
         RunGen},
        {"insert-table", "tolvani-cli insert-table (DRAWING | --new) TABLE OUT --at X,Y [options]",
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
         RunInsertTable},
#ifdef TOLVANI_HAVE_RENDER
        {"render", "tolvani-cli render FILE OUT [--size WxH] [--dpi N] [--threads N] [--format F]",
         "図面の用紙全体を PNG、SVG または PDF に描きます（OUT の拡張子で選びます）。\n"
         "  --format F   png、svg、pdf のいずれか（OUT の拡張子より優先。/dev/stdout などは既定で png）\n"
         "  --size WxH   描画範囲の画素数（既定 1600x1131。PDF では無視され、A4 横 1 ページ）\n"
         "  --dpi N      1 インチあたりの画素数（既定 96）\n"
         "  --threads N  PNG を描くスレッド数（1〜64、既定 CPU のコア数）。SVG と PDF は 1 スレッドで描きます。\n"
         "  SVG と PDF には図形（線、文字など）を 200 万個まで描きます。それを超える図面は PNG にしてください。\n",
         RunRender},
        {"thumbnail", "tolvani-cli thumbnail IN OUT SIZE",
         "ファイルマネージャのサムネイル用に、用紙全体を長い辺が SIZE 画素（1〜4096）の PNG に描きます。\n"
         "  読めない図面では何も書かずに終了コード 1 で終わります。\n",
         RunThumbnail},
#endif
        {"object", "tolvani-cli object (pack IN.jww OUT | extract IN OUT.jww | info IN [--json] | list DOC)",
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
         RunObject},
    };
    return commands;
}

void PrintHelp(const Command& c) {
    std::printf("使い方: %s\n\n%s", c.usage, c.help);
}

const Command& FindCommand(const char* name) {
    for (const auto& c : AllCommands())
        if (std::strcmp(c.name, name) == 0) return c;
    UsageError(std::string("不明なコマンドです: ") + name);
}

}  // namespace tolvani::cli

namespace {

// Ended by a signal in the middle of a save: the named temporary file goes
// first, then the signal takes its usual course.
extern "C" void RemoveTemporaryFilesAndEnd(int signal) {
    tolvani::RemovePendingTemporaryFiles();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void CleanUpOnSignals() {
    for (const int s : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction action {};
        action.sa_handler = RemoveTemporaryFilesAndEnd;
        sigemptyset(&action.sa_mask);
        sigaction(s, &action, nullptr);
    }
}

// Whatever a command printed must have reached its standard output; a
// full disk or a closed pipe is a failed write, not a success.
int CheckStandardOutput(int code) {
    const int err = tolvani::cli::StandardOutputError();
    if (err == 0) return code;
    std::fprintf(stderr, "標準出力に書き込めませんでした。\n%s\n", std::strerror(err));
    return tolvani::cli::kExitWriteFailed;
}

void PrintOverview() {
    std::printf("使い方: tolvani-cli COMMAND [ARGS]\n\nコマンド:\n");
    for (const auto& c : tolvani::cli::AllCommands()) std::printf("  %s\n", c.usage);
    std::printf("\n各コマンドの説明は tolvani-cli COMMAND --help で表示します。\n");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tolvani::cli;
    std::setlocale(LC_ALL, "C");
    CleanUpOnSignals();
    if (argc < 2) {
        PrintOverview();
        return CheckStandardOutput(kExitUsage);
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        PrintOverview();
        return CheckStandardOutput(kExitOk);
    }
    const Command* command = nullptr;
    try {
        command = &FindCommand(argv[1]);
        return CheckStandardOutput(command->run(std::vector<std::string>(argv + 2, argv + argc)));
    } catch (const HelpRequested&) {
        PrintHelp(*command);
        return CheckStandardOutput(kExitOk);
    } catch (const CliError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", e.message.c_str());
        return e.code;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s\n", tolvani::kOutOfMemoryMessage);
        return kExitRefused;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "エラー: %s\n", e.what());
        return kExitRefused;
    }
}
