#include "ui/NameListModel.h"

#include <algorithm>

#include "matching/clsFileString.h"
#include "platform/ShownName.h"

namespace sorvane {

void NameListModel::SetNames(const QStringList& names) {
    beginResetModel();
    qsizetype total = 0;
    for (const QString& name : names) total += name.size();
    mText.clear();
    mText.squeeze();
    mText.reserve(total);
    mSpans.clear();
    mSpans.shrink_to_fit();
    mSpans.reserve(size_t(names.size()));
    for (const QString& name : names) {
        mSpans.push_back({quint32(mText.size()), quint32(name.size())});
        mText += name;
    }
    const auto view = [this](const Span& s) { return QStringView(mText).mid(s.start, s.length); };
    std::stable_sort(mSpans.begin(), mSpans.end(), [&](const Span& a, const Span& b) {
        const int folded = clsFileString::FileStrComp(view(a), view(b), CompareMode::Text);
        return folded != 0 ? folded < 0
                           : clsFileString::FileStrComp(view(a), view(b), CompareMode::Exact) < 0;
    });
    endResetModel();
}

QStringView NameListModel::Name(int row) const {
    if (row < 0 || row >= size()) return {};
    const Span& s = mSpans[size_t(row)];
    return QStringView(mText).mid(s.start, s.length);
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
