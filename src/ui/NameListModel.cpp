#include "ui/NameListModel.h"

#include "matching/clsFileString.h"
#include "platform/ShownName.h"

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

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.parent().isValid()) return {};
    const QStringView name = Name(index.row());
    return name.isNull() ? QVariant() : QVariant(ShownName(name.toString()));
}

}  // namespace sorvane
