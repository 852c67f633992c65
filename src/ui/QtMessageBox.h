#pragma once

#include "ports/MessageBoxPort.h"

class QWidget;

namespace sorvane {

// Message boxes as real modal windows.
class QtMessageBox : public MessageBoxPort {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : mParent(parent) {}
    void SetParent(QWidget* parent) { mParent = parent; }
    MsgAnswer Show(const MessageRequest& request) override;

private:
    QWidget* mParent;
};

}  // namespace sorvane
