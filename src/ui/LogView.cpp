#include "ui/LogView.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>

#include "platform/ShownName.h"
#include "ui/LogLines.h"

namespace sorvane {

namespace {

constexpr int kMargin = 4;

// One line laid out as the box draws it: on one line, however long.
void LayOut(QTextLayout& layout) {
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
}

// A line as the box draws it. The log's names are in their shown form
// already; a lone CR or LF, which layout would draw as nothing, gets the
// same sign. Layout also ends a line at a line or paragraph separator,
// which a file name may hold: each is drawn as a sign of one unit, so that
// the columns stay those of the text that is copied.
QString OnFace(const QString& line) {
    QString face = ShownName(line);
    face.replace(QChar::LineSeparator, QChar(0x2424));       // SYMBOL FOR NEWLINE
    face.replace(QChar::ParagraphSeparator, QChar(0x00B6));  // PILCROW SIGN
    return face;
}

// The text of a menu entry the way Qt's own text boxes write it, with its
// shortcut, so that this box's menu reads as theirs does.
QString MenuText(const char* text, QKeySequence::StandardKey key) {
    return QCoreApplication::translate("QWidgetTextControl", text) + u'\t' +
           QKeySequence(key).toString(QKeySequence::NativeText);
}

// What a screen reader reads of the log box: read-only text of many lines,
// by the offsets of the log's own text (lines ended by CR LF).
class LogViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit LogViewAccessible(LogView* view)
        : QAccessibleWidget(view, QAccessible::EditableText), mView(view) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return Text(0, Count());
        return QAccessibleWidget::text(kind);
    }

    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || selectionCount() == 0) return;
        *start = int(std::min(mView->AnchorOffset(), mView->CaretOffset()));
        *end = int(std::max(mView->AnchorOffset(), mView->CaretOffset()));
    }
    int selectionCount() const override {
        return mView->AnchorOffset() != mView->CaretOffset() ? 1 : 0;
    }
    void addSelection(int start, int end) override { mView->Select(start, end); }
    void removeSelection(int) override { mView->Select(CaretAt(), CaretAt()); }
    void setSelection(int, int start, int end) override { mView->Select(start, end); }
    int cursorPosition() const override { return CaretAt(); }
    void setCursorPosition(int position) override { mView->Select(position, position); }
    QString text(int start, int end) const override { return Text(start, end); }
    int characterCount() const override { return Count(); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    int Count() const {
        return mView->Lines() ? int(std::min<qint64>(mView->Lines()->Size(), INT_MAX)) : 0;
    }
    int CaretAt() const { return int(mView->CaretOffset()); }
    QString Text(int start, int end) const {
        if (!mView->Lines()) return {};
        if (end < 0 || end > Count()) end = Count();
        return mView->Lines()->Range(std::max(start, 0), end);
    }

    LogView* mView;
};

QAccessibleInterface* LogViewAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("sorvane::LogView") && object && object->isWidgetType())
        return new LogViewAccessible(static_cast<LogView*>(object));
    return nullptr;
}

}  // namespace

