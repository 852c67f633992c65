#pragma once

namespace sorvane {

// The rows of the three settings sections, numbered as the settings file
// lists them (from 1). Code names a row by these, never by its number.

// "システム"
enum class SystemRow {
    MaxTargets = 1,  // 最大処理ファイル数
    MaxHistory,      // 最大履歴数
    InitialPath,     // 初期パス
    EscQuits,        // エスケープ
    SaveOnExit,      // 保存
    PatternConfirm,  // パターン確認
    PatternShow,     // パターン表示
    DetailLog,       // ログ表示
    OptionWindow,    // オプション表示
    LogPath,         // ログパス
    AutoLogSave,     // 自動ログ保存
    QuickAllowed,    // エラー処理簡略化可能
    Journal,         // 復元記録
    PreviewWindow,   // プレビュー表示
    RepairWindow,    // 修復表示
    RepairKind,      // 修復方法: 0 文字コード, 1 zipの文字化け, 2 濁点の結合
    RepairCodePage,  // 修復文字コード: 0 CP932, 1 EUC-JP
};

// "絞り込み"
enum class FilterRow {
    ReadOnly = 1,   // 読み取り専用
    Hidden,         // 隠しファイル
    Archive,        // アーカイブファイル
    System,         // システムファイル
    AttributeOnly,  // 属性読み込み
    IncludeOn,      // 絞り込み
    ExcludeOn,      // 例外処理
    ImportantOn,    // 重要ファイル除外
    Include,        // 絞り込み文字列
    Exclude,        // 例外文字列
    Important,      // 重要ファイル
};

// "処理方法"
enum class MethodRow {
    Recursive = 1,   // フォルダ巡回
    DeleteExisting,  // 既存ファイル削除
    Folders,         // フォルダ処理
    TextMode,        // テキストモード
    Operation,       // 置換方法
    WholeName,       // マッチング方法
    SearchWord,      // 検索語
    ReplaceWord,     // 置換語
    DelMode,         // 削除モード
    DelTarget,       // 削除移動先フォルダ
    QuickList,       // エラー処理の簡略化
    FolderSort,      // フォルダ内ソート
};

}  // namespace sorvane
