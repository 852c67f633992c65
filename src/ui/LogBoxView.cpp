#include "ui/LogBoxView.h"

#include "ui/LogView.h"

namespace sorvane {

LogBoxView::LogBoxView(LogView& box) : mBox(box) {
    mBox.SetLines(&mLines);
}

LogBoxView::~LogBoxView() {
    mBox.SetLines(nullptr);
}

void LogBoxView::Append(QString text) {
    mLines.Append(std::move(text));
    mBox.LinesChanged();
}

void LogBoxView::Clear() {
    mLines.Clear();
    mBox.LinesChanged();
}

void LogBoxView::TakeBack(qint64 mark) {
    mLines.TakeBack(mark);
    mBox.LinesChanged();
}

void LogBoxView::ShowEnd() {
    mBox.ShowEnd();
}

}  // namespace sorvane
