#pragma once

#include <QString>
#include <QStringView>
#include <unordered_set>

#include "platform/FileSystem.h"

namespace sorvane {

// The names one folder lists, read once and kept up to date with the
// restore's own moves: where a journal gives no identities, they tell where
// an item is (on a volume that ignores case, a path leads to an item under
// any spelling; the listing has the spelling itself).
class FolderNames {
public:
    explicit FolderNames(const FileSystem& fs) : mFs(fs) {}

    // Whether folder lists name; a folder other than the last is read anew.
    bool Lists(const QString& folder, QStringView name);
    // An item of folder was moved from one name to another.
    void Moved(const QString& folder, QStringView from, QStringView to);

private:
    const FileSystem& mFs;
    QString mFolder;
    std::unordered_set<QString> mNames;
};

}  // namespace sorvane
