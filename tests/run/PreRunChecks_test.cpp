#include "run/PreRunChecks.h"

#include <gtest/gtest.h>

#include <functional>

#include "run/RunFixture.h"

using namespace sorvane;
using namespace sorvane::test;
using namespace Qt::StringLiterals;

namespace {

const QString kControlChars =
    u"Windowsのサポートしない文字や制御文字（改行など）が含まれています。"_s;
const QString kPrevious = u"前回のログ\r\n"_s;

struct RefusalCase {
    const char* name;
    std::function<void(RunFixture&)> setUp;
    MessageRequest expected;
    RunInputBox focus;
    const char* path = nullptr;  // the path text below the tree; none: the tree itself
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

struct RunChecksRefusal : RunFixture, ::testing::WithParamInterface<RefusalCase> {};

// Every refusal shows exactly its one message, starts nothing, logs
// nothing and touches no file.
TEST_P(RunChecksRefusal, ShowsItsMessageAndStartsNothing) {
    MakeFiles({u"a1.txt"_s});
    ASSERT_TRUE(tree.MakeFolder(u"trash"_s));
    core.folders.gCurPath = Root();
    const auto before = tree.Take();
    Words(u"a"_s, u"b"_s);
    logBox.Append(kPrevious);
    GetParam().setUp(*this);
    const char* below = GetParam().path;
    const QString path = !below   ? tree.Root()
                         : *below ? tree.Path(QString::fromUtf8(below))
                                  : QString();

    const RunFrame::StartResult result = frame.Start(path, inputs);

    EXPECT_FALSE(result.ran);
    EXPECT_EQ(result.focus, GetParam().focus);
    ASSERT_EQ(messages.shown.size(), 1);
    const MessageRequest& shown = messages.shown[0];
    const MessageRequest& expected = GetParam().expected;
    EXPECT_EQ(shown.text, expected.text);
    EXPECT_EQ(shown.title, expected.title);
    EXPECT_EQ(shown.buttons, expected.buttons);
    EXPECT_EQ(shown.icon, expected.icon);
    EXPECT_EQ(shown.defaultButton, expected.defaultButton);
    EXPECT_EQ(logBox.Text(), kPrevious);
    EXPECT_EQ(core.log.LogStatus, u"(アプリケーション開始直後)"_s);
    EXPECT_FALSE(forms.calls.contains(u"disable"_s));
    EXPECT_EQ(tree.Take(), before);
}

void Replace(RunFixture& f, const QString& word) {
    f.inputs.replaceWord = word;
}
void Insert(RunFixture& f, const QString& word) {
    f.core.settings.gOperation = RenameOperation::InsertFront;
    f.inputs.replaceWord = word;
}
void DeleteInto(RunFixture& f, const QString& target) {
    f.inputs.deleteValue = CheckBoxValue::Checked;
    f.core.settings.gDelMode = DeleteMode::ToFolder;
    f.core.settings.gDelTarget = target;
}

const QString kStartTitle = u"開始フォルダの指定"_s;
const QString kSearchTitle = u"検索文字列の指定"_s;
const QString kReplaceTitle = u"置換索文字列の指定"_s;
const QString kWordTitle = u"置換文字列の指定"_s;
const QString kOptionTitle = u"オプションエラー"_s;

INSTANTIATE_TEST_SUITE_P(
    , RunChecksRefusal,
    ::testing::Values(
        RefusalCase{"EmptyStartFolder", [](RunFixture&) {},
                    Request(u"開始フォルダを指定してください"_s, kStartTitle, MsgButtons::OK,
                            MsgIcon::Warning),
                    RunInputBox::Path, ""},
        RefusalCase{
            "MissingStartFolder", [](RunFixture&) {},
            Request(u"開始フォルダが存在しません。"_s, kStartTitle, MsgButtons::OK, MsgIcon::Error),
            RunInputBox::Path, "nope"},
        RefusalCase{"EmptySearchWord", [](RunFixture& f) { f.inputs.searchWord.clear(); },
                    Request(u"検索される文字列を指定してください"_s, kSearchTitle, MsgButtons::OK,
                            MsgIcon::Warning),
                    RunInputBox::SearchWord},
        RefusalCase{"EmptyReplaceWordInWholeMode",
                    [](RunFixture& f) {
                        f.inputs.wholeName = true;
                        Replace(f, QString());
                    },
                    Request(u"置換される文字列を指定してください"_s, kReplaceTitle, MsgButtons::OK,
                            MsgIcon::Warning),
                    RunInputBox::ReplaceWord},
        RefusalCase{"EmptyInsertWord", [](RunFixture& f) { Insert(f, QString()); },
                    Request(u"挿入される文字列を指定してください"_s, u"挿入文字列の指定"_s,
                            MsgButtons::OK, MsgIcon::Warning),
                    RunInputBox::ReplaceWord},
        RefusalCase{"TabInSearchWord", [](RunFixture& f) { f.inputs.searchWord = u"a\tb"_s; },
                    Request(kControlChars, kSearchTitle, MsgButtons::OK, MsgIcon::Error),
                    RunInputBox::SearchWord},
        RefusalCase{"LineBreakInReplaceWord", [](RunFixture& f) { Replace(f, u"b\r\nc"_s); },
                    Request(kControlChars, kReplaceTitle, MsgButtons::OK, MsgIcon::Error),
                    RunInputBox::ReplaceWord},
        RefusalCase{"HiddenSearchWordOfAnInsertIsStillChecked",
                    [](RunFixture& f) {
                        Insert(f, u"x"_s);
                        f.inputs.searchWord = u"\x1f"_s;
                    },
                    Request(kControlChars, kSearchTitle, MsgButtons::OK, MsgIcon::Error),
                    RunInputBox::SearchWord},
        RefusalCase{"BlankDeleteTarget", [](RunFixture& f) { DeleteInto(f, u"   "_s); },
                    Request(u"削除ファイル移動先開始フォルダを指定してください。"_s, kOptionTitle,
                            MsgButtons::OK, MsgIcon::Warning),
                    RunInputBox::None},
        RefusalCase{
            "MissingDeleteTarget", [](RunFixture& f) { DeleteInto(f, u"missing"_s); },
            Request(
                u"削除ファイル移動先フォルダが存在しません。\r\n「既存ファイル削除」のオプションを確認してください。"_s,
                kOptionTitle, MsgButtons::OK, MsgIcon::Error),
            RunInputBox::None},
        RefusalCase{
            "ForbiddenCharacterInReplaceWord", [](RunFixture& f) { Replace(f, u"b:c"_s); },
            Request(u"ファイル・フォルダ名に以下の文字は使用できません。\r\n\\ / : \" < > | "_s,
                    kWordTitle, MsgButtons::OK, MsgIcon::Error),
            RunInputBox::ReplaceWord},
        RefusalCase{
            "PatternCharacterInInsertWord", [](RunFixture& f) { Insert(f, u"a*b"_s); },
            Request(u"ファイル・フォルダ名に以下の文字は使用できません。\r\n\\ / : * ? \" < > |"_s,
                    kWordTitle, MsgButtons::OK, MsgIcon::Error),
            RunInputBox::ReplaceWord},
        RefusalCase{
            "ForbiddenCharacterWinsOverComma", [](RunFixture& f) { Replace(f, u"b|c,d"_s); },
            Request(u"ファイル・フォルダ名に以下の文字は使用できません。\r\n\\ / : \" < > | "_s,
                    kWordTitle, MsgButtons::OK, MsgIcon::Error),
            RunInputBox::ReplaceWord},
        RefusalCase{
            "CommaDeclined",
            [](RunFixture& f) {
                Replace(f, u"b,c"_s);
                f.messages.answers = {MsgAnswer::No};
            },
            Request(u"ファイル・フォルダ名に以下の文字は使用しない方が良いと思われます。\r\n"
                    u"処理を続行しますか？（おすすめしません）\r\n, ;"_s,
                    kWordTitle, MsgButtons::YesNo, MsgIcon::Question, 1),
            RunInputBox::ReplaceWord},
        RefusalCase{"UnusableReplacePattern",
                    [](RunFixture& f) {
                        f.inputs.wholeName = true;
                        f.Words(u"*.txt"_s, u"*.*"_s);
                    },
                    Request(u"置換のパターンが間違っています。\r\n処理は中止されます。"_s,
                            kWordTitle, MsgButtons::OK, MsgIcon::Warning),
                    RunInputBox::ReplaceWord}),
    [](const auto& info) { return std::string(info.param.name); });

using RunChecks = RunFixture;

TEST_F(RunChecks, AcceptedInputsRun) {
    struct Case {
        const char* name;
        std::function<void(RunChecks&)> setUp;
        QString path;  // relative to the tree
        QString renamed;
    };
    const Case cases[] = {
        {"EmptyReplaceWordInPartMode", [](RunChecks& f) { f.Words(u"q"_s, QString()); }, u""_s,
         u"a.txt"_s},
        {"InsertWithoutSearchWord",
         [](RunChecks& f) {
             f.core.settings.gOperation = RenameOperation::InsertBack;
             f.Words(QString(), u"_old"_s);
         },
         u""_s, u"aq.txt_old"_s},
        {"CommaAccepted",
         [](RunChecks& f) {
             f.Words(u"q"_s, u",;"_s);
             f.messages.answers = {MsgAnswer::Yes};
         },
         u""_s, u"a,;.txt"_s},
        {"PathNamingAFile", [](RunChecks& f) { f.Words(u"q"_s, u"Q"_s); }, u"aq.txt"_s,
         u"aQ.txt"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempTree files;
        ASSERT_TRUE(files.MakeFile(u"aq.txt"_s, "x"));
        messages.shown.clear();
        inputs = PlainRunInputs{};
        core.settings.gOperation = RenameOperation::Replace;
        c.setUp(*this);
        const QString path = c.path.isEmpty() ? files.Root() : files.Path(c.path);

        EXPECT_TRUE(frame.Start(path, inputs).ran);
        EXPECT_EQ(files.Read(c.renamed), QByteArray("x"));
        EXPECT_EQ(files.Take().size(), 1u);
    }
}

// A symbolic link to a folder names that folder: taking it for a file would
// rename the items of the folder the link lies in.
TEST_F(RunChecks, LinkToAFolderIsThatFolder) {
    MakeFiles({u"real/a1.txt"_s, u"a2.txt"_s});
    ASSERT_TRUE(tree.MakeSymlink(u"link"_s, tree.Path(u"real"_s)));
    Words(u"a"_s, u"b"_s);

    EXPECT_TRUE(frame.Start(tree.Path(u"link"_s), inputs).ran);

    EXPECT_TRUE(Has(u"real/b1.txt"_s));
    EXPECT_TRUE(Has(u"a2.txt"_s));
}

TEST_F(RunChecks, RelativeDeleteTargetIsTakenFromTheShownFolder) {
    ASSERT_TRUE(tree.MakeFolder(u"shown/trash"_s));
    program.ShowFolder(Root() + u"/shown"_s);
    core.inputs.gRunDelete = true;
    core.settings.gDelMode = DeleteMode::ToFolder;
    core.settings.gDelTarget = u"  trash"_s;
    core.settings.gOptionWindow = true;

    EXPECT_FALSE(CheckDeleteOption(core));
    EXPECT_EQ(core.settings.gDelTarget, Root() + u"/shown/trash"_s);
    EXPECT_EQ(forms.calls, QStringList{u"options"_s});

    // Deletion off, or another delete mode: nothing to check.
    core.settings.gDelTarget.clear();
    core.settings.gDelMode = DeleteMode::Forced;
    EXPECT_FALSE(CheckDeleteOption(core));
    core.settings.gDelMode = DeleteMode::ToFolder;
    core.inputs.gRunDelete = false;
    EXPECT_FALSE(CheckDeleteOption(core));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(RunChecks, PatternsLoadedAndShown) {
    core.inputs.gSearchWord = u"a**b"_s;
    core.inputs.gReplaceWord = u"*"_s;
    core.matching.setFileNameMode(NameMode::Whole);
    core.settings.gPatternShow = true;

    EXPECT_TRUE(CheckNames(core, chooser));

    // The display forms go back into the word boxes.
    EXPECT_EQ(inputs.searchWord, u"a*b"_s);
    EXPECT_EQ(inputs.replaceWord, u"*"_s);
    ASSERT_EQ(chooser.displayedViews.size(), 1);
    EXPECT_EQ(chooser.displayedViews[0].matchDec, core.matching.GetMatchDec());
    EXPECT_EQ(chooser.displayedViews[0].replaceDec, core.matching.GetReplaceDec(false));
    EXPECT_EQ(chooser.displayedViews[0].replaceDecReverse, core.matching.GetReplaceDec(true));
    EXPECT_TRUE(chooser.chosenViews.isEmpty());

    // A replace pattern that cannot be used is refused after the display,
    // which still shows the rows of the last usable one.
    core.inputs.gReplaceWord = u"*.*"_s;
    EXPECT_FALSE(CheckNames(core, chooser));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].id, MessageId::BadReplacePattern);
    ASSERT_EQ(chooser.displayedViews.size(), 2);
    EXPECT_EQ(chooser.displayedViews[1].replaceDec, chooser.displayedViews[0].replaceDec);
    EXPECT_EQ(chooser.displayedViews[1].replaceDecReverse,
              chooser.displayedViews[0].replaceDecReverse);
}

TEST_F(RunChecks, ConfirmationChooserAnswers) {
    core.settings.gPatternConfirm = true;
    core.inputs.gSearchWord = u"a"_s;
    core.inputs.gReplaceWord = u"b"_s;
    for (const ExpansionChoice answer :
         {ExpansionChoice::Cancel, ExpansionChoice::KeepFirst, ExpansionChoice::TakeSecond}) {
        chooser.answers = {answer};
        EXPECT_EQ(CheckNames(core, chooser), answer != ExpansionChoice::Cancel) << int(answer);
    }
    EXPECT_EQ(chooser.messages, QStringList(3, u"展開パターンを変更しますか？"_s));
    EXPECT_EQ(chooser.beepsBeforeChoose, (QList<int>{1, 2, 3}));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(RunChecks, InsertLeavesPatternsAndChooserAlone) {
    core.settings.gOperation = RenameOperation::InsertFront;
    core.settings.gPatternShow = true;
    core.settings.gPatternConfirm = true;
    core.inputs.gSearchWord = u"a"_s;
    inputs.replaceWord = u"x_"_s;

    EXPECT_TRUE(CheckNames(core, chooser));

    EXPECT_EQ(core.matching.CanMatching(), 1);
    EXPECT_TRUE(chooser.displayedViews.isEmpty());
    EXPECT_EQ(chooser.beeps, 0);
}

}  // namespace
