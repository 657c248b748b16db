#include "viewer/CommandTable.h"

namespace tolvani::viewer {

const std::vector<CommandInfo>& MainCommands() {
    static const std::vector<CommandInfo> commands = {
        {cmd::kFileNew, "新規作成", "新しいドキュメントを作成する", "新規作成", "Ctrl+N"},
        {cmd::kFileOpenApp, "", "既存のドキュメントを開く", "開く", "Ctrl+O"},
        {cmd::kOpen, "開く(&O)...\tCtrl+O", "新しくファイルを開く", "ファイルオープン", ""},
        {cmd::kSaveAs, "名前を付けて保存(&A)...", "編集中のドキュメントに名前をつけて保存する", "名前をつけて保存", ""},
        {cmd::kFileSave, "", "ドキュメントを元のファイルに上書き保存する", "上書き保存", "Ctrl+S"},
        {cmd::kTableImport, "エクセル表インポート", "エクセル表をインポートする", "エクセルインポート", ""},
        {cmd::kRecentFirst, "最近使ったファイル", "このドキュメントを開く", "最近使ったファイル", ""},
        {cmd::kFilePrint, "印刷(&P)...\tCtrl+P", "ドキュメントを印刷する", "印刷", "Ctrl+P"},
        {cmd::kFilePrintPreview, "印刷プレビュー(&V)", "印刷イメージを表示する", "印刷プレビュー", ""},
        {cmd::kFilePrintSetup, "プリンタの設定(&R)...", "プリンタと印刷オプションを設定する", "印刷設定", ""},
        {cmd::kAppExit, "アプリケーションの終了(&X)", "アプリケーションを終了する", "終了", ""},
        {cmd::kEditCopy, "オブジェクトのコピー(&C)\tCtrl+C",
         "作業中のドキュメントをオブジェクトとしてクリップボードにコピーする", "オブジェクトコピー", "Ctrl+C;Ctrl+Ins"},
        {cmd::kEditWithJwCad, "オブジェクトの編集・印刷",
         "外部アプリケーションによりドキュメントの編集および印刷を行う", "オブジェクトの編集・印刷", ""},
        {cmd::kTableUndo, "表挿入の取消", "挿入した表の取消を行う", "表挿入の取消", ""},
        {cmd::kViewToolbar, "ツール バー(&T)", "ツール バーの表示と非表示を切り替える", "ツール バー", ""},
        {cmd::kViewStatusBar, "ステータス バー(&S)", "ステータス バーの表示と非表示を切り替える", "ステータス バー",
         ""},
        {cmd::kBlockFigures, "ブロック図形", "ブロック図形の表示", "ブロック図形", ""},
        {cmd::kSettingsSheet, "アプリケーション設定", "アプリケーションの表示設定", "アプリケーション設定", ""},
        {cmd::kJwwPath, "外部アプリケーションの登録", "外部アプリーケーション(Jw_cad)のパスを設定する",
         "外部アプリケーションパス", ""},
        {cmd::kLayerSettings, "レイヤー設定", "レイヤーの表示・書込設定", "レイヤー設定", ""},
        {cmd::kTableOptions, "表挿入オプション", "表挿入の各設定を行う", "表挿入オプション", ""},
        {cmd::kHelp, "使い方", "使い方の説明を表示する", "使い方", ""},
        {cmd::kAppAbout, "Tolvaniについて(&A)...", "プログラムの情報とバージョンを表示する", "バージョン情報", ""},
    };
    return commands;
}

const std::vector<CommandInfo>& ObjectCommands() {
    static const std::vector<CommandInfo> commands = {
        {cmd::kOutport, "アウトポート", "オブジェクトをJWWファイルで保存する", "オブジェクトアウトポート", ""},
        {cmd::kUpdateObject, "オブジェクト更新", "オブジェクトの変更を反映させる", "オブジェクトの更新", ""},
        {cmd::kDisplaySettings, "設定", "点の表示サイズを設定する", "表示設定", ""},
        {cmd::kFileUpdate, "", "オブジェクトの変更を元のファイルに書き戻す", "更新", ""},
    };
    return commands;
}

const CommandInfo* FindCommand(int id) {
    for (const auto* list : {&MainCommands(), &ObjectCommands()})
        for (const CommandInfo& c : *list)
            if (c.id == id) return &c;
    return nullptr;
}

const std::vector<MenuInfo>& MainMenu() {
    static const std::vector<MenuInfo> menu = {
        {"ファイル(&F)",
         {cmd::kFileNew, cmd::kOpen, cmd::kSaveAs, 0, cmd::kTableImport, 0, cmd::kFilePrint, cmd::kFilePrintPreview,
          cmd::kFilePrintSetup, 0, cmd::kRecentFirst, 0, cmd::kAppExit}},
        {"編集(&E)", {cmd::kEditCopy, cmd::kEditWithJwCad, 0, cmd::kTableUndo}},
        {"表示(&V)", {cmd::kViewToolbar, cmd::kViewStatusBar, 0, cmd::kBlockFigures}},
        {"設定", {cmd::kSettingsSheet, cmd::kJwwPath, cmd::kLayerSettings, cmd::kTableOptions}},
        {"ヘルプ(&H)", {cmd::kHelp, 0, cmd::kAppAbout}},
    };
    return menu;
}

const std::vector<MenuInfo>& ObjectMenu() {
    static const std::vector<MenuInfo> menu = {
        {"編集(&E)", {cmd::kEditWithJwCad, cmd::kOutport, 0, cmd::kUpdateObject}},
        {"表示(&V)", {cmd::kViewToolbar, cmd::kViewStatusBar, 0, cmd::kDisplaySettings}},
        {"ヘルプ(&H)", {cmd::kAppAbout}},
    };
    return menu;
}

const std::vector<CommandKey>& ObjectKeys() {
    static const std::vector<CommandKey> keys = {{cmd::kFileUpdate, "Ctrl+S"}, {cmd::kFilePrint, "Ctrl+P"}};
    return keys;
}

const std::vector<int>& MainToolbar() {
    static const std::vector<int> bar = {cmd::kFileNew,
                                         cmd::kOpen,
                                         cmd::kSaveAs,
                                         cmd::kTableImport,
                                         0,
                                         cmd::kEditCopy,
                                         cmd::kEditWithJwCad,
                                         0,
                                         cmd::kLayerSettings,
                                         cmd::kSettingsSheet,
                                         cmd::kAppAbout};
    return bar;
}

const std::vector<const char*>& InertKeys() {
    static const std::vector<const char*> keys = {"Ctrl+Z",       "Ctrl+X",       "Ctrl+V", "Alt+Backspace",
                                                  "Shift+Delete", "Shift+Insert", "F6",     "Shift+F6"};
    return keys;
}

}  // namespace tolvani::viewer
