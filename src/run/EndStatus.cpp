#include "run/EndStatus.h"

namespace sorvane {

using namespace Qt::StringLiterals;

QString EndStatus::Text() const {
    QString text;
    switch (end) {
        case RunEnd::None:
            break;
        case RunEnd::Done:
            text = u"終了"_s;
            break;
        case RunEnd::ListingStopped:
            text = u"中断 / リストアップ中(ユーザによる)"_s;
            break;
        case RunEnd::ListingFailed:
            text = u"中断 / リストアップ中(予期しないエラー)"_s;
            break;
        case RunEnd::QuestionsStopped:
            text = u"中断 / 衝突ファイル確認中(ユーザによる)"_s;
            break;
        case RunEnd::RenameStopped:
            text = u"中断 / リネーム中(ユーザによる)"_s;
            break;
        case RunEnd::RenameFailed:
            text = u"中断 / リネーム中(予期しないエラー)"_s;
            break;
        case RunEnd::JournalFailed:
            text = u"中断 / 復元記録の作成中(予期しないエラー)"_s;
            break;
    }
    if (logStopped) text += u" / ログ作成中断(ユーザによる)"_s;
    return text;
}

}  // namespace sorvane
