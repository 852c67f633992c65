#include "ui/PreviewTable.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

QString CountsOf(const PlanPreview& p) {
    return u"対象%1・変換%2・スキップ%3"_s.arg(p.plan.targets.Count())
        .arg(p.renamed)
        .arg(qsizetype(p.skipped.size()));
}

}  // namespace

PreviewTable::PreviewTable(PreviewComputer::Compute compute, QWidget* parent) : QWidget(parent) {
    lblCount = new QLabel(this);
    lblCount->setObjectName(u"lblCount"_s);
    chkProblems = new QCheckBox(u"問題のみ(&M)"_s, this);
    chkProblems->setObjectName(u"chkProblems"_s);
    lblNote = new QLabel(this);
    lblNote->setObjectName(u"lblNote"_s);
    lblNote->setWordWrap(true);
    lblNote->setTextFormat(Qt::PlainText);
    lblNote->hide();
    mRows = new PreviewModel(this);
    grdPreview = new QTableView(this);
    grdPreview->setObjectName(u"grdPreview"_s);
    grdPreview->setModel(mRows);
    grdPreview->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPreview->setWordWrap(false);
    grdPreview->setTextElideMode(Qt::ElideMiddle);
    grdPreview->setShowGrid(false);
    // Rows of one height, sized by nothing but the font: a table of
    // 100,000 rows is laid out without reading them.
    QHeaderView* rows = grdPreview->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* columns = grdPreview->horizontalHeader();
    columns->setSectionResizeMode(PreviewModel::Before, QHeaderView::Stretch);
    columns->setSectionResizeMode(PreviewModel::After, QHeaderView::Stretch);
    columns->setSectionResizeMode(PreviewModel::Verdict, QHeaderView::Fixed);
    columns->resizeSection(PreviewModel::Verdict,
                           fontMetrics().horizontalAdvance(u"既存フォルダ__"_s) + 12);

    auto* top = new QHBoxLayout;
    top->addWidget(lblCount, 1);
    top->addWidget(chkProblems);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(lblNote);
    layout->addWidget(grdPreview, 1);

    mComputer = new PreviewComputer(std::move(compute), this);
    connect(mComputer, &PreviewComputer::Outdated, this, &PreviewTable::Outdated);
    connect(mComputer, &PreviewComputer::Computed, this, &PreviewTable::Show);
    connect(chkProblems, &QCheckBox::toggled, mRows, &PreviewModel::SetProblemsOnly);
}

void PreviewTable::Request(PreviewRequest request) {
    mComputer->Request(std::move(request));
}

void PreviewTable::SetPaused(bool paused) {
    mComputer->SetPaused(paused);
}

QString PreviewTable::CountLine() const {
    return lblCount->text();
}

QString PreviewTable::Note() const {
    return lblNote->isHidden() ? QString() : lblNote->text();
}

// The rows shown stay until the new ones come, so that the table does not
// flicker while the user types.
void PreviewTable::Show(std::shared_ptr<const PlanPreview> preview) {
    const PlanPreview& p = *preview;
    QStringList notes;
    if (!p.HasRows()) {
        notes.append(p.message);
        mCounts.clear();
    } else {
        mCounts = CountsOf(p);
        if (p.end == ListingEnd::AtMaximum)
            notes.append(
                u"対象が最大処理ファイル数を超えるため、最初の%1件だけを表示しています。"
                u"開始すると、この%1件だけを変換するかを確認します。"_s.arg(
                    p.plan.targets.Count()));
        if (p.commaQuestion)
            notes.append(
                u"置換語に「,」か「;」があります。開始すると、このまま変換するかを"
                u"確認します。"_s);
        if (p.twoReadings)
            notes.append(
                u"置換のパターンには二通りの読み方があります。一つ目の読み方で表示しています。"
                u"開始するとどちらで変換するかを確認します。"_s);
    }
    lblCount->setText(mCounts);
    lblNote->setText(notes.join(u'\n'));
    lblNote->setVisible(!notes.isEmpty());
    grdPreview->setVisible(p.HasRows());
    // A new result of the same folder keeps the place the user scrolled to.
    const int scrolled = grdPreview->verticalScrollBar()->value();
    mRows->SetPreview(std::move(preview));
    grdPreview->verticalScrollBar()->setValue(scrolled);
    Q_EMIT Shown();
}

}  // namespace sorvane
