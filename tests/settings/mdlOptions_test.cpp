#include "settings/mdlOptions.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <functional>

#include "platform/TextCodec.h"
#include "support/OptionTables.h"
#include "support/TempTree.h"
#include "support/scripted/ScriptedMessageBox.h"

namespace sorvane {
namespace {

using namespace Qt::StringLiterals;
using test::ExpectSameTables;
using test::TempTree;

const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tree.IsValid());
        options.InitOptions(tree.Root(), u"sorvane"_s);
        defaults.InitOptions(tree.Root(), u"sorvane"_s);
    }

    // A new file with these bytes; its path.
    QString NewFile(const QByteArray& bytes) {
        const QString name = u"in%1.ini"_s.arg(++mFiles);
        EXPECT_TRUE(tree.MakeFile(name, bytes));
        return tree.Path(name);
    }

    // Loads a file holding the text in the program's encoding.
    bool LoadText(const QString& text, bool reset = true) {
        return options.LoadOptionFile(NewFile(EncodeTextFile(text)), reset);
    }

    void ExpectOpenFailureShown(const QString& path) {
        ASSERT_EQ(messages.shown.size(), 1);
        const MessageRequest& shown = messages.shown.front();
        EXPECT_EQ(shown.text, path + u" のオープンに失敗しました。"_s);
        EXPECT_EQ(shown.title, u"ファイルオープンエラー"_s);
        EXPECT_EQ(shown.icon, MsgIcon::Error);
        EXPECT_EQ(shown.buttons, MsgButtons::OK);
    }

    TempTree tree;
    ScriptedMessageBox messages;
    mdlOptions options{messages};
    ScriptedMessageBox defaultMessages;
    mdlOptions defaults{defaultMessages};

private:
    int mFiles = 0;
};

TEST_F(OptionsTest, SettingsFileNameFollowsTheProgram) {
    EXPECT_EQ(options.IniFileName, u"sorvane.ini"_s);
    EXPECT_EQ(options.IniFilePath, tree.Root() + u"/sorvane.ini"_s);
    options.InitOptions(u"/"_s, u"リネーム"_s);
    EXPECT_EQ(options.IniFilePath, u"/リネーム.ini"_s);
    EXPECT_EQ(options.AttrBits, (std::array<int, 4>{1, 2, 32, 4}));
}

// The default file, line by line, and the bytes Windows' code page 932 gives.
TEST_F(OptionsTest, DefaultFileIsExact) {
    ASSERT_TRUE(options.SaveOptionFile(options.IniFilePath));
    EXPECT_TRUE(messages.shown.isEmpty());
    const QByteArray bytes = tree.Read(u"sorvane.ini"_s);

    const QString expected =
        u"問題が起きたらこのファイルを削除してください。\r\n"
        u"「sorvane.EXE」を起動後、何もせずに「終了」ボタンで\r\n"
        u"終了するとデフォルトの設定ファイルが生成されます。\r\n"
        u"\r\n"
        u"[システム]\r\n"
        u"最大処理ファイル数=10000\r\n"
        u"最大履歴数=100\r\n"
        u"初期パス=\r\n"
        u"エスケープ=1\r\n"
        u"保存=1\r\n"
        u"パターン確認=0\r\n"
        u"パターン表示=0\r\n"
        u"ログ表示=1\r\n"
        u"オプション表示=1\r\n"
        u"ログパス=Log\r\n"
        u"自動ログ保存=0\r\n"
        u"エラー処理簡略化可能=0\r\n"
        u"復元記録=1\r\n"
        u"プレビュー表示=0\r\n"
        u"修復表示=0\r\n"
        u"修復方法=0\r\n"
        u"修復文字コード=0\r\n"
        u"\r\n"
        u"[絞り込み]\r\n"
        u"読み取り専用=1\r\n"
        u"隠しファイル=0\r\n"
        u"アーカイブファイル=1\r\n"
        u"システムファイル=0\r\n"
        u"属性読み込み=0\r\n"
        u"絞り込み=0\r\n"
        u"例外処理=0\r\n"
        u"重要ファイル除外=1\r\n"
        u"絞り込み文字列=\r\n"
        u"例外文字列=\r\n"
        u"重要ファイル=*.exe;*.com;*.bat;*.dll\r\n"
        u"\r\n"
        u"[処理方法]\r\n"
        u"フォルダ巡回=1\r\n"
        u"既存ファイル削除=0\r\n"
        u"フォルダ処理=0\r\n"
        u"テキストモード=1\r\n"
        u"置換方法=0\r\n"
        u"マッチング方法=0\r\n"
        u"検索語=\r\n"
        u"置換語=\r\n"
        u"削除モード=0\r\n"
        u"削除移動先フォルダ=\r\n"
        u"エラー処理の簡略化=0\r\n"
        u"フォルダ内ソート=1\r\n"
        u"\r\n"_s;
    EXPECT_EQ(DecodeTextFile(bytes), expected);

    // Shift-JIS, not UTF-8: the first header line and "[システム]" with its
    // first key, as code page 932 writes them.
    EXPECT_FALSE(bytes.startsWith(kBom));
    EXPECT_TRUE(
        bytes.startsWith(QByteArray::fromHex("96e291e882aa8b4e82ab82bd82e782b182cc837483408343838b8"
                                             "2f08ded8f9c82b582c482ad82be82b382a281420d0a")));
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex(
        "0d0a0d0a5b83568358836583805d0d0a8dc591e58f88979d837483408343838b90943d31303030300d0a")));
}

