#include "ui/frmHistory.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/ShownName.h"
#include "ui/WindowFlags.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

QString OperationText(const QString& operation) {
    if (operation == u"replace") return u"置換"_s;
    if (operation == u"front") return u"前に挿入"_s;
    if (operation == u"back") return u"後ろに挿入"_s;
    if (operation == u"repair") return u"名前の修復"_s;
    return ShownName(operation);
}

// The words as the run had them: the search word and what replaced it, or
// the word inserted, or the repair's code page.
QString WordsText(const JournalInfo& info) {
    if (info.operation.isEmpty()) return {};
    if (info.operation == u"front" || info.operation == u"back") return ShownName(info.replace);
    if (info.operation == u"repair") return ShownName(info.search);
    return ShownName(info.search) + u" → "_s + ShownName(info.replace);
}

QString CountsText(const JournalInfo& info) {
    QString text = QString::number(info.planned) + u"件"_s;
    if (info.renamed >= 0) text += u"（変換 "_s + QString::number(info.renamed) + u"）"_s;
    if (info.restored >= 0) text += u"（復元 "_s + QString::number(info.restored) + u"）"_s;
    return text;
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

frmHistory::frmHistory(const QString& journalFolder, QWidget& mainWindow, WindowFlags& flags)
    // A dialog rather than a tool window: the keys of a tool window's
    // buttons also answer in its main window and the other way round, and
    // "戻す(&Z)" is the main window's too.
    : CompanionDialog(mainWindow, Qt::Dialog, flags.gHistoryOpen),
      mState(flags),
      mFolder(journalFolder) {
    setObjectName(u"frmHistory"_s);
    setWindowTitle(u"変換の履歴"_s);
    lstHistory = new QTableWidget(0, 6, this);
    lstHistory->setObjectName(u"lstHistory"_s);
    lstHistory->setAccessibleName(u"変換の履歴"_s);
    lstHistory->setHorizontalHeaderLabels(
        {u"日時"_s, u"開始フォルダ"_s, u"操作"_s, u"語"_s, u"件数"_s, u"状態"_s});
    lstHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstHistory->setSelectionMode(QAbstractItemView::SingleSelection);
    lstHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstHistory->verticalHeader()->hide();
    lstHistory->horizontalHeader()->setStretchLastSection(true);
    lblNote = new QLabel(this);
    lblNote->setObjectName(u"lblHistoryNote"_s);
    lblNote->setWordWrap(true);
    cmdRestore = new QPushButton(u"戻す(&Z)"_s, this);
    cmdRestore->setObjectName(u"cmdHistoryRestore"_s);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblNote, 1);
    bottom->addWidget(cmdRestore);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstHistory, 1);
    layout->addLayout(bottom);

    connect(lstHistory, &QTableWidget::itemSelectionChanged, this, &frmHistory::SelectionChanged);
    connect(cmdRestore, &QPushButton::clicked, this, [this] {
        const int row = lstHistory->currentRow();
        if (row >= 0 && cmdRestore->isEnabled()) Q_EMIT RestoreAsked(mEntries[size_t(row)].path);
    });

    resize(640, 360);
    FollowForm(&mainWindow);
    Reload();
}

void frmHistory::FollowForm(const QWidget* form) {
    DockTo(*this, form, mState.gOptionWindow ? Dock::RightLower : Dock::Right);
}

void frmHistory::Reload() {
    const int selected = lstHistory->currentRow();
    const QString kept = selected >= 0 && size_t(selected) < mEntries.size()
                             ? mEntries[size_t(selected)].path
                             : QString();
    mEntries = ReadHistory(mFolder);
    lstHistory->setRowCount(int(mEntries.size()));
    int again = -1;
    for (int row = 0; row < int(mEntries.size()); ++row) {
        const HistoryEntry& e = mEntries[size_t(row)];
        if (e.path == kept) again = row;
        if (!e.readable) {
            lstHistory->setItem(row, 0, Cell(QString()));
            lstHistory->setItem(row, 1, Cell(ShownName(e.path)));
            for (int column = 2; column < 5; ++column) lstHistory->setItem(row, column, Cell({}));
            lstHistory->setItem(row, 5, Cell(u"読めない記録："_s + ShownName(e.error)));
            continue;
        }
        const JournalInfo& i = e.info;
        lstHistory->setItem(row, 0, Cell(i.time.toLocalTime().toString(u"yyyy/MM/dd HH:mm:ss"_s)));
        lstHistory->setItem(row, 1, Cell(ShownName(i.folder)));
        lstHistory->setItem(row, 2, Cell(OperationText(i.operation)));
        lstHistory->setItem(row, 3, Cell(WordsText(i)));
        lstHistory->setItem(row, 4, Cell(CountsText(i)));
        lstHistory->setItem(row, 5, Cell(HistoryStateText(i)));
    }
    lstHistory->resizeColumnsToContents();
    if (again >= 0) lstHistory->selectRow(again);
    // The same row selected again is no change of the selection, but its
    // state may have changed.
    SelectionChanged();
}

int frmHistory::LaterRuns(int row) const {
    int later = 0;
    for (int i = 0; i < row; ++i)
        if (mEntries[size_t(i)].readable && HistoryRestorable(mEntries[size_t(i)].info)) ++later;
    return later;
}

void frmHistory::SelectionChanged() {
    const int row = lstHistory->selectionModel()->hasSelection() ? lstHistory->currentRow() : -1;
    const bool restorable =
        row >= 0 && mEntries[size_t(row)].readable && HistoryRestorable(mEntries[size_t(row)].info);
    cmdRestore->setEnabled(restorable);
    const int later = restorable ? LaterRuns(row) : 0;
    lblNote->setText(later > 0 ? u"この後の変換%1回が同じファイルを変えていると、"
                                 u"そのファイルは戻せません。"_s.arg(later)
                               : QString());
}

}  // namespace sorvane
