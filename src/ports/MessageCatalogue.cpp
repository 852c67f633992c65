#include "ports/MessageCatalogue.h"

#include <QStringView>

namespace sorvane {

namespace {

struct Row {
    QStringView text;
    QStringView title;
    MsgButtons buttons;
    MsgIcon icon;
    int defaultButton;  // 0-based: 1 preselects "No" of Yes/No
};

constexpr QStringView kStartFolderTitle = u"開始フォルダの指定";
constexpr QStringView kSearchTitle = u"検索文字列の指定";
// The replace word's title at the start command, as the program has always
// spelt it; the checks before a rename spell it kReplaceWordTitle.
constexpr QStringView kReplaceTitle = u"置換索文字列の指定";
constexpr QStringView kReplaceWordTitle = u"置換文字列の指定";
constexpr QStringView kOptionErrorTitle = u"オプションエラー";
constexpr QStringView kControlChars =
    u"Windowsのサポートしない文字や制御文字（改行など）が含まれています。";
constexpr QStringView kInterruptedTitle = u"途中で終わった変換";

// A switch, so that the compiler names an id that has no row.
Row RowOf(MessageId id) {
    using B = MsgButtons;
    using I = MsgIcon;
    switch (id) {
        case MessageId::Other:
            return {u"", u"", B::OK, I::None, 0};
        case MessageId::StopQuestion:  // %1 the work in progress
            return {u"作業を中止しますか？", u"%1", B::YesNo, I::None, 1};
        case MessageId::SettingsOpenError:  // %1 the settings file
            return {u"%1 のオープンに失敗しました。", u"ファイルオープンエラー", B::OK, I::Error,
                    0};
        case MessageId::SettingsWriteError:  // %1 the settings file
            return {u"%1 の書き込みに失敗しました。", u"ファイル書き込みエラー", B::OK, I::Error,
                    0};
        case MessageId::StartFolderEmpty:
            return {u"開始フォルダを指定してください", kStartFolderTitle, B::OK, I::Warning, 0};
        case MessageId::StartFolderMissing:
            return {u"開始フォルダが存在しません。", kStartFolderTitle, B::OK, I::Error, 0};
        case MessageId::SearchWordEmpty:
            return {u"検索される文字列を指定してください", kSearchTitle, B::OK, I::Warning, 0};
        case MessageId::ReplaceWordEmpty:
            return {u"置換される文字列を指定してください", kReplaceTitle, B::OK, I::Warning, 0};
        case MessageId::InsertWordEmpty:
            return {u"挿入される文字列を指定してください", u"挿入文字列の指定", B::OK, I::Warning,
                    0};
        case MessageId::SearchWordControlChars:
            return {kControlChars, kSearchTitle, B::OK, I::Error, 0};
        case MessageId::ReplaceWordControlChars:
            return {kControlChars, kReplaceTitle, B::OK, I::Error, 0};
        case MessageId::DeleteTargetEmpty:
            return {u"削除ファイル移動先開始フォルダを指定してください。", kOptionErrorTitle, B::OK,
                    I::Warning, 0};
        case MessageId::DeleteTargetMissing:
            return {
                u"削除ファイル移動先フォルダが存在しません。\r\n"
                u"「既存ファイル削除」のオプションを確認してください。",
                kOptionErrorTitle, B::OK, I::Error, 0};
        case MessageId::ForbiddenInReplace:
            return {u"ファイル・フォルダ名に以下の文字は使用できません。\r\n\\ / : \" < > | ",
                    kReplaceWordTitle, B::OK, I::Error, 0};
        case MessageId::ForbiddenInInsert:
            return {u"ファイル・フォルダ名に以下の文字は使用できません。\r\n\\ / : * ? \" < > |",
                    kReplaceWordTitle, B::OK, I::Error, 0};
        case MessageId::CommaQuestion:
            return {
                u"ファイル・フォルダ名に以下の文字は使用しない方が良いと思われます。\r\n"
                u"処理を続行しますか？（おすすめしません）\r\n, ;",
                kReplaceWordTitle, B::YesNo, I::Question, 1};
        case MessageId::BadReplacePattern:
            return {u"置換のパターンが間違っています。\r\n処理は中止されます。", kReplaceWordTitle,
                    B::OK, I::Warning, 0};
        case MessageId::ListingFailed:
            return {
                u"予想外のエラーです。次のような可能性があります。\r\n"
                u"・作業中にフォルダが削除された\r\n"
                u"・フォルダ階層が深すぎる、置換語のファイル名が長すぎる\r\n"
                u"・メモリが不足している\r\n"
                u"・その他不明",
                u"リストアップ中のエラー", B::OK, I::Error, 0};
        case MessageId::TooManyTargetsQuestion:  // %1 the item word, %2 the maximum
            return {
                u"%1数が多すぎるようです。最大数=%2\r\n"
                u"あるいは検索パターンに問題があります。\r\n\r\n"
                u"これまでに検索された%1だけ置換しますか？\r\n（あまりおすすめしません。）",
                u"%1数が多すぎます。", B::YesNo, I::Warning, 1};
        case MessageId::DetailLogAfterRenameQuestion:
            return {
                u"すでに削除または名前が変換(スキップ含む)されたファイルがあります。\r\n"
                u"詳細ログを作成しますか？",
                u"詳細ログ作成の確認", B::YesNo, I::None, 0};
        case MessageId::DetailLogAfterRestoreQuestion:
            return {u"すでに名前が復元されたファイルがあります。\r\n詳細ログを作成しますか？",
                    u"詳細ログ作成の確認", B::YesNo, I::None, 0};
        case MessageId::RenameFailed:
            return {
                u"変換中に問題が発生しました。\r\n"
                u"削除用フォルダが作成出来なかった可能性があります。",
                u"変換中のエラー", B::OK, I::Error, 0};
        case MessageId::JournalFailed:  // %1 the journal's folder, %2 the system's reason
            return {
                u"復元用の記録を保存できませんでした。\r\n%1\r\n%2\r\n\r\n"
                u"何も変更せずに処理を中止しました。",
                u"復元記録のエラー", B::OK, I::Error, 0};
        case MessageId::InterruptedRunQuestion:  // %1 the item word, %2 the start folder,
                                                 // %3 the targets
            return {
                u"前回の%1名の変換は、途中で終わっています。\r\n開始フォルダ：%2\r\n"
                u"変換する予定だった%1数：%3\r\n\r\n今すぐ元に戻しますか？\r\n"
                u"（「いいえ」のときは、あとで sorvane-cli restore で戻せます。）",
                kInterruptedTitle, B::YesNo, I::Question, 0};
        case MessageId::InterruptedRunDamagedQuestion:  // the same, %4 the unread lines
            return {
                u"前回の%1名の変換は、途中で終わっています。\r\n開始フォルダ：%2\r\n"
                u"変換する予定だった%1数：%3\r\n読めない記録：%4行（その%1は元に戻せません）"
                u"\r\n\r\n今すぐ元に戻しますか？\r\n"
                u"（「いいえ」のときは、あとで sorvane-cli restore で戻せます。）",
                kInterruptedTitle, B::YesNo, I::Question, 0};
        case MessageId::InterruptedRunRestoreFailed:  // %1 the journal, %2 the reason
            return {u"%1\r\n%2", kInterruptedTitle, B::OK, I::Error, 0};
        case MessageId::LogError:
            return {
                u"ログ作成中に問題が発生しました。\r\n"
                u"ログが長くなりすぎた可能性があります。\r\n"
                u"このエラーを出したくない場合はログの詳細表示をOFFにしてみてください。\r\n\r\n"
                u"結果だけ出力する場合は「OK」を、\r\n"
                u"このまま終了する場合は「Cancel」を押してください。",
                u"ログ作成中のエラー", B::OKCancel, I::Error, 0};
        case MessageId::AutoLogSaveError:  // %1 what went wrong
            return {u"ログの保存でエラーがありました。\r\n%1", u"ログの自動保存", B::OK, I::Error,
                    0};
        case MessageId::ManualLogSaveError:  // %1 what went wrong
            return {u"%1", u"ログの保存", B::OK, I::Error, 0};
        case MessageId::PathFallbackToProgramFolder:
            return {u"パスが見つかりませんでした。\r\n起動フォルダに移動しました。", u"異常なパス",
                    B::OK, I::Information, 0};
        case MessageId::PathFallbackToSystemFolder:
            return {u"パスが見つかりませんでした。\r\nシステムフォルダに移動しました。",
                    u"異常なパス", B::OK, I::Information, 0};
        case MessageId::PathFatal:
            return {
                u"パスがどうしても見つかりません。\r\nアプリケーションを終了します。\r\n"
                u"…ていうか、システムフォルダさえ取得できないし、やばいかも。",
                u"異常終了", B::OK, I::Error, 0};
        case MessageId::FolderNotStorable:  // %1 the folder
            return {
                u"%1\r\nこのフォルダの名前には文字として読めないバイトがあり、設定ファイルに"
                u"保存できないため、指定できません。",
                kOptionErrorTitle, B::OK, I::Error, 0};
        case MessageId::SettingsFileNameUnreadable:  // %1 the file
            return {
                u"%1\r\nこのファイルの名前には文字として読めないバイトがあるため、設定ファイル"
                u"として読み込めません。",
                u"ファイルオープンエラー", B::OK, I::Error, 0};
        case MessageId::ShortcutTargetMissing:  // %1 the shortcut's target
            return {u"ショートカット先が存在しません。\r\n%1", u"パスの指定", B::OK, I::Error, 0};
        case MessageId::HistoryRestoreFailed:  // %1 the journal, %2 the reason
            return {u"%1\r\nこの変換は戻せません。\r\n%2", u"変換の履歴", B::OK, I::Error, 0};
        case MessageId::NoProgramForFile:  // %1 the file
            return {u"%1\r\nこのファイルを開くプログラムが見つかりません。", u"ファイルを開く",
                    B::OK, I::Error, 0};
    }
    return {u"", u"", B::OK, I::None, 0};
}

// pattern with every %1 ... %9 replaced by its argument. One pass over the
// pattern alone: the arguments are copied, never scanned.
QString Fill(QStringView pattern, const QStringList& args) {
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size()) {
            const int n = pattern[i + 1].unicode() - u'1';
            if (n >= 0 && n < 9) {
                Q_ASSERT_X(n < args.size(), "MessageCatalogue", "a message lacks an argument");
                if (n < args.size()) {
                    out += args[n];
                    ++i;
                    continue;
                }
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace

MessageRequest MessageCatalogue::Request(MessageId id, const QStringList& args) {
    const Row row = RowOf(id);
    return MakeRequest(id, Fill(row.text, args), Fill(row.title, args), row.buttons, row.icon,
                       row.defaultButton);
}

}  // namespace sorvane
