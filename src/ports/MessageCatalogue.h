#pragma once

#include <QStringList>

#include "ports/MessageBoxPort.h"

namespace sorvane {

// The program's messages: for every MessageId its text, title, buttons, icon
// and default button, in one table. A text or title may hold %1 ... %9, the
// variable parts of a message (the item word, a number, a path, a name read
// from disk). They are filled in from the arguments in one pass: what an
// argument brings is never read again, so a file name that holds "%1" is
// shown as it is.
class MessageCatalogue {
public:
    // The box of message id, its %1 ... %9 replaced by args[0] ... args[8].
    static MessageRequest Request(MessageId id, const QStringList& args = {});
};

}  // namespace sorvane
