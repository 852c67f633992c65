#include "ui/frmMain.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace sorvane {

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), rtfLog(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Sorvane"));
    rtfLog->setObjectName(QStringLiteral("rtfLog"));
    rtfLog->setReadOnly(true);
    setCentralWidget(rtfLog);
    resize(720, 480);
}

// The log text keeps its CR LF line ends; the box shows them as line breaks.
void frmMain::Append(const QString& text) {
    QTextCursor cursor(rtfLog->document());
    cursor.movePosition(QTextCursor::End);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    cursor.insertText(shown);
    mText += text;
}

void frmMain::Clear() {
    rtfLog->clear();
    mText.clear();
}

QString frmMain::Text() const {
    return mText;
}

}  // namespace sorvane
