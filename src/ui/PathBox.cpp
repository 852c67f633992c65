#include "ui/PathBox.h"

#include <QLineEdit>

#include "platform/ShownName.h"

namespace sorvane {

void PathBox::SetPath(const QString& path) {
    mPath = path;
    mShown = ShownName(path);
    mBox.setText(mShown);
}

QString PathBox::Path() const {
    const QString text = mBox.text();
    return text == mShown ? mPath : text;
}

}  // namespace sorvane
