#include "run/PreRunChecks.h"

#include "run/RunMessages.h"
#include "run/RunSteps.h"
#include "run/StartChecks.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

ExpansionViews ViewsOf(const clsMatching& matching) {
    return {matching.GetMatchDec(), matching.GetReplaceDec(false), matching.GetReplaceDec(true)};
}

}  // namespace

bool CheckDeleteOption(ProgramCore& m) {
    SettingsInEffect& s = m.settings;
    if (!m.inputs.gRunDelete || s.gDelMode != DeleteMode::ToFolder) return false;
    const DeleteTargetCheck check = CheckDeleteTarget(m.fs, m.tools, s.gDelTarget);
    s.gDelTarget = check.folder;
    if (check.refusal) ShowMessage(m.ports.messages, *check.refusal);
    if (s.gOptionWindow) m.ports.forms.ApplyOptionFormOptions();
    return check.refusal.has_value();
}

bool CheckNames(ProgramCore& m, ExpansionChooserPort& chooser) {
    if (m.inputs.gRunRepair != NameRepair::None) return true;  // no words to check
    const SettingsInEffect& s = m.settings;
    RunInputsPort& inputs = m.ports.runInputs;
    const QString word = m.inputs.gReplaceWord;
    const bool replace = s.gOperation == RenameOperation::Replace;

    if (const std::optional<MessageId> forbidden = CheckWordCharacters(s.gOperation, word)) {
        ShowMessage(m.ports.messages, *forbidden);
        return false;
    }
    if (WordNeedsCommaQuestion(word)) {
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