LogView::LogView(QWidget* parent) : QAbstractScrollArea(parent) {
    static const bool factory = [] {
        QAccessible::installFactory(LogViewAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factory);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
}

void LogView::SetLines(const LogLines* lines) {
    mLines = lines;
    LinesChanged();
}

qsizetype LogView::LineCount() const {
    return mLines ? mLines->LineCount() : 0;
}

int LogView::LineHeight() const {
    return std::max(1, fontMetrics().lineSpacing());
}

int LogView::LinesInSight() const {
    return std::max(1, (viewport()->height() - kMargin) / LineHeight());
}

void LogView::LinesChanged() {
    // A selection beyond the text left goes.
    const Place end = std::max(mAnchor, mCaret);
    if (end.line >= LineCount() || end.column > mLines->LineLength(end.line))
        mAnchor = mCaret = Place{};
    // The longest line by its units is measured; a wider line in sight
    // widens the range again.
    const qsizetype longest = mLines ? mLines->LongestLine() : 0;
    const qsizetype units = mLines ? mLines->LineLength(longest) : 0;
    if (longest != mMeasured || units != mMeasuredUnits) {
        mMeasured = longest;
        mMeasuredUnits = units;
        mWidth = units
                     ? fontMetrics().horizontalAdvance(OnFace(mLines->Line(longest))) + 2 * kMargin
                     : 0;
    }
    UpdateRanges();
    viewport()->update();
    // Screen readers hear what was appended; a log cleared or taken back
    // is news of a change as a whole.
    const qint64 size = mLines ? mLines->Size() : 0;
    if (QAccessible::isActive() && size != mAnnounced) {
        if (size > mAnnounced && mAnnounced <= INT_MAX) {
            QAccessibleTextInsertEvent event(this, int(mAnnounced),
                                             mLines->Range(mAnnounced, size));
            QAccessible::updateAccessibility(&event);
        } else {
            QAccessibleTextUpdateEvent event(this, 0, QString(), QString());
            QAccessible::updateAccessibility(&event);
        }
    }
    mAnnounced = size;
}

qint64 LogView::OffsetOf(Place place) const {
    return mLines && LineCount() > 0 ? mLines->LineStart(place.line) + place.column : 0;
}

LogView::Place LogView::PlaceOf(qint64 offset) const {
    if (!mLines || LineCount() == 0) return {};
    offset = std::clamp<qint64>(offset, 0, mLines->Size());
    const qsizetype line = mLines->LineOf(offset);
    return {line, std::min<qsizetype>(qsizetype(offset - mLines->LineStart(line)),
                                      mLines->LineLength(line))};
}

void LogView::Select(qint64 anchor, qint64 caret) {
    mAnchor = PlaceOf(anchor);
    mCaret = PlaceOf(caret);
    viewport()->update();
    SelectionChanged();
}

void LogView::SelectionChanged() {
    QClipboard* clipboard = QApplication::clipboard();
    if (mAnchor != mCaret && clipboard->supportsSelection())
        clipboard->setText(SelectedText(), QClipboard::Selection);
    if (!QAccessible::isActive()) return;
    const qint64 from = std::min(OffsetOf(mAnchor), OffsetOf(mCaret));
    const qint64 to = std::max(OffsetOf(mAnchor), OffsetOf(mCaret));
    QAccessibleTextSelectionEvent selection(this, int(from), int(to));
    QAccessible::updateAccessibility(&selection);
    QAccessibleTextCursorEvent cursor(this, int(OffsetOf(mCaret)));
    QAccessible::updateAccessibility(&cursor);
}

void LogView::UpdateRanges() {
    const int inSight = LinesInSight();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, int(std::clamp<qsizetype>(LineCount() - inSight, 0, INT_MAX)));
    vertical->setPageStep(inSight);
    vertical->setSingleStep(1);
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, mWidth - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(fontMetrics().averageCharWidth() * 2);
}

void LogView::ShowEnd() {
    UpdateRanges();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    horizontalScrollBar()->setValue(0);
}

void LogView::SelectAll() {
    const qsizetype count = LineCount();
    if (count == 0) return;
    mAnchor = Place{};
    mCaret = Place{count - 1, mLines->LineLength(count - 1)};
    viewport()->update();
    SelectionChanged();
}

QString LogView::SelectedText() const {
    const Place from = std::min(mAnchor, mCaret), to = std::max(mAnchor, mCaret);
    if (from == to || !mLines) return {};
    if (from.line == to.line)
        return mLines->Line(from.line).mid(from.column, to.column - from.column);
    QString text = mLines->Line(from.line).mid(from.column);
    for (qsizetype line = from.line + 1; line < to.line; ++line) text += u'\n' + mLines->Line(line);
    return text + u'\n' + mLines->Line(to.line).left(to.column);
}

