#include "run/RunLog.h"

#include <exception>

#include "run/RunSteps.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

// Asked when the log text cannot be built or held: OK keeps only the
// summary, Cancel ends the run without a log.
MsgAnswer AskLogError(ProgramCore& m) {
    return ShowMessage(m.ports.messages, MessageId::LogError);
}

}  // namespace

bool AskDetailedLog(ProgramCore& m, MessageId question, bool clearStop) {
    clsCancel& progress = m.CancelDialog;
    progress.SetVisible(false);
    const MsgAnswer answer = ShowMessage(m.ports.messages, question);
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
