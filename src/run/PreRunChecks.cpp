#include "run/PreRunChecks.h"

#include "run/RunMessages.h"
#include "run/RunSteps.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

// Characters no name can hold. In a replace "*" and "?" are pattern
// characters and allowed; an insert word is used as it stands.
const QString kReplaceForbidden = u"\\/:\"<>|"_s;
const QString kInsertForbidden = u"\\/:*?\"<>|"_s;

bool ContainsAnyOf(const QString& word, const QString& set) {
    for (const QChar c : word)
        if (set.contains(c)) return true;
    return false;
}

ExpansionViews ViewsOf(const clsMatching& matching) {
    return {matching.GetMatchDec(), matching.GetReplaceDec(false), matching.GetReplaceDec(true)};
}

}  // namespace

bool CheckDeleteOption(ProgramCore& m) {
    SettingsInEffect& s = m.settings;
    if (!m.inputs.gRunDelete || s.gDelMode != DeleteMode::ToFolder) return false;

    bool error = false;
    if (TrimLeadingSpaces(s.gDelTarget).isEmpty()) {
        ShowMessage(m.ports.messages, MessageId::DeleteTargetEmpty);
        error = true;
    } else {
        // A relative name typed into the options window is taken from the
        // folder the main window shows.
        s.gDelTarget = m.tools.NormalizePath(s.gDelTarget);
        if (m.fs.FolderExistsFollowingLink(s.gDelTarget)) {
            s.gDelTarget = m.tools.TruePath(s.gDelTarget);
        } else {
            ShowMessage(m.ports.messages, MessageId::DeleteTargetMissing);
            error = true;
        }
    }
    if (s.gOptionWindow) m.ports.forms.ApplyOptionFormOptions();
    return error;
}

bool CheckNames(ProgramCore& m, ExpansionChooserPort& chooser) {
    const SettingsInEffect& s = m.settings;
    RunInputsPort& inputs = m.ports.runInputs;
    const QString word = m.inputs.gReplaceWord;
    const bool replace = s.gOperation == RenameOperation::Replace;

    if (ContainsAnyOf(word, replace ? kReplaceForbidden : kInsertForbidden)) {
        ShowMessage(m.ports.messages,
                    replace ? MessageId::ForbiddenInReplace : MessageId::ForbiddenInInsert);
        return false;
    }
    if (word.contains(u',') || word.contains(u';')) {
        const MsgAnswer answer = ShowMessage(m.ports.messages, MessageId::CommaQuestion);
        if (answer != MsgAnswer::Yes) return false;
    }
    if (!replace) return true;

    clsMatching& matching = m.matching;
    matching.setMatchPattern(m.inputs.gSearchWord);
    matching.setReplacePattern(m.inputs.gReplaceWord);
    inputs.SetSearchWord(matching.MatchPatternDisp());
    inputs.SetReplaceWord(matching.ReplacePatternDisp());

    if (s.gPatternShow) chooser.Display(ViewsOf(matching));
    const ReplaceFlags can = matching.CanReplace();
    if (can.testFlag(ReplaceFlag::Unusable)) {
        ShowMessage(m.ports.messages, MessageId::BadReplacePattern);
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
                m.inputs.gRunSecondReading = true;
                return true;
            case ExpansionChoice::Cancel:
                break;
        }
        return false;
    }
    return true;
}

}  // namespace sorvane
