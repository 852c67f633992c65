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

void DetailedLogText::Reserve(qint64 units) {
    if (!mPieces) mKept.reserve(mKept.size() + units);
}

void DetailedLogText::EndBlock() {
    if (mBlock.isEmpty()) return;
    if (mPieces) {
        mBox.Append(std::move(mBlock));
        mBlock = QString();
    } else {
        mKept += mBlock;
        mBlock.clear();
    }
}

void DetailedLogText::Finish() {
    EndBlock();
    if (!mPieces) mBox.Append(std::move(mKept));
    mKept = QString();
}

void DetailedLogText::Restart(QString text) {
    mKept = QString();
    mBlock = std::move(text);
}

bool WriteRunLog(ProgramCore& m, bool detailed,
                 const std::function<void(DetailedLogText& log)>& buildDetailed,
                 const std::function<void(QString& block)>& appendSummary) {
    const QString crLf = u"\r\n"_s;
    LogBoxPort& box = m.ports.logBox;
    const qint64 mark = box.Mark();
    DetailedLogText log(box);
    log.Restart(crLf);
    bool cleared = false;
    for (;;) {
        try {
            if (detailed && !cleared) buildDetailed(log);
            appendSummary(log.Block());
            log.Finish();
            return true;
        } catch (const std::exception&) {
            // A log box that cannot hold even the summary is not asked
            // about twice.
            if (cleared || AskLogError(m) != MsgAnswer::OK) {
                if (box.TakesPieces()) box.TakeBack(mark);
                return false;
            }
            log.Restart(u"！ログはログ作成中のエラーでクリアされました"_s + crLf + crLf);
            box.Clear();
            cleared = true;
        }
    }
}

}  // namespace sorvane
