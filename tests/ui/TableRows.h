#pragma once

#include <QString>
#include <QStringList>

#include "ui/PreviewModel.h"

namespace sorvane::test {

// The rows of a plan's table as shown, "old > new : verdict" each.
inline QStringList TableRows(const PreviewModel& model) {
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r)
        rows.append(model.index(r, 0).data().toString() + QStringLiteral(" > ") +
                    model.index(r, 1).data().toString() + QStringLiteral(" : ") +
                    model.index(r, 2).data().toString());
    return rows;
}

}  // namespace sorvane::test
