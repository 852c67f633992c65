#pragma once

#include <QAbstractScrollArea>

namespace sorvane {

class LogLines;

// The log box (rtfLog): a read-only view of the log's lines that lays out
// only the lines in sight, so that a run's long log is held once, as its
// text, and never as a document laid out for display. Lines do not wrap.
// The mouse selects (a double click: the line), the keys scroll; Ctrl+C
// copies the selection, its lines parted by "\n", and Ctrl+A selects all.
// A selection is also the X11 primary selection (a middle click pastes it),
// and screen readers read the text, its caret and selection, and hear of
// each line appended (LogViewAccessible).
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

    // For screen readers (LogViewAccessible): the lines, and the caret and
    // the selection as offsets into their text (LogLines::Range).
    const LogLines* Lines() const { return mLines; }
    qint64 CaretOffset() const { return OffsetOf(mCaret); }
    qint64 AnchorOffset() const { return OffsetOf(mAnchor); }
    void Select(qint64 anchor, qint64 caret);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
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
    qint64 OffsetOf(Place place) const;
    Place PlaceOf(qint64 offset) const;
    void Copy() const;
    // The selection changed: the X11 primary selection takes it, and
    // screen readers hear of it.
    void SelectionChanged();

    const LogLines* mLines = nullptr;
    Place mAnchor, mCaret;         // the selection: between these two
    int mWidth = 0;                // of the widest line measured, margins included
    qsizetype mMeasured = -1;      // the longest line when mWidth was measured,
    qsizetype mMeasuredUnits = 0;  // and its length then
    qint64 mAnnounced = 0;         // the text's size screen readers were told of
};

}  // namespace sorvane