void LogView::Copy() const {
    const QString text = SelectedText();
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

LogView::Place LogView::At(QPoint point) const {
    const qsizetype count = LineCount();
    if (count == 0) return {};
    // Above the box is the line before the first in sight; its top margin
    // belongs to the first.
    const int row = point.y() < 0 ? -1 : std::max(0, point.y() - kMargin) / LineHeight();
    const qsizetype line = std::clamp<qsizetype>(verticalScrollBar()->value() + row, 0, count - 1);
    QTextLayout layout(OnFace(mLines->Line(line)), font());
    LayOut(layout);
    const qreal x = point.x() - kMargin + horizontalScrollBar()->value();
    return {line, layout.lineAt(0).xToCursor(std::max<qreal>(x, 0))};
}

void LogView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const Place from = std::min(mAnchor, mCaret), to = std::max(mAnchor, mCaret);
    const int height = LineHeight();
    const int left = kMargin - horizontalScrollBar()->value();
    int widest = mWidth;
    qsizetype line = verticalScrollBar()->value();
    for (int y = kMargin; line < LineCount() && y < viewport()->height(); ++line, y += height) {
        QTextLayout layout(OnFace(mLines->Line(line)), font());
        LayOut(layout);
        QList<QTextLayout::FormatRange> selection;
        if (from != to && from.line <= line && line <= to.line) {
            const qsizetype start = line == from.line ? from.column : 0;
            const qsizetype end = line == to.line ? to.column : layout.text().size();
            QTextCharFormat format;
            format.setBackground(palette().brush(QPalette::Highlight));
            format.setForeground(palette().brush(QPalette::HighlightedText));
            selection.append({int(start), int(end - start), format});
        }
        layout.draw(&painter, QPointF(left, y), selection);
        widest = std::max(widest, int(layout.lineAt(0).naturalTextWidth()) + 2 * kMargin);
    }
    if (widest > mWidth) {
        mWidth = widest;
        UpdateRanges();
    }
}

// Also when a scroll bar comes or goes (Qt shows them after the range
// changed): a view at the end of the log stays there.
void LogView::resizeEvent(QResizeEvent* event) {
    QScrollBar* vertical = verticalScrollBar();
    const bool atEnd = vertical->value() == vertical->maximum();
    QAbstractScrollArea::resizeEvent(event);
    UpdateRanges();
    if (atEnd) vertical->setValue(vertical->maximum());
}

void LogView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    mCaret = At(event->position().toPoint());
    if (!(event->modifiers() & Qt::ShiftModifier)) mAnchor = mCaret;
    viewport()->update();
}

void LogView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint point = event->position().toPoint();
    // Dragged beyond the box: it scrolls a line that way.
    QScrollBar* vertical = verticalScrollBar();
    if (point.y() < 0) vertical->setValue(vertical->value() - 1);
    if (point.y() > viewport()->height()) vertical->setValue(vertical->value() + 1);
    mCaret = At(point);
    viewport()->update();
}

void LogView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || LineCount() == 0) return;
    const qsizetype line = At(event->position().toPoint()).line;
    mAnchor = Place{line, 0};
    mCaret = Place{line, mLines->LineLength(line)};
    viewport()->update();
    SelectionChanged();
}

void LogView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseReleaseEvent(event);
    SelectionChanged();
}

void LogView::keyPressEvent(QKeyEvent* event) {
    QScrollBar* vertical = verticalScrollBar();
    if (event == QKeySequence::Copy) {
        Copy();
    } else if (event == QKeySequence::SelectAll) {
        SelectAll();
    } else if (event->key() == Qt::Key_Home) {
        vertical->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (event->key() == Qt::Key_End) {
        vertical->triggerAction(QAbstractSlider::SliderToMaximum);
    } else {
        return QAbstractScrollArea::keyPressEvent(event);
    }
    event->accept();
}

void LogView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copy = menu.addAction(MenuText("&Copy", QKeySequence::Copy), this, &LogView::Copy);
    copy->setEnabled(mAnchor != mCaret);
    menu.addSeparator();
    menu.addAction(MenuText("Select All", QKeySequence::SelectAll), this, &LogView::SelectAll)
        ->setEnabled(LineCount() > 0);
    menu.exec(event->globalPos());
}

}  // namespace sorvane
