#include "run/PreRunChecks.h"

#include "run/RunMessages.h"
#include "run/RunSteps.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

const QString kOptionErrorTitle = u"オプションエラー"_s;
const QString kReplaceWordTitle = u"置換文字列の指定"_s;

// Characters no name can hold. In a replace "*" and "?" are pattern
// characters and allowed; an insert word is used as it stands.
const QString kReplaceForbidden = u"\\/:\"<>|"_s;
const QString kInsertForbidden = u"\\/:*?\"<>|"_s;
const QString kReplaceForbiddenShown = u"\\ / : \" < > | "_s;
const QString kInsertForbiddenShown = u"\\ / : * ? \" < > |"_s;

bool ContainsAnyOf(const QString& word, const QString& set) {
    for (const QChar c : word)
        if (set.contains(c)) return true;
    return false;
}

ExpansionViews ViewsOf(const clsMatching& matching) {
    return {matching.GetMatchDec(), matching.GetReplaceDec(false), matching.GetReplaceDec(true)};
}

}  // namespace

bool CheckDeleteOption(mdlMain& m) {
    ProgramState& s = m.state;
    if (!s.gRunDelete || s.gDelMode != 2) return false;

    bool error = false;
    if (TrimLeadingSpaces(s.gDelTarget).isEmpty()) {
        ShowMessage(m.ports.messages, MessageId::DeleteTargetEmpty,
                    u"削除ファイル移動先開始フォルダを指定してください。"_s, kOptionErrorTitle,
                    MsgButtons::OK, MsgIcon::Warning);
        error = true;
    } else {
        // A relative name typed into the options window is taken from the
        // folder the main window shows.
        s.gDelTarget = m.tools.NormalizePath(s.gDelTarget);
        if (m.fs.FolderExistsFollowingLink(s.gDelTarget)) {
            s.gDelTarget = m.tools.TruePath(s.gDelTarget);
        } else {
            ShowMessage(m.ports.messages, MessageId::DeleteTargetMissing,
                        u"削除ファイル移動先フォルダが存在しません。\r\n"
                        u"「既存ファイル削除」のオプションを確認してください。"_s,
                        kOptionErrorTitle, MsgButtons::OK, MsgIcon::Error);
            error = true;
        }
    }
    if (s.gOptionWindow) m.ports.forms.ApplyOptionFormOptions();
    return error;
}

bool CheckNames(mdlMain& m, ExpansionChooserPort& chooser) {
    ProgramState& s = m.state;
    RunInputsPort& inputs = m.ports.runInputs;
    const QString word = inputs.ReplaceWord();
    const bool replace = s.gOperation == 0;

    if (ContainsAnyOf(word, replace ? kReplaceForbidden : kInsertForbidden)) {
        ShowMessage(m.ports.messages, MessageId::ForbiddenCharacters,
                    u"ファイル・フォルダ名に以下の文字は使用できません。\r\n"_s +
                        (replace ? kReplaceForbiddenShown : kInsertForbiddenShown),
                    kReplaceWordTitle, MsgButtons::OK, MsgIcon::Error);
        return false;
    }
    if (word.contains(u',') || word.contains(u';')) {
        const MsgAnswer answer =
            ShowMessage(m.ports.messages, MessageId::CommaQuestion,
                        u"ファイル・フォルダ名に以下の文字は使用しない方が良いと思われます。\r\n"
                        u"処理を続行しますか？（おすすめしません）\r\n, ;"_s,
                        kReplaceWordTitle, MsgButtons::YesNo, MsgIcon::Question, 1);
        if (answer != MsgAnswer::Yes) return false;
    }
    if (!replace) return true;

    clsMatching& matching = m.matching;
    matching.setMatchPattern(s.gSearchWord);
    matching.setReplacePattern(s.gReplaceWord);
    inputs.SetSearchWord(matching.MatchPatternDisp());
    inputs.SetReplaceWord(matching.ReplacePatternDisp());

    if (s.gPatternShow) {
        s.gSelectOpen = true;
        chooser.Display(ViewsOf(matching));
    }
    const ReplaceFlags can = matching.CanReplace();
    if (can.testFlag(ReplaceFlag::Unusable)) {
        ShowMessage(m.ports.messages, MessageId::BadReplacePattern,
                    u"置換のパターンが間違っています。\r\n処理は中止されます。"_s,
                    kReplaceWordTitle, MsgButtons::OK, MsgIcon::Warning);
        return false;
    }
    if (can.testFlag(ReplaceFlag::TwoReadings) || s.gPatternConfirm) {
        const QString message =
            can.testFlag(ReplaceFlag::TwoReadings)
                ? u"置換のパターンを正しく認識していない可能性があります。\r\n"
                  u"展開パターンを変更してみますか？\r\n\r\n"
                  u"または中止して、オプション「マッチング」の「部分」「全体」を変更してから"
                  u"再び置換を行ってみてください｡正しく認識できるようになる可能性があります｡ "_s
                : u"展開パターンを変更しますか？"_s;
        const ExpansionViews views = ViewsOf(matching);
        chooser.Beep();
        switch (chooser.Choose(views, message)) {
            case ExpansionChoice::KeepFirst:
                return true;
            case ExpansionChoice::TakeSecond:
                matching.SetReplacePatternReverse(true);
                return true;
            case ExpansionChoice::Cancel:
                break;
        }
        return false;
    }
    return true;
}

}  // namespace sorvane
