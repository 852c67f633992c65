#include "ports/MessageCatalogue.h"

#include <gtest/gtest.h>

#include <set>

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

struct Expected {
    MessageId id;
    QStringList args;
    QString text;
    QString title;
    MsgButtons buttons;
    MsgIcon icon;
    int defaultButton;
};

// Sample values of the variable parts.
const QString w = u"フォルダ"_s;
const QString kPath = u"/home/u/設定.ini"_s;
const QString kFolder = u"/home/u/写真/"_s;
const QString kReason = u"No space left on device"_s;

// Every message as the program has always shown it, built the way its
// caller built it before the catalogue held it.
std::vector<Expected> Table() {
    using B = MsgButtons;
    using I = MsgIcon;
    const QString kControlChars =
        u"Windowsのサポートしない文字や制御文字（改行など）が含まれています。"_s;
    const QString offer = u"前回の"_s + w +
                          u"名の変換は、途中で終わっています。\r\n開始フォルダ："_s + kFolder +
                          u"\r\n変換する予定だった"_s + w + u"数："_s + u"12"_s;
    const QString offerEnd =
        u"\r\n\r\n今すぐ元に戻しますか？\r\n"
        u"（「いいえ」のときは、あとで sorvane-cli restore で戻せます。）"_s;
    return {
        {MessageId::Other, {}, QString(), QString(), B::OK, I::None, 0},
        {MessageId::StopQuestion,
         {u"フォルダ名の置換 / 済 100"_s},
         u"作業を中止しますか？"_s,
         u"フォルダ名の置換 / 済 100"_s,
         B::YesNo,
         I::None,
         1},
        {MessageId::SettingsOpenError,
         {kPath},
         kPath + u" のオープンに失敗しました。"_s,
         u"ファイルオープンエラー"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::SettingsWriteError,
         {kPath},
         kPath + u" の書き込みに失敗しました。"_s,
         u"ファイル書き込みエラー"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::StartFolderEmpty,
         {},
         u"開始フォルダを指定してください"_s,
         u"開始フォルダの指定"_s,
         B::OK,
         I::Warning,
         0},
        {MessageId::StartFolderMissing,
         {},
         u"開始フォルダが存在しません。"_s,
         u"開始フォルダの指定"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::SearchWordEmpty,
         {},
         u"検索される文字列を指定してください"_s,
         u"検索文字列の指定"_s,
         B::OK,
         I::Warning,
         0},
        {MessageId::ReplaceWordEmpty,
         {},
         u"置換される文字列を指定してください"_s,
         u"置換索文字列の指定"_s,
         B::OK,
         I::Warning,
         0},
        {MessageId::InsertWordEmpty,
         {},
         u"挿入される文字列を指定してください"_s,
         u"挿入文字列の指定"_s,
         B::OK,
         I::Warning,
         0},
        {MessageId::SearchWordControlChars,
         {},
         kControlChars,
         u"検索文字列の指定"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::ReplaceWordControlChars,
         {},
         kControlChars,
         u"置換索文字列の指定"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::DeleteTargetEmpty,
         {},
         u"削除ファイル移動先開始フォルダを指定してください。"_s,
         u"オプションエラー"_s,
         B::OK,
         I::Warning,
         0},
        {MessageId::DeleteTargetMissing,
         {},
         u"削除ファイル移動先フォルダが存在しません。\r\n"
         u"「既存ファイル削除」のオプションを確認してください。"_s,
         u"オプションエラー"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::ForbiddenInReplace,
         {},
         u"ファイル・フォルダ名に以下の文字は使用できません。\r\n"_s + u"\\ / : \" < > | "_s,
         u"置換文字列の指定"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::ForbiddenInInsert,
         {},
         u"ファイル・フォルダ名に以下の文字は使用できません。\r\n"_s + u"\\ / : * ? \" < > |"_s,
         u"置換文字列の指定"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::CommaQuestion,
         {},
         u"ファイル・フォルダ名に以下の文字は使用しない方が良いと思われます。\r\n"
         u"処理を続行しますか？（おすすめしません）\r\n, ;"_s,
         u"置換文字列の指定"_s,
         B::YesNo,
         I::Question,
         1},
        {MessageId::BadReplacePattern,
         {},
         u"置換のパターンが間違っています。\r\n処理は中止されます。"_s,
         u"置換文字列の指定"_s,
         B::OK,
         I::Warning,
         0},
        {MessageId::ListingFailed,
         {},
         u"予想外のエラーです。次のような可能性があります。\r\n"
         u"・作業中にフォルダが削除された\r\n"
         u"・フォルダ階層が深すぎる、置換語のファイル名が長すぎる\r\n"
         u"・メモリが不足している\r\n"
         u"・その他不明"_s,
         u"リストアップ中のエラー"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::TooManyTargetsQuestion,
         {w, u"5000"_s},
         w + u"数が多すぎるようです。最大数="_s + u"5000"_s + u"\r\n"_s +
             u"あるいは検索パターンに問題があります。\r\n\r\nこれまでに検索された"_s + w +
             u"だけ置換しますか？\r\n（あまりおすすめしません。）"_s,
         w + u"数が多すぎます。"_s,
         B::YesNo,
         I::Warning,
         1},
        {MessageId::DetailLogAfterRenameQuestion,
         {},
         u"すでに削除または名前が変換(スキップ含む)されたファイルがあります。\r\n"
         u"詳細ログを作成しますか？"_s,
         u"詳細ログ作成の確認"_s,
         B::YesNo,
         I::None,
         0},
        {MessageId::DetailLogAfterRestoreQuestion,
         {},
         u"すでに名前が復元されたファイルがあります。\r\n詳細ログを作成しますか？"_s,
         u"詳細ログ作成の確認"_s,
         B::YesNo,
         I::None,
         0},
        {MessageId::RenameFailed,
         {},
         u"変換中に問題が発生しました。\r\n削除用フォルダが作成出来なかった可能性があります。"_s,
         u"変換中のエラー"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::JournalFailed,
         {kFolder, kReason},
         u"復元用の記録を保存できませんでした。\r\n"_s + kFolder + u"\r\n"_s + kReason +
             u"\r\n\r\n何も変更せずに処理を中止しました。"_s,
         u"復元記録のエラー"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::InterruptedRunQuestion,
         {w, kFolder, u"12"_s},
         offer + offerEnd,
         u"途中で終わった変換"_s,
         B::YesNo,
         I::Question,
         0},
        {MessageId::InterruptedRunDamagedQuestion,
         {w, kFolder, u"12"_s, u"3"_s},
         offer + u"\r\n読めない記録："_s + u"3"_s + u"行（その"_s + w + u"は元に戻せません）"_s +
             offerEnd,
         u"途中で終わった変換"_s,
         B::YesNo,
         I::Question,
         0},
        {MessageId::InterruptedRunRestoreFailed,
         {kPath, kReason},
         kPath + u"\r\n"_s + kReason,
         u"途中で終わった変換"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::LogError,
         {},
         u"ログ作成中に問題が発生しました。\r\n"
         u"ログが長くなりすぎた可能性があります。\r\n"
         u"このエラーを出したくない場合はログの詳細表示をOFFにしてみてください。\r\n\r\n"
         u"結果だけ出力する場合は「OK」を、\r\n"
         u"このまま終了する場合は「Cancel」を押してください。"_s,
         u"ログ作成中のエラー"_s,
         B::OKCancel,
         I::Error,
         0},
        {MessageId::AutoLogSaveError,
         {kReason},
         u"ログの保存でエラーがありました。\r\n"_s + kReason,
         u"ログの自動保存"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::ManualLogSaveError, {kReason}, kReason, u"ログの保存"_s, B::OK, I::Error, 0},
        {MessageId::SettingsFileNameUnreadable,
         {u"/d/\\x82.ini"_s},
         u"/d/\\x82.ini\r\nこのファイルの名前には文字として読めないバイトがあるため、設定ファイルと"
         u"して読み込めません。"_s,
         u"ファイルオープンエラー"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::FolderNotStorable,
         {u"/d/\\x82"_s},
         u"/d/\\x82\r\nこのフォルダの名前には文字として読めないバイトがあり、設定ファイルに保存"
         u"できないため、指定できません。"_s,
         u"オプションエラー"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::PathFallbackToProgramFolder,
         {},
         u"パスが見つかりませんでした。\r\n"_s + u"起動フォルダ"_s + u"に移動しました。"_s,
         u"異常なパス"_s,
         B::OK,
         I::Information,
         0},
        {MessageId::PathFallbackToSystemFolder,
         {},
         u"パスが見つかりませんでした。\r\n"_s + u"システムフォルダ"_s + u"に移動しました。"_s,
         u"異常なパス"_s,
         B::OK,
         I::Information,
         0},
        {MessageId::PathFatal,
         {},
         u"パスがどうしても見つかりません。\r\nアプリケーションを終了します。\r\n"
         u"…ていうか、システムフォルダさえ取得できないし、やばいかも。"_s,
         u"異常終了"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::ShortcutTargetMissing,
         {kPath},
         u"ショートカット先が存在しません。\r\n"_s + kPath,
         u"パスの指定"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::HistoryRestoreFailed,
         {kPath, u"why"_s},
         kPath + u"\r\nこの変換は戻せません。\r\nwhy"_s,
         u"変換の履歴"_s,
         B::OK,
         I::Error,
         0},
        {MessageId::NoProgramForFile,
         {kPath},
         kPath + u"\r\nこのファイルを開くプログラムが見つかりません。"_s,
         u"ファイルを開く"_s,
         B::OK,
         I::Error,
         0},
    };
}

