#pragma once

#include <QAbstractScrollArea>

namespace sorvane {

class LogLines;

// The log box (rtfLog): a read-only view of the log's lines that lays out
// only the lines in sight, so that a run's long log is held once, as its
// text, and never as a document laid out for display. Lines do not wrap.
// The mouse selects (a double click: the line), the keys scroll; Ctrl+C
// copies the selection, its lines parted by "\n", and Ctrl+A selects all.
class LogView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit LogView(QWidget* parent = nullptr);

    // The lines shown, which the caller keeps; LinesChanged after each
    // change to them.
    void SetLines(const LogLines* lines);
    void LinesChanged();
    // The end of the log in view.
    void ShowEnd();
    void SelectAll();
    QString SelectedText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // A place between two characters: its line, and the units before it.
    struct Place {
        qsizetype line = 0;
        qsizetype column = 0;
        auto operator<=>(const Place&) const = default;
    };

    qsizetype LineCount() const;
    int LineHeight() const;
    int LinesInSight() const;
    void UpdateRanges();
    Place At(QPoint point) const;
    void Copy() const;

    const LogLines* mLines = nullptr;
    Place mAnchor, mCaret;         // the selection: between these two
    int mWidth = 0;                // of the widest line measured, margins included
    qsizetype mMeasured = -1;      // the longest line when mWidth was measured,
    qsizetype mMeasuredUnits = 0;  // and its length then
};

}  // namespace sorvane
