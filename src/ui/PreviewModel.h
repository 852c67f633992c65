#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <memory>

#include "run/PlanPreview.h"

namespace sorvane {

// The rows of a preview: 変換前, 変換後 (paths relative to the start folder,
// names in their shown form) and 判定, the verdict's word, with skipped rows
// in the disabled text colour. Either every target or only the skipped
// ones. A row's texts are made when it is drawn, so 100,000 targets cost
// the plan and nothing more.
class PreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Before, After, Verdict, ColumnCount };

    explicit PreviewModel(QObject* parent = nullptr);

    // The plan's rows in place of those shown; none while nullptr or while
    // the preview holds no list.
    void SetPreview(std::shared_ptr<const PlanPreview> preview);
    // "問題のみ": only the skipped targets.
    void SetProblemsOnly(bool only);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // The target a row shows.
    qint32 Target(int row) const;

    std::shared_ptr<const PlanPreview> mPreview;
    bool mProblemsOnly = false;
    QColor mSkippedColour;
};

}  // namespace sorvane
