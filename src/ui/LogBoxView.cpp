#include "ui/LogBoxView.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

constexpr int kLinesPerBlock = 64;
constexpr qsizetype kShownUnits = qsizetype(1) << 16;

}  // namespace

LogBoxView::LogBoxView(QPlainTextEdit& box) : mBox(box) {
    // The log is written by the program only: no undo record of every line.
    mBox.setUndoRedoEnabled(false);
}

// It is appended at the end, never set anew. A text block per line would cost
// the document a block for each of a long log's lines, so lines within a
// block of kLinesPerBlock are parted by LINE SEPARATOR, which the box shows
// as a line break and gives back as one when its text is copied. A long text
// goes in by parts of some kShownUnits, each many blocks long (the box then
// lays them out only when they are shown), so that its shown form is never
// held whole.
void LogBoxView::Append(QString text) {
    QTextCursor cursor(mBox.document());
    cursor.movePosition(QTextCursor::End);
    QString shown;
    shown.reserve(std::min(text.size(), kShownUnits) + kShownUnits / 8);
    qsizetype from = 0;
    for (qsizetype end = text.indexOf(u"\r\n"_s); end >= 0; end = text.indexOf(u"\r\n"_s, from)) {
        shown += QStringView(text).mid(from, end - from);
        const bool newBlock = ++mLinesInBlock == kLinesPerBlock;
        if (newBlock) mLinesInBlock = 0;
        shown += newBlock ? QChar(u'\n') : QChar(QChar::LineSeparator);
        from = end + 2;
        if (shown.size() >= kShownUnits) {
            cursor.insertText(shown);
            shown.resize(0);
        }
    }
    shown += QStringView(text).mid(from);
    cursor.insertText(shown);
    mKept.Append(std::move(text));
}

void LogBoxView::Clear() {
    mBox.clear();
    mLinesInBlock = 0;
    mKept.Clear();
}

void LogBoxView::ShowEnd() {
    mBox.moveCursor(QTextCursor::End);
    QScrollBar* bar = mBox.verticalScrollBar();
    bar->setValue(bar->maximum());
}

}  // namespace sorvane
