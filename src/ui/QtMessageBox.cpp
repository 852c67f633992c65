#include "ui/QtMessageBox.h"

#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace sorvane {

namespace {

struct ButtonSpec {
    QMessageBox::StandardButton button;
    MsgAnswer answer;
    const char16_t* caption;
};

std::vector<ButtonSpec> ButtonsOf(MsgButtons buttons) {
    const ButtonSpec ok{QMessageBox::Ok, MsgAnswer::OK, u"OK"};
    const ButtonSpec cancel{QMessageBox::Cancel, MsgAnswer::Cancel, u"キャンセル"};
    const ButtonSpec yes{QMessageBox::Yes, MsgAnswer::Yes, u"はい(&Y)"};
    const ButtonSpec no{QMessageBox::No, MsgAnswer::No, u"いいえ(&N)"};
    const ButtonSpec retry{QMessageBox::Retry, MsgAnswer::Retry, u"再試行(&R)"};
    const ButtonSpec abort{QMessageBox::Abort, MsgAnswer::Abort, u"中止(&A)"};
    const ButtonSpec ignore{QMessageBox::Ignore, MsgAnswer::Ignore, u"無視(&I)"};
    switch (buttons) {
        case MsgButtons::OK: return {ok};
        case MsgButtons::OKCancel: return {ok, cancel};
        case MsgButtons::YesNo: return {yes, no};
        case MsgButtons::YesNoCancel: return {yes, no, cancel};
        case MsgButtons::RetryCancel: return {retry, cancel};
        case MsgButtons::AbortRetryIgnore: return {abort, retry, ignore};
    }
    return {ok};
}

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None: return QMessageBox::NoIcon;
        case MsgIcon::Information: return QMessageBox::Information;
        case MsgIcon::Warning: return QMessageBox::Warning;
        case MsgIcon::Error: return QMessageBox::Critical;
        case MsgIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MsgAnswer QtMessageBox::Show(const MessageRequest& request) {
    QMessageBox box(IconOf(request.icon), request.title, request.text, QMessageBox::NoButton, mParent);
    const auto specs = ButtonsOf(request.buttons);
    for (const ButtonSpec& spec : specs) {
        box.addButton(spec.button)->setText(QString::fromUtf16(spec.caption));
    }
    const auto index = static_cast<size_t>(request.defaultButton);
    box.setDefaultButton(specs[index < specs.size() ? index : 0].button);
    // Closing by the title bar or Esc gives the answer of the cancel-like
    // button, or the only button when there is just one.
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonSpec& spec : specs) {
        if (spec.button == pressed) return spec.answer;
    }
    return DefaultAnswer(request);
}

}  // namespace sorvane