TEST_F(OptionsTest, WrittenTableReadsBackTheSame) {
    struct Case {
        const char* name;
        std::function<void(mdlOptions&)> change;
        bool utf8;
    };
    const Case cases[] = {
        {"defaults", [](mdlOptions&) {}, false},
        {"Japanese texts and other numbers",
         [](mdlOptions& o) {
             o.SystemOptions.SetText(3, u"/home/利用者/写真"_s);
             o.SystemOptions.SetNum(1, 250000);
             o.MethodOptions.SetText(7, u"ＩＭＧ_～①"_s);
             o.MethodOptions.SetNum(5, 2);
             o.FilterOptions.SetNum(2, 1);
         },
         false},
        {"blanks at both ends",
         [](mdlOptions& o) {
             o.MethodOptions.SetText(7, u"  a b  "_s);
             o.MethodOptions.SetText(8, u"\u3000全角\u3000"_s);
             o.FilterOptions.SetText(9, u"\t*.jpg "_s);
         },
         false},
        {"equals signs and look-alikes of other lines",
         [](mdlOptions& o) {
             o.MethodOptions.SetText(7, u"a=b=c"_s);
             o.MethodOptions.SetText(8, u"=[処理方法]"_s);
             o.FilterOptions.SetText(10, u"'not a comment"_s);
         },
         false},
        {"empty text over a default",
         [](mdlOptions& o) {
             o.FilterOptions.SetText(11, QString());
             o.SystemOptions.SetText(10, QString());
         },
         false},
        {"a text outside Shift-JIS",
         [](mdlOptions& o) {
             o.MethodOptions.SetText(7, u"〜"_s);
             o.MethodOptions.SetText(8, u"写真😀"_s);
             o.SystemOptions.SetText(3, u"/home/ü"_s);
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMessageBox m1, m2;
        mdlOptions written(m1), read(m2);
        written.InitOptions(tree.Root(), u"sorvane"_s);
        read.InitOptions(tree.Root(), u"sorvane"_s);
        c.change(written);
        const QString path = tree.Path(u"round.ini"_s);
        ASSERT_TRUE(written.SaveOptionFile(path));
        EXPECT_EQ(tree.Read(u"round.ini"_s).startsWith(kBom), c.utf8);

        read.MethodOptions.SetText(7, u"stale"_s);
        ASSERT_TRUE(read.LoadOptionFile(path, true));
        ExpectSameTables(read, written);
        EXPECT_TRUE(m1.shown.isEmpty());
        EXPECT_TRUE(m2.shown.isEmpty());
    }
}

// A line break would end the line inside the value and let the rest pass
// for another line, even another key: such a row is left out.
TEST_F(OptionsTest, TextWithLineBreakIsLeftOutOfTheFile) {
    options.MethodOptions.SetText(7, u"x\r\n最大処理ファイル数=5"_s);
    options.SystemOptions.SetText(3, u"/home/a\nb"_s);
    options.SystemOptions.SetText(10, u"/var/log\rs"_s);
    options.MethodOptions.SetText(8, u"kept"_s);
    options.SystemOptions.SetNum(1, 700);
    ASSERT_TRUE(options.SaveOptionFile(tree.Path(u"a.ini"_s)));

    ASSERT_TRUE(defaults.LoadOptionFile(tree.Path(u"a.ini"_s), true));
    EXPECT_EQ(defaults.SystemOptions.Num(1), 700);
    EXPECT_EQ(defaults.MethodOptions.Text(7), QString());
    EXPECT_EQ(defaults.MethodOptions.Text(8), u"kept"_s);
    EXPECT_EQ(defaults.SystemOptions.Text(3), QString());
    EXPECT_EQ(defaults.SystemOptions.Text(10), u"Log"_s);
}

TEST_F(OptionsTest, ReadingRules) {
    struct Expect {
        OptionTable mdlOptions::*table;
        int row;
        qint32 number;
        QString text;
    };
    const auto Num = [](OptionTable mdlOptions::*t, int row, qint32 n) {
        return Expect{t, row, n, {}};
    };
    const auto Txt = [](OptionTable mdlOptions::*t, int row, const QString& s) {
        return Expect{t, row, 0, s};
    };
    constexpr auto Sys = &mdlOptions::SystemOptions;
    constexpr auto Flt = &mdlOptions::FilterOptions;
    constexpr auto Mth = &mdlOptions::MethodOptions;
    struct Case {
        const char* name;
        QString file;
        std::vector<Expect> expect;
    };
    const Case cases[] = {
        {"comments, also with equals signs and brackets",
         u"[システム]\r\n'最大処理ファイル数=5\r\n   '最大履歴数=7\r\n' [処理方法]\r\n検索語=x\r\n"
         u"'[処理方法]\r\nエスケープ=0\r\n"_s,
         {Num(Sys, 1, 10000), Num(Sys, 2, 100), Num(Sys, 4, 0), Txt(Mth, 7, {})}},
        {"leading spaces go, a tab stays part of the key",
         u"[システム]\r\n    最大履歴数=7\r\n\t最大処理ファイル数=5\r\n"_s,
         {Num(Sys, 2, 7), Num(Sys, 1, 10000)}},
        {"half-width section name is another section",
         u"[ｼｽﾃﾑ]\r\n最大履歴数=7\r\n"_s,
         {Num(Sys, 2, 100)}},
        {"blank inside the brackets is another section",
         u"[システム ]\r\n最大履歴数=7\r\n[ システム]\r\n最大処理ファイル数=5\r\n"_s,
         {Num(Sys, 2, 100), Num(Sys, 1, 10000)}},
        {"full-width brackets are no header",
         u"［システム］\r\n最大履歴数=7\r\n"_s,
         {Num(Sys, 2, 100)}},
        {"unknown section, then a known one",
         u"[その他]\r\n最大履歴数=7\r\n[システム]\r\n最大処理ファイル数=5\r\n"_s,
         {Num(Sys, 2, 100), Num(Sys, 1, 5)}},
        {"the name ends at the first bar",
         u"[システム|旧版|x]\r\n最大履歴数=7\r\n[|システム]\r\n最大処理ファイル数=5\r\n"_s,
         {Num(Sys, 2, 7), Num(Sys, 1, 10000)}},
        {"a section given twice: the later value wins",
         u"[システム]\r\n最大履歴数=7\r\n最大処理ファイル数=50\r\n[処理方法]\r\n検索語=a\r\n"
         u"[システム]\r\n最大履歴数=8\r\n"_s,
         {Num(Sys, 2, 8), Num(Sys, 1, 50), Txt(Mth, 7, u"a"_s)}},
        {"key lines before the first section",
         u"最大履歴数=7\r\n検索語=x\r\n[処理方法]\r\n置換語=y\r\n"_s,
         {Num(Sys, 2, 100), Txt(Mth, 7, {}), Txt(Mth, 8, u"y"_s)}},
        {"a key of another section is not taken",
         u"[システム]\r\n検索語=x\r\n"_s,
         {Txt(Mth, 7, {})}},
        {"a blank before the equals sign",
         u"[システム]\r\n最大履歴数 =7\r\n"_s,
         {Num(Sys, 2, 100)}},
        {"blanks around a number",
         u"[システム]\r\nログ表示= 0\r\nエスケープ=0 \r\n最大履歴数=\t30\t\r\n"_s,
         {Num(Sys, 8, 0), Num(Sys, 4, 0), Num(Sys, 2, 30)}},
        {"numbers that do not convert keep the value",
         u"[システム]\r\n最大処理ファイル数=abc\r\n最大履歴数=\r\nログ表示=0e0\r\n"
         u"パターン確認=9999999999\r\n"_s,
         {Num(Sys, 1, 10000), Num(Sys, 2, 100), Num(Sys, 8, 1), Num(Sys, 6, 0)}},
        {"a fraction is rounded, then clamped",
         u"[システム]\r\n最大処理ファイル数=2.5\r\n最大履歴数=3.5\r\n"_s,
         {Num(Sys, 1, 2), Num(Sys, 2, 4)}},
        {"texts are kept exactly, equals signs and blanks included",
         u"[処理方法]\r\n検索語=  a  \r\n置換語=a=b\r\n削除移動先フォルダ=\r\n"
         u"[絞り込み]\r\n重要ファイル=\r\n"_s,
         {Txt(Mth, 7, u"  a  "_s), Txt(Mth, 8, u"a=b"_s), Txt(Mth, 10, {}), Txt(Flt, 11, {})}},
        {"lines of nothing in particular are skipped",
         u"[システム]\r\njunk\r\n\r\n   \r\n[システム] \r\n最大履歴数=7\r\n"_s,
         {Num(Sys, 2, 7)}},
        {"half-width katakana in a key is another key",
         u"[システム]\r\n最大処理ﾌｧｲﾙ数=5\r\n"_s,
         {Num(Sys, 1, 10000)}},
        {"LF line ends",
         u"[システム]\n最大履歴数=7\n\n[処理方法]\n検索語=b\n"_s,
         {Num(Sys, 2, 7), Txt(Mth, 7, u"b"_s)}},
        {"CR line ends",
         u"[システム]\r最大履歴数=7\r[処理方法]\r検索語=b\r"_s,
         {Num(Sys, 2, 7), Txt(Mth, 7, u"b"_s)}},
        {"no line end after the last line", u"[処理方法]\r\n検索語= b "_s, {Txt(Mth, 7, u" b "_s)}},
        {"bounds: below the lower ones",
         u"[システム]\r\n最大処理ファイル数=0\r\n最大履歴数=1\r\nエスケープ=-3\r\n"
         u"[処理方法]\r\n置換方法=-1\r\n"_s,
         {Num(Sys, 1, 1), Num(Sys, 2, 2), Num(Sys, 4, 0), Num(Mth, 5, 0)}},
        {"bounds: above the upper ones",
         u"[システム]\r\n最大処理ファイル数=2147483647\r\nエスケープ=7\r\n"
         u"[処理方法]\r\n置換方法=5\r\n削除モード=3\r\n[絞り込み]\r\n重要ファイル除外=2\r\n"_s,
         {Num(Sys, 1, 2147483647), Num(Sys, 4, 1), Num(Mth, 5, 2), Num(Mth, 9, 2), Num(Flt, 8, 1)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMessageBox m;
        mdlOptions o(m);
        o.InitOptions(tree.Root(), u"sorvane"_s);
        ASSERT_TRUE(o.LoadOptionFile(NewFile(EncodeTextFile(c.file)), true));
        for (const Expect& e : c.expect) {
            const OptionRow& row = (o.*e.table).Row(e.row);
            SCOPED_TRACE(row.Key.toStdString());
            if (row.ValueKind == OptionValueKind::Number) {
                EXPECT_EQ(row.Number, e.number);
            } else {
                EXPECT_EQ(row.Text, e.text);
            }
        }
        EXPECT_TRUE(m.shown.isEmpty());
    }
}

TEST_F(OptionsTest, KeysMatchWithoutRegardToLetterCase) {
    options.SystemOptions.Row(2).Key = u"MaxHistory"_s;
    options.SystemOptions.Row(1).Key = u"MaxFiles"_s;
    ASSERT_TRUE(LoadText(u"[システム]\r\nmaxHISTORY=7\r\nＭａｘＦｉｌｅｓ=5\r\n"_s));
    EXPECT_EQ(options.SystemOptions.Num(2), 7);
    EXPECT_EQ(options.SystemOptions.Num(1), 10000);  // full-width letters are other letters
}

TEST_F(OptionsTest, UtfEightFilesAreRead) {
    ASSERT_TRUE(options.LoadOptionFile(
        NewFile(kBom + u"[処理方法]\r\n検索語=〜写真\r\n"_s.toUtf8()), true));
    EXPECT_EQ(options.MethodOptions.Text(7), u"〜写真"_s);

    // As a Linux editor saves it: no mark.
    ASSERT_TRUE(
        options.LoadOptionFile(NewFile(u"[処理方法]\r\n置換語=写真の整理\r\n"_s.toUtf8()), true));
    EXPECT_EQ(options.MethodOptions.Text(8), u"写真の整理"_s);
}

// Without reset, rows the file lacks keep what they hold, and sections the
// file lacks are not clamped.
TEST_F(OptionsTest, LoadingWithoutResetKeepsWhatTheFileLacks) {
    options.MethodOptions.SetNum(5, 9);
    options.SystemOptions.SetNum(2, 0);
    options.SystemOptions.SetText(3, u"/kept"_s);
    ASSERT_TRUE(LoadText(u"[システム]\r\n最大処理ファイル数=42\r\n"_s, false));
    EXPECT_EQ(options.SystemOptions.Num(1), 42);
    EXPECT_EQ(options.SystemOptions.Num(2), 2);  // its section was read, so clamped
    EXPECT_EQ(options.SystemOptions.Text(3), u"/kept"_s);
    EXPECT_EQ(options.MethodOptions.Num(5), 9);
}

TEST_F(OptionsTest, LastIniFolderIsTheFolderOfTheFileRead) {
    ASSERT_TRUE(tree.MakeFile(u"sub/x.ini"_s, "[システム]\r\n"));
    ASSERT_TRUE(options.LoadOptionFile(tree.Path(u"sub/x.ini"_s), true));
    EXPECT_EQ(options.LastIniFolder, tree.Path(u"sub"_s));

    // Missing file: false, no message, the folder of the last read stays.
    EXPECT_FALSE(options.LoadOptionFile(tree.Path(u"missing.ini"_s), false));
    EXPECT_EQ(options.LastIniFolder, tree.Path(u"sub"_s));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(OptionsTest, EmptyPathGivesExactlyTheDefaults) {
    ASSERT_TRUE(LoadText(u"[システム]\r\n最大履歴数=7\r\n[処理方法]\r\n検索語=x\r\n"_s));
    options.FilterOptions.SetText(11, u"*.txt"_s);
    ASSERT_FALSE(options.LastIniFolder.isEmpty());

    EXPECT_FALSE(options.LoadOptionFile(QString(), true));
    ExpectSameTables(options, defaults);
    EXPECT_TRUE(options.LastIniFolder.isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(OptionsTest, WhatCannotBeOpenedIsReportedAndLeftAlone) {
    ASSERT_TRUE(tree.MakeFolder(u"folder.ini"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"dangling.ini"_s, u"nowhere.ini"_s));
    ASSERT_TRUE(tree.MakeFifo(u"pipe.ini"_s));
    {
        QFile huge(tree.Path(u"huge.ini"_s));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(17 * 1024 * 1024));
    }
    for (const char* name : {"folder.ini", "dangling.ini", "pipe.ini", "huge.ini"}) {
        SCOPED_TRACE(name);
        messages.shown.clear();
        options.SystemOptions.SetNum(2, 55);
        const QString path = tree.Path(QString::fromLatin1(name));
        EXPECT_FALSE(options.LoadOptionFile(path, true));
        ExpectOpenFailureShown(path);
        EXPECT_EQ(options.SystemOptions.Num(2), 100);  // the reset was done first
        EXPECT_TRUE(options.LastIniFolder.isEmpty());
    }

    for (const QString& path : {tree.Path(u"folder.ini"_s), tree.Path(u"no/such/folder/a.ini"_s)}) {
        SCOPED_TRACE(path.toStdString());
        messages.shown.clear();
        EXPECT_FALSE(options.SaveOptionFile(path));
        ExpectOpenFailureShown(path);
    }
    EXPECT_TRUE(QFileInfo(tree.Path(u"folder.ini"_s)).isDir());
}

// The user's folder for the program does not exist before the first save.
TEST_F(OptionsTest, TheFirstSaveMakesTheFolderOfTheSettingsFile) {
    mdlOptions o(messages);
    o.InitOptions(tree.Path(u"config/sorvane"_s), u"sorvane"_s);
    ASSERT_TRUE(o.SaveOptionFile(o.IniFilePath));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(options.LoadOptionFile(tree.Path(u"config/sorvane/sorvane.ini"_s), true));
    ExpectSameTables(options, defaults);
}

TEST_F(OptionsTest, SavingReplacesTheWholeFileAndKeepsItsLink) {
    ASSERT_TRUE(tree.MakeFile(u"real.ini"_s, QByteArray(100000, 'x')));
    ASSERT_TRUE(tree.MakeSymlink(u"link.ini"_s, tree.Path(u"real.ini"_s)));
    options.MethodOptions.SetText(7, u"新しい値"_s);
    ASSERT_TRUE(options.SaveOptionFile(tree.Path(u"link.ini"_s)));

    EXPECT_TRUE(QFileInfo(tree.Path(u"link.ini"_s)).isSymLink());
    ASSERT_TRUE(options.SaveOptionFile(tree.Path(u"fresh.ini"_s)));
    EXPECT_EQ(tree.Read(u"real.ini"_s), tree.Read(u"fresh.ini"_s));
}

TEST(OptionNumberTest, ConvertsLikeTheSettingsFileMeansIt) {
    struct Case {
        QString text;
        bool ok;
        qint32 value;
    };
    const Case cases[] = {
        {u"0"_s, true, 0},
        {u" 12 "_s, true, 12},
        {u"\t7\t"_s, true, 7},
        {u"+5"_s, true, 5},
        {u"-5"_s, true, -5},
        {u"000000000000000000000042"_s, true, 42},
        // Ties go to the even neighbour, on either side of zero.
        {u"2.5"_s, true, 2},
        {u"3.5"_s, true, 4},
        {u"0.5"_s, true, 0},
        {u"-2.5"_s, true, -2},
        {u"-3.5"_s, true, -4},
        {u"2.49999"_s, true, 2},
        {u"2.50000000000000000001"_s, true, 3},
        {u".5"_s, true, 0},
        {u"5."_s, true, 5},
        {u"2147483647"_s, true, 2147483647},
        {u"-2147483648"_s, true, -2147483647 - 1},
        {u"2147483646.5"_s, true, 2147483646},
        {u"-2147483648.5"_s, true, -2147483647 - 1},
        {u"2147483648"_s, false, 0},
        {u"2147483647.5"_s, false, 0},
        {u"-2147483649"_s, false, 0},
        {u"99999999999999999999999"_s, false, 0},
        {u""_s, false, 0},
        {u"   "_s, false, 0},
        {u"abc"_s, false, 0},
        {u"12abc"_s, false, 0},
        {u"1e3"_s, false, 0},
        {u"1,000"_s, false, 0},
        {u"0x10"_s, false, 0},
        {u"１２"_s, false, 0},
        {u"- 5"_s, false, 0},
        {u"5 5"_s, false, 0},
        {u"."_s, false, 0},
        {u"+"_s, false, 0},
        {u"--5"_s, false, 0},
    };
    for (const Case& c : cases) {
        qint32 value = 12345;
        EXPECT_EQ(ParseOptionNumber(c.text, &value), c.ok) << c.text.toStdString();
        EXPECT_EQ(value, c.ok ? c.value : 12345) << c.text.toStdString();
    }
}

}  // namespace
}  // namespace sorvane
