// tolvani-cli: inspect, convert and generate JWW drawings from the shell.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"

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

void PrintOverview() {
    std::printf("使い方: tolvani-cli COMMAND [ARGS]\n\nコマンド:\n");
    for (const auto& c : tolvani::cli::AllCommands()) std::printf("  %s\n", c.usage);
    std::printf("\n各コマンドの説明は tolvani-cli COMMAND --help で表示します。\n");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tolvani::cli;
    std::setlocale(LC_ALL, "C");
    if (argc < 2) {
        PrintOverview();
        return kExitUsage;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        PrintOverview();
        return kExitOk;
    }
    try {
        const Command& c = FindCommand(argv[1]);
        std::vector<std::string> args(argv + 2, argv + argc);
        for (const auto& a : args) {
            if (a == "--help" || a == "-h") {
                PrintHelp(c);
                return kExitOk;
            }
        }
        return c.run(args);
    } catch (const CliError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", e.message.c_str());
        return e.code;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "メモリが不足しています。\n");
        return kExitRefused;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "エラー: %s\n", e.what());
        return kExitRefused;
    }
}
