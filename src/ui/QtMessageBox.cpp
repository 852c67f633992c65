#include "ui/QtMessageBox.h"

#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace sorvane {

namespace {

struct ButtonSpec {
    QMessageBox::StandardButton button;
    const char16_t* caption;
};

ButtonSpec ButtonOf(MsgAnswer answer) {
    switch (answer) {
        case MsgAnswer::OK:
            return {QMessageBox::Ok, u"OK"};
        case MsgAnswer::Cancel:
            return {QMessageBox::Cancel, u"キャンセル"};
        case MsgAnswer::Yes:
            return {QMessageBox::Yes, u"はい(&Y)"};
        case MsgAnswer::No:
            return {QMessageBox::No, u"いいえ(&N)"};
        case MsgAnswer::Retry:
            return {QMessageBox::Retry, u"再試行(&R)"};
        case MsgAnswer::Abort:
            return {QMessageBox::Abort, u"中止(&A)"};
        case MsgAnswer::Ignore:
            return {QMessageBox::Ignore, u"無視(&I)"};
    }
    return {QMessageBox::Ok, u"OK"};
}

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return QMessageBox::NoIcon;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Warning:
            return QMessageBox::Warning;
        case MsgIcon::Error:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MsgAnswer QtMessageBox::Show(const MessageRequest& request) {
    QMessageBox box(IconOf(request.icon), request.title, request.text, QMessageBox::NoButton,
                    mParent);
    // A path in a message is text, never markup.
    box.setTextFormat(Qt::PlainText);
    const auto answers = ButtonAnswers(request.buttons);
    for (const MsgAnswer answer : answers) {
        const ButtonSpec spec = ButtonOf(answer);
        box.addButton(spec.button)->setText(QString::fromUtf16(spec.caption));
    }
    box.setDefaultButton(ButtonOf(answers[DefaultIndex(request)]).button);
    // Closing by the title bar or Esc gives the answer of the cancel-like
    // button, or the only button when there is just one.
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const MsgAnswer answer : answers) {
        if (ButtonOf(answer).button == pressed) return answer;
    }
    return DefaultAnswer(request);
}

}  // namespace sorvane
