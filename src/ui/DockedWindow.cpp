#include "ui/DockedWindow.h"

#include <QRect>
#include <QWidget>

namespace sorvane {

void DockTo(QWidget& window, const QWidget* form, Dock where) {
    if (!form) return;
    const QRect frame = form->frameGeometry();
    const int left = where == Dock::Below ? frame.left() : frame.left() + frame.width();
    const int top = where == Dock::Right ? frame.top() : frame.top() + frame.height();
    window.move(left, top);
}

}  // namespace sorvane
