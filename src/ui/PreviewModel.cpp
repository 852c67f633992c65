#include "ui/PreviewModel.h"

#include <QGuiApplication>
#include <QPalette>

#include "platform/ShownName.h"
#include "ui/NameToolTip.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

// The word of a verdict in the 判定 column.
QString VerdictWord(PreviewVerdict verdict) {
    switch (verdict) {
        case PreviewVerdict::Rename:
            return u"変換"_s;
        case PreviewVerdict::Exists:
            return u"既存"_s;
        case PreviewVerdict::DeleteAndRename:
            return u"削除して変換"_s;
        case PreviewVerdict::Identical:
            return u"同一"_s;
        case PreviewVerdict::Duplicate:
            return u"重複"_s;
        case PreviewVerdict::Chain:
            return u"連鎖"_s;
        case PreviewVerdict::Empty:
            return u"空"_s;
        case PreviewVerdict::FolderExists:
            return u"既存フォルダ"_s;
        case PreviewVerdict::TooLong:
            return u"長すぎ"_s;
        case PreviewVerdict::Unreadable:
            return u"読めない"_s;
        case PreviewVerdict::FolderUnsafe:
            return u"変えられないフォルダ"_s;
    }
    return QString();
}

}  // namespace

PreviewModel::PreviewModel(QObject* parent)
    : QAbstractTableModel(parent),
      mSkippedColour(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text)) {}

void PreviewModel::SetPreview(std::shared_ptr<const PlanPreview> preview) {
    beginResetModel();
    mPreview = std::move(preview);
    endResetModel();
}

void PreviewModel::SetProblemsOnly(bool only) {
    if (only == mProblemsOnly) return;
    beginResetModel();
    mProblemsOnly = only;
    endResetModel();
}

qint32 PreviewModel::Target(int row) const {
    return mProblemsOnly ? mPreview->skipped[size_t(row)] : row;
}

int PreviewModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !mPreview || !mPreview->HasRows()) return 0;
    return mProblemsOnly ? int(mPreview->skipped.size()) : int(mPreview->plan.targets.Count());
}

int PreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const qint32 target = Target(index.row());
    const TargetStore& targets = mPreview->plan.targets;
    const PreviewVerdict verdict = mPreview->VerdictOf(target);
    if (role == Qt::ForegroundRole)
        return IsSkipped(verdict) ? QVariant(mSkippedColour) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    // A path whose bytes are Shift-JIS shows its reading as a tooltip.
    const auto shown = [role](const QString& path) {
        const QString tip = role == Qt::ToolTipRole ? ReadingToolTip(path) : QString();
        return tip.isEmpty() ? ShownName(path) : tip;
    };
    switch (index.column()) {
        case Before:
            return shown(targets.OldPath(target));
        case After:
            return shown(targets.NewPath(target));
        case Verdict:
            return VerdictWord(verdict);
        default:
            return {};
    }
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case Before:
            return u"変換前"_s;
        case After:
            return u"変換後"_s;
        case Verdict:
            return u"判定"_s;
        default:
            return {};
    }
}

}  // namespace sorvane
