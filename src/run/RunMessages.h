#pragma once

#include <QString>

#include "ports/MessageBoxPort.h"

namespace sorvane {

// One message box of the runs: text, title, buttons, icon and the index of
// the default button.
inline MsgAnswer ShowMessage(MessageBoxPort& port, const QString& text, const QString& title,
                             MsgButtons buttons, MsgIcon icon, int defaultButton = 0) {
    MessageRequest request;
    request.text = text;
    request.title = title;
    request.buttons = buttons;
    request.icon = icon;
    request.defaultButton = defaultButton;
    return port.Show(request);
}

}  // namespace sorvane
