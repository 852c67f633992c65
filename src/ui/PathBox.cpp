#include "ui/PathBox.h"

#include <QLineEdit>

#include "platform/ShownName.h"

namespace sorvane {

void PathBox::SetPath(const QString& path) {
    mPath = path;
    mShown = ShownName(path);
    mBox.setText(mShown);
}

// Text typed after the shown path (a subfolder's name) goes on from the
// exact path.
QString PathBox::Path() const {
    const QString text = mBox.text();
    if (mShown.isEmpty() || !text.startsWith(mShown)) return text;
    return mPath + text.sliced(mShown.size());
}

}  // namespace sorvane
