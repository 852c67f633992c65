#pragma once

#include <QString>

class QLineEdit;

namespace sorvane {

// A box that holds a folder (the start folder box txtPath, the delete
// folder box). A folder the program puts there is shown by its shown form
// (ShownName: a byte that is not UTF-8 as "\x82", a line break as "␊"),
// which is no path that leads back to it; so the box keeps the exact path
// behind the text. While the box begins with the text the program put
// there, Path() is that exact path followed by what was typed after it;
// other text the user typed is taken literally, as typed.
class PathBox {
public:
    explicit PathBox(QLineEdit& box) : mBox(box) {}

    void SetPath(const QString& path);
    QString Path() const;

private:
    QLineEdit& mBox;
    QString mPath;   // the last path put in
    QString mShown;  // and the text it was shown as
};

}  // namespace sorvane
