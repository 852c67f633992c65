#include "rename/FolderNames.h"

namespace sorvane {

bool FolderNames::Lists(const QString& folder, QStringView name) {
    if (folder != mFolder) {
        mFolder = folder;
        mNames.clear();
        for (QString& n : mFs.EntryNames(folder)) mNames.insert(std::move(n));
    }
    return mNames.contains(name.toString());
}

void FolderNames::Moved(const QString& folder, QStringView from, QStringView to) {
    if (folder != mFolder) return;
    mNames.erase(from.toString());
    mNames.insert(to.toString());
}

}  // namespace sorvane
