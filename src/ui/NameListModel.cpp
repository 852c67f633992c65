#include "ui/NameListModel.h"

#include "matching/clsFileString.h"
#include "platform/ShownName.h"
#include "ui/NameToolTip.h"

namespace sorvane {

void NameListModel::SetNames(PackedNames names) {
    beginResetModel();
    mNames = std::move(names);
    mNames.Squeeze();
    mNames.Sort([](QStringView a, QStringView b) {
        const int folded = clsFileString::FileStrComp(a, b, CompareMode::Text);
        return folded != 0 ? folded < 0 : clsFileString::FileStrComp(a, b, CompareMode::Exact) < 0;
    });
    endResetModel();
}

QStringView NameListModel::Name(int row) const {
    return row >= 0 && row < size() ? mNames[row] : QStringView();
}

int NameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : size();
}

// A name whose bytes are Shift-JIS shows its reading as a tooltip.
QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || index.parent().isValid()) return {};
    const QStringView name = Name(index.row());
    if (name.isNull()) return {};
    if (role == Qt::DisplayRole) return ShownName(name);
    const QString tip = ReadingToolTip(name);
    return tip.isEmpty() ? QVariant() : QVariant(tip);
}

}  // namespace sorvane
