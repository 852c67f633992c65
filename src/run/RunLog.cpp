#include "run/RunLog.h"

#include <exception>

#include "run/RunSteps.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

// Asked when the log text cannot be built or held: OK keeps only the
// summary, Cancel ends the run without a log.
MsgAnswer AskLogError(ProgramCore& m) {
    return ShowMessage(
        m.ports.messages, MessageId::LogError,
        u"ログ作成中に問題が発生しました。\r\n"
        u"ログが長くなりすぎた可能性があります。\r\n"
        u"このエラーを出したくない場合はログの詳細表示をOFFにしてみてください。\r\n\r\n"
        u"結果だけ出力する場合は「OK」を、\r\n"
        u"このまま終了する場合は「Cancel」を押してください。"_s,
        u"ログ作成中のエラー"_s, MsgButtons::OKCancel, MsgIcon::Error);
}

}  // namespace

bool AskDetailedLog(ProgramCore& m, const QString& question, bool clearStop) {
    clsCancel& progress = m.CancelDialog;
    progress.SetVisible(false);
    const MsgAnswer answer = ShowMessage(m.ports.messages, MessageId::DetailLogQuestion, question,
                                         u"詳細ログ作成の確認"_s, MsgButtons::YesNo, MsgIcon::None);
    if (answer != MsgAnswer::Yes) {
        AddLogLine(m, u"！詳細ログは作成されませんでした。"_s);
        return false;
    }
    if (clearStop) progress.IsCancel = false;
    progress.SetVisible(true);
    return true;
}

bool WriteRunLog(ProgramCore& m, bool detailed,
                 const std::function<void(QString& head, QString& buf)>& buildDetailed,
                 const std::function<void(QString& buf)>& appendSummary) {
    const QString crLf = u"\r\n"_s;
    QString head;
    QString buf = crLf;
    bool cleared = false;
    for (;;) {
        try {
            if (detailed && !cleared) buildDetailed(head, buf);
            appendSummary(buf);
            head += buf;
            buf.clear();
            m.ports.logBox.Append(std::move(head));
            return true;
        } catch (const std::exception&) {
            // A log box that cannot hold even the summary is not asked
            // about twice.
            if (cleared || AskLogError(m) != MsgAnswer::OK) return false;
            buf = u"！ログはログ作成中のエラーでクリアされました"_s + crLf + crLf;
            head.clear();
            m.ports.logBox.Clear();
            cleared = true;
        }
    }
}

}  // namespace sorvane
