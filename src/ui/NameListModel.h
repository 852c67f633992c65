#pragma once

#include <QAbstractListModel>
#include <QString>

#include "platform/PackedNames.h"

namespace sorvane {

// The names of a folder as the file list shows them, packed (all their text
// in one buffer and a place in it per name), sorted as a run takes the
// names (A-Z folded, then by code units). A folder of 100,000 names costs
// their text and eight bytes a name; each is shown in its shown form when
// it is drawn.
class NameListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Takes the names, in any order, in place of those held.
    void SetNames(PackedNames names);

    int size() const { return int(mNames.size()); }
    QStringView Name(int row) const;  // the real name; empty outside the rows

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    PackedNames mNames;
};

}  // namespace sorvane