// Every id, the last one included, has its row here and in the catalogue,
// and each gives exactly the box the program has always shown.
TEST(MessageCatalogue, EveryMessageIsTheProgramsOwn) {
    const std::vector<Expected> table = Table();
    std::set<int> ids;
    for (const Expected& e : table) {
        SCOPED_TRACE(int(e.id));
        ids.insert(int(e.id));
        const MessageRequest r = MessageCatalogue::Request(e.id, e.args);
        EXPECT_EQ(r.id, e.id);
        EXPECT_EQ(r.text, e.text);
        EXPECT_EQ(r.title, e.title);
        EXPECT_EQ(r.buttons, e.buttons);
        EXPECT_EQ(r.icon, e.icon);
        EXPECT_EQ(r.defaultButton, e.defaultButton);
    }
    EXPECT_EQ(ids.size(), table.size());
    EXPECT_EQ(*ids.begin(), 0);
    EXPECT_EQ(*ids.rbegin(), int(MessageId::HistoryRestoreFailed));
    EXPECT_EQ(ids.size(), size_t(MessageId::HistoryRestoreFailed) + 1);
}

// A name read from disk may hold "%1" or "%2": it is shown as it is, never
// filled in again, in the text or in the title.
TEST(MessageCatalogue, AnArgumentIsNeverFilledInAgain) {
    const MessageRequest r =
        MessageCatalogue::Request(MessageId::TooManyTargetsQuestion, {u"a%2b"_s, u"%1%1"_s});
    EXPECT_EQ(r.text,
              u"a%2b数が多すぎるようです。最大数=%1%1\r\n"
              u"あるいは検索パターンに問題があります。\r\n\r\n"
              u"これまでに検索されたa%2bだけ置換しますか？\r\n（あまりおすすめしません。）"_s);
    EXPECT_EQ(r.title, u"a%2b数が多すぎます。"_s);
}

}  // namespace
